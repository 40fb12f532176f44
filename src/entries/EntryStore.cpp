#include "entries/EntryStore.h"
#include "store/EntryTable.h"

#include "entries/EntryValidation.h"
#include "store/RecordSet.h"
#include "store/Roster.h"
#include "store/Text.h"

namespace kc {

std::array<qint16, kMaxPicks>
reserveChain(int reserveSlot, const std::array<qint16, kMaxPicks> &picks, const Roster &roster)
{
    const int count = roster.wrestlerCount;
    const int firstBelowOzeki = roster.topRankCount();
    auto wrapped = [&](int c) { return c == count ? firstBelowOzeki : c; };
    std::array<qint16, kMaxPicks> chain;
    chain.fill(kNoWrestler);
    chain[0] = qint16(reserveSlot);
    int c = wrapped(reserveSlot + 1);
    // A roster whose every wrestler below the ōzeki is picked would keep the
    // scan going round for ever; no real banzuke is that small.
    int budget = 4 * kRosterSlots * kMaxPicks;
    for (int n = 1; n < kMaxPicks; ++n) {
        for (int pass = 0; pass < 2; ++pass) {
            int j = 0;
            while (j <= 9 && budget-- > 0) {
                if (picks[j] == c) {
                    c = wrapped(c + 1);
                    j = 1;
                } else {
                    ++j;
                }
            }
        }
        chain[n] = qint16(c);
        c = wrapped(c + 1);
    }
    return chain;
}

EntryRecord storeEntry(const EntryForm &form, const RulesRecord &rules, const Roster &roster)
{
    EntryRecord e = EntryRecord::cleared();
    // Cut here as Entry.Dat cuts, so that the table shows what the file holds.
    for (const EntryTextField &f : entryTextFields())
        e.*f.field = fitText(form.*f.box, f.width);
    const int pickCount = std::clamp<int>(rules.pickCount, 0, kMaxPicks);
    for (int i = 0; i < pickCount; ++i) {
        const qint16 slot = cintClamped(val(form.picks[i]) - 10);
        e.picks[i] = slot;
        e.enteredPicks[i] = slot;
    }
    if (rules.reserveInUse()) {
        e.reserveList = reserveChain(cintClamped(val(form.reserve) - 10), e.picks, roster);
        e.reserve = e.reserveList[0];
    }
    return e;
}

QString rowWrestlerName(const Roster &roster, int slot)
{
    return entrytable::wrestlerName(roster, slot);
}

void writeEntryRow(RecordSet &rs, const EntryRecord &entry, int k, const Roster &roster)
{
    entrytable::writeRow(rs, entry, k, roster, entry.dayRank[kDays - 1]);
}

} // namespace kc
