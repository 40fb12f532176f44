#include "store/EntryTable.h"

#include "store/Contest.h"
#include "store/RecordSet.h"
#include "store/Records.h"
#include "store/Roster.h"

namespace kc::entrytable {

QString column::pick(int slot)
{
    return QStringLiteral("力士%1").arg(slot + 1);
}

QString column::day(int d)
{
    return dayColumnName(d);
}

QString order(const QString &column, bool descending)
{
    return column + (descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
}

QString highestFirst(const QString &column)
{
    return order(column, true) + QStringLiteral(", ") + byRank;
}

QString wrestlerName(const Roster &roster, int slot)
{
    return roster.name(slot).left(10).trimmed();
}

void writeNames(RecordSet &rs, const EntryRecord &e)
{
    rs.setValue(column::shikona, e.shikona.trimmed());
    rs.setValue(column::furigana, e.furigana.trimmed());
}

void writePicks(RecordSet &rs, const EntryRecord &e, const Roster &roster, int pickCount,
                bool reserve)
{
    for (int s = 0; s < pickCount && s < kMaxPicks; ++s)
        rs.setValue(column::pick(s), wrestlerName(roster, e.picks[s]));
    if (reserve)
        rs.setValue(column::reserve, wrestlerName(roster, e.reserve));
}

void writeBlankPicks(RecordSet &rs)
{
    for (int s = 0; s < kMaxPicks; ++s)
        rs.setValue(column::pick(s), QStringLiteral(" "));
    rs.setValue(column::reserve, QStringLiteral(" "));
}

void writeScores(RecordSet &rs, const EntryRecord &e, int d)
{
    rs.setValue(column::day(d), e.dayTotal[d - 1]);
    rs.setValue(column::total, e.totalScore);
    rs.setValue(column::midTotal, e.midScore);
}

void writeRow(RecordSet &rs, const EntryRecord &e, int k, const Roster &roster, int rank)
{
    rs.setValue(column::id, 100 + k);
    writeNames(rs, e);
    writePicks(rs, e, roster, kMaxPicks);
    for (int d = 1; d <= kDays; ++d)
        writeScores(rs, e, d);
    rs.setValue(column::rank, rank);
}

void rebuild(Contest &contest)
{
    rebuild(contest.database(), contest.entries(), contest.roster(), contest.rules().currentDay);
}

void rebuild(Database &db, const std::vector<EntryRecord> &entries, const Roster &roster, int day)
{
    Transaction tx(db);
    db.deleteAll(QStringLiteral("entry00"));
    RecordSet rs(db, QStringLiteral("entry00"));
    for (int k = 0; k < int(entries.size()); ++k) {
        rs.addNew();
        writeRow(rs, entries[k], k, roster,
                 day >= 1 && day <= kDays ? entries[k].dayRank[day - 1] : 0);
        rs.update();
    }
    tx.commit();
}

} // namespace kc::entrytable
