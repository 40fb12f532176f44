#pragma once

#include "TestSupport.h"
#include "rules/PrizeTable.h"
#include "scoring/RandomSource.h"
#include "scoring/Substitution.h"
#include "store/Contest.h"
#include "store/RecordFile.h"

#include <deque>
#include <initializer_list>

namespace kc::test {

// Draws from a script, then a fixed value: the lottery made predictable.
class ScriptedRandom : public RandomSource
{
public:
    double next() override
    {
        ++draws;
        if (values.empty())
            return fallback;
        const double v = values.front();
        values.pop_front();
        return v;
    }
    std::deque<double> values;
    double fallback = 0.5;
    int draws = 0;
};

// Default roster (2 横綱 slots 0-1, 5 大関 2-6, 2 関脇 7-8, 2 小結 9-10, then
// 前頭 11-39); rules decided, prizes decided (PRIZE built), competition phase; slot points
// pickCount down to 1, the other rules as at first run, streak bonus off.
inline void prepareCompetition(Contest &c, int pickCount, bool useReserve, int tieRule = 1)
{
    RulesRecord &r = c.rules();
    r.pickCount = qint16(pickCount);
    for (int s = 0; s < kMaxPicks; ++s)
        r.slotPoints[s] = qint16(s < pickCount ? pickCount - s : 0);
    r.useReserve = useReserve ? 1 : 0;
    r.tieRule = qint16(tieRule);
    r.streakMin = -4; // off unless a test turns it on
    r.flag = 10;
    r.rulesStart = 1;
    r.currentDay = 0;
    c.saveRules();
    c.saveWrestlers();
    buildPrizeTable(c); // as 賞位決定 leaves it; start-up mends a table without its rows
}

inline EntryRecord makeEntry(const QString &name, std::initializer_list<int> picks,
                             int reserve = kNoWrestler)
{
    EntryRecord e = EntryRecord::cleared();
    e.shikona = name;
    e.furigana = QStringLiteral("ﾌﾘｶﾞﾅ");
    int s = 0;
    for (int p : picks)
        e.picks[s++] = qint16(p);
    e.enteredPicks = e.picks;
    e.reserve = e.reserveList[0] = qint16(reserve);
    return e;
}

// Installs the entries (reserve lists built), Entry.Dat, entry00 and PRIZE.
inline void installEntries(Contest &c, std::vector<EntryRecord> entries)
{
    for (EntryRecord &e : entries)
        buildReserveList(e, c.roster(), c.rules().useReserve == 1);
    c.entries() = std::move(entries);
    c.saveEntries();
    c.rebuildEntryTable();
    buildPrizeTable(c);
}

// Marks of one day for the given slots; every other wrestler of the banzuke
// keeps his mark. Enough wins elsewhere that the sum check passes.
inline void setMarks(Contest &c, int day, std::initializer_list<std::pair<int, int>> marks,
                     bool fillWins = true)
{
    if (fillWins)
        for (int w = 30; w < 38; ++w)
            if (c.roster().wrestlers[w].dayResult[day - 1] < MarkAbsentConfirmed)
                c.roster().wrestlers[w].dayResult[day - 1] = MarkWin;
    for (const auto &[slot, mark] : marks)
        c.roster().wrestlers[slot].dayResult[day - 1] = qint16(mark);
}

inline std::vector<EntryRecord> readEntryFile(const QString &path)
{
    DiskFileStore fs;
    return recordfile::readAll<EntryRecord>(fs, path);
}

template<typename R> std::vector<R> readRecords(const QString &path)
{
    DiskFileStore fs;
    return recordfile::readAll<R>(fs, path);
}

// Row values of entry00 by ID.
inline QVariant rowValue(Contest &c, int id, const QString &column)
{
    RecordSet rs(c.database(), QStringLiteral("entry00"));
    rs.setFilter(QStringLiteral("ID = %1").arg(id));
    return rs.eof() ? QVariant() : rs.value(column);
}

} // namespace kc::test
