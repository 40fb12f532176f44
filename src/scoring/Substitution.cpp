#include "scoring/Substitution.h"

#include "scoring/ProgressCounter.h"
#include "store/Contest.h"
#include "store/EntryTable.h"
#include "store/Phase.h"

#include <algorithm>

namespace kc {

namespace {

void removeAt(std::array<qint16, 10> &queue, int u)
{
    for (int i = u; i < 9; ++i)
        queue[i] = queue[i + 1];
    queue[9] = kNoWrestler;
}

} // namespace

void buildReserveList(EntryRecord &e, const Roster &roster, bool useReserve)
{
    e.reserveList.fill(kNoWrestler);
    if (!useReserve)
        return;
    e.reserveList[0] = e.reserve;
    const int count = roster.wrestlerCount;
    const int wrapTo = roster.topRankCount();
    // Without a reserve of the banzuke, or with nothing below the ōzeki to
    // wrap to, there are no automatic candidates (rather than numbers past
    // the banzuke).
    if (e.reserve < 0 || e.reserve >= count || wrapTo >= count)
        return;
    auto advance = [&](int c) { return c + 1 >= count ? wrapTo : c + 1; };
    auto isPick
        = [&](int c) { return std::find(e.picks.begin(), e.picks.end(), c) != e.picks.end(); };
    int c = advance(e.reserve);
    for (int i = 1; i < kMaxPicks; ++i) {
        int guard = 0;
        while (isPick(c) && guard++ <= count)
            c = advance(c);
        if (guard > count)
            return; // every candidate is a pick
        e.reserveList[i] = qint16(c);
        c = advance(c);
    }
}

std::vector<EntryRecord> substitute(std::vector<EntryRecord> entries,
                                    const std::vector<int> &absent, int pickCount)
{
    for (EntryRecord &e : entries) {
        for (int s = 0; s < pickCount; ++s) {
            for (int w : absent) {
                const auto it = std::find(e.reserveList.begin(), e.reserveList.end(), w);
                if (it != e.reserveList.end())
                    removeAt(e.reserveList, int(it - e.reserveList.begin()));
                if (e.picks[s] == w) {
                    e.picks[s] = e.reserveList[0];
                    removeAt(e.reserveList, 0);
                }
            }
        }
    }
    return entries;
}

namespace {

// Rank, names and picks of every row after a substitution, one pass.
void writeSubstitutedRows(Contest &contest, int d, int pickCount, ProgressCounter &progress)
{
    RecordSet &rs = contest.entryTable();
    rs.setFilter(QString());
    rs.setSort(QString());
    const int rows = std::min(rs.count(), contest.participantCount());
    for (int k = 0; k < rows; ++k) {
        const EntryRecord &e = contest.entries()[k];
        rs.moveTo(k);
        rs.setValue(entrytable::column::rank, e.dayRank[d - 1]);
        entrytable::writeNames(rs, e);
        // The registered reserve stays in its column; only the picks move.
        entrytable::writePicks(rs, e, contest.roster(), pickCount, false);
        rs.setValue(entrytable::column::id, 100 + k);
        progress.advance(k + 1);
    }
    rs.updateAll();
    progress.endPass(rows);
}

} // namespace

void substituteAbsentees(Contest &contest, int d, ProgressCounter &progress)
{
    const Roster &roster = contest.roster();
    const int n = std::clamp<int>(contest.rules().pickCount, 0, kMaxPicks);
    std::vector<int> absent;
    for (int w = 0; w < roster.wrestlerCount && w < kNoWrestler; ++w)
        if (roster.wrestlers[w].dayResult[d - 1] == MarkAbsentConfirmed)
            absent.push_back(w);
    contest.entries() = substitute(std::move(contest.entries()), absent, n);
    writeSubstitutedRows(contest, d, n, progress);

    Phase::startCompetition(contest.rules(), d);
    contest.saveRules();
}

} // namespace kc
