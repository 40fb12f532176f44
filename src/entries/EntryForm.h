#pragma once

#include "store/Records.h"

#include <QString>
#include <array>

namespace kc {

// The texts of the entry window's boxes, exactly as typed. The command line
// fills the same value, so both go through one validation.
struct EntryForm
{
    QString memberName; // txName
    QString birth; // txBirth
    QString mail; // txMail
    QString tel; // txTel
    QString fax; // txFax
    QString shikona; // txShikona
    QString furigana; // txShiko
    std::array<QString, kMaxPicks> picks; // txRikishiNO(0..9): slot + 10
    QString reserve; // txYobi: slot + 10

    // The boxes as ShowEntry fills them from an entry: numbers for the first
    // pickCount picks and the reserve, empty where no wrestler is stored.
    static EntryForm fromRecord(const EntryRecord &entry, int pickCount);
};

} // namespace kc
