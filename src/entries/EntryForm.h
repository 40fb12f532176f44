#pragma once

#include "store/Records.h"

#include <QString>
#include <array>

namespace kc {

// The texts of the entry window's boxes, exactly as typed. The command line
// fills the same value, so both go through one validation.
// Member details: txName, txBirth, txMail, txTel, txFax, txShikona, txShiko.
struct EntryForm : MemberDetails
{
    std::array<QString, kMaxPicks> picks; // txRikishiNO(0..9): slot + 10
    QString reserve; // txYobi: slot + 10

    // The boxes as ShowEntry fills them from an entry: numbers for the first
    // pickCount picks and the reserve, empty where no wrestler is stored.
    static EntryForm fromRecord(const EntryRecord &entry, int pickCount);
};

} // namespace kc
