#pragma once

#include "TestSupport.h"

#include "store/Records.h"

namespace kc::test {

// Registers n participants through the core, as the entry window would, and
// moves the contest to `flag`.
inline void registerParticipants(Contest &contest, int n, int flag = 5)
{
    for (int k = 0; k < n; ++k) {
        EntryRecord e = EntryRecord::cleared();
        e.shikona = QStringLiteral("参加者%1").arg(k + 1);
        for (int s = 0; s < 7; ++s) {
            e.picks[s] = qint16(s + k % 5);
            e.enteredPicks[s] = e.picks[s];
        }
        e.reserve = 30;
        e.reserveList[0] = 30;
        contest.entries().push_back(e);
    }
    contest.rebuildEntryTable();
    contest.saveEntries();
    contest.rules().flag = qint16(flag);
    contest.saveRules();
}

inline RulesRecord storedRules(const TempContest &tc)
{
    return RulesRecord::decode(readBytes(tc.dataFile(QStringLiteral("Credit.Dat"))));
}

inline EntryRecord storedEntry(const TempContest &tc, int recordNumber)
{
    const QByteArray bytes = readBytes(tc.dataFile(QStringLiteral("Entry.Dat")));
    return EntryRecord::decode(
        bytes.mid((recordNumber - 1) * EntryRecord::Size, EntryRecord::Size));
}

} // namespace kc::test
