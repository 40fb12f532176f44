#include "scoring/Prizes.h"

#include "scoring/ProgressCounter.h"
#include "scoring/RandomSource.h"
#include "store/Contest.h"
#include "store/RecordFile.h"

#include <cmath>

namespace kc {

namespace {

const QString kPrize = QStringLiteral("PRIZE");
const QString kOrder = QStringLiteral("表示順");
const QString kName = QStringLiteral("しこな");
const QString kId = QStringLiteral("ID");
const QString kScore = QStringLiteral("得点");
const QString kPoints = QStringLiteral("ポイント");

} // namespace

void awardDayPrize(Contest &contest, int d)
{
    RecordSet prize(contest.database(), kPrize);
    if (prize.isEmpty())
        return;
    prize.setFilter(kOrder + QStringLiteral(" = ") + QString::number(1000000 + d));
    if (prize.eof())
        return;
    const int top = contest.daily().at(DailyRecords::TopEntry, d);
    if (top < 0 || top >= contest.participantCount())
        return;
    prize.setValue(kName, contest.entries()[top].shikona.trimmed());
    prize.setValue(kId, top + 100);
    prize.setValue(kScore, contest.daily().at(DailyRecords::TopScore, d));
    prize.update();
}

void awardMidPrize(Contest &contest, int d, RandomSource &random, ProgressCounter &progress)
{
    if (d != 8)
        return;
    RecordSet &rs = contest.entryTable();
    rs.setFilter(QString());
    rs.setSort(QString());
    const int rows = rs.count();
    for (int k = 0; k < rows; ++k) {
        rs.moveTo(k);
        int mid = 0;
        for (int x = 1; x <= 8; ++x)
            mid += rs.intValue(dayColumnName(x));
        rs.setValue(QStringLiteral("中日計"), mid);
        progress.advance(k + 1);
    }
    rs.updateAll();
    progress.endPass(rows);

    const qint32 points = contest.rules().dayPrizePoints[0];
    if (points <= 0 || rows == 0)
        return;
    rs.setSort(QStringLiteral("中日計 DESC,ID ASC"));
    rs.moveFirst();
    const int top = rs.intValue(QStringLiteral("中日計"));
    if (contest.rules().tieRule != 1) {
        // The lottery among the rows that share the top value.
        int tied = 0;
        for (rs.moveFirst(); !rs.eof() && rs.intValue(QStringLiteral("中日計")) == top;
             rs.moveNext())
            ++tied;
        rs.moveFirst();
        if (tied > 1)
            rs.moveTo(std::min(tied - 1, int(std::floor(random.next() * tied))));
    }
    const int winnerId = rs.intValue(kId);
    const QString winnerName = rs.textValue(kName);

    RecordSet prize(contest.database(), kPrize);
    prize.setFilter(kOrder + QStringLiteral(" = 1000000"));
    if (prize.eof())
        return;
    prize.setValue(kId, winnerId);
    prize.setValue(kName, winnerName);
    prize.setValue(kScore, top);
    prize.setValue(kPoints, std::abs(points));
    prize.setValue(kOrder, 1000000);
    prize.update();
}

void awardRankPrizes(Contest &contest, int d, ProgressCounter &progress)
{
    if (d != 15)
        return;
    RecordSet &rs = contest.entryTable();
    {
        Transaction tx(contest.database());
        RecordSet prize(contest.database(), kPrize);
        for (prize.moveFirst(); !prize.eof(); prize.moveNext()) {
            const qint64 order = prize.value(kOrder).toLongLong();
            if (order > 1000)
                break;
            rs.setFilter(QStringLiteral("順位 = ") + QString::number(order));
            if (rs.eof())
                continue;
            prize.setValue(kId, rs.intValue(kId));
            prize.setValue(kName, rs.textValue(kName));
            prize.setValue(kScore, rs.intValue(QStringLiteral("合計")));
            prize.setValue(kPoints, std::llabs(prize.value(kPoints).toLongLong()));
        }
        prize.updateAll();
        tx.commit();
    }
    rs.setFilter(QString());

    // The final standings for the next tournament's import.
    rs.setSort(QStringLiteral("順位 ASC"));
    std::vector<EntryRecord> ranking;
    ranking.reserve(rs.count());
    int counter = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const int k = rs.intValue(kId) - 100;
        if (k < 0 || k >= contest.participantCount())
            continue;
        EntryRecord e = contest.entries()[k];
        e.picks = e.enteredPicks;
        e.clearScores(); // ranks stay as they stand
        ranking.push_back(e);
        progress.advance(++counter);
    }
    progress.endPass(rs.count());
    recordfile::writeAll<EntryRecord>(contest.files(), contest.paths().ranking, ranking);
}

} // namespace kc
