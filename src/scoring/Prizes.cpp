#include "scoring/Prizes.h"

#include "scoring/ProgressCounter.h"
#include "scoring/RandomSource.h"
#include "store/Contest.h"
#include "store/RecordFile.h"

#include <algorithm>
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

std::optional<PrizeWinner> midPrizeWinner(const std::vector<EntryRecord> &entries, TieRule rule,
                                          RandomSource &random)
{
    if (entries.empty())
        return std::nullopt;
    // The best 中日計, then ID order.
    std::vector<int> order(entries.size());
    for (int k = 0; k < int(order.size()); ++k)
        order[k] = k;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return entries[a].midScore > entries[b].midScore; });
    const int top = entries[order.front()].midScore;
    int chosen = 0;
    if (rule != TieRule::SmallerIdFirst) {
        int tied = 0;
        while (tied < int(order.size()) && entries[order[tied]].midScore == top)
            ++tied;
        if (tied > 1)
            chosen = std::min(tied - 1, int(std::floor(random.next() * tied)));
    }
    return PrizeWinner {order[chosen], top};
}

std::vector<int> finalStandings(const std::vector<EntryRecord> &entries, int day)
{
    std::vector<int> order(entries.size());
    for (int k = 0; k < int(order.size()); ++k)
        order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return entries[a].dayRank[day - 1] < entries[b].dayRank[day - 1];
    });
    return order;
}

void awardMidPrize(Contest &contest, int d, RandomSource &random, ProgressCounter &progress)
{
    if (d != 8)
        return;
    const auto &entries = contest.entries();
    const int rows = int(entries.size());
    for (int k = 0; k < rows; ++k)
        progress.advance(k + 1);
    progress.endPass(rows);

    const qint32 points = contest.rules().dayPrizePoints[0];
    if (points <= 0)
        return;
    const auto winner = midPrizeWinner(entries, contest.rules().tieBreak(), random);
    if (!winner)
        return;
    RecordSet prize(contest.database(), kPrize);
    prize.setFilter(kOrder + QStringLiteral(" = 1000000"));
    if (prize.eof())
        return;
    prize.setValue(kId, winner->entry + 100);
    prize.setValue(kName, entries[winner->entry].shikona.trimmed());
    prize.setValue(kScore, winner->score);
    prize.setValue(kPoints, std::abs(points));
    prize.setValue(kOrder, 1000000);
    prize.update();
}

void awardRankPrizes(Contest &contest, int d, ProgressCounter &progress)
{
    if (d != 15)
        return;
    const auto &entries = contest.entries();
    const std::vector<int> standings = finalStandings(entries, d);
    {
        Transaction tx(contest.database());
        RecordSet prize(contest.database(), kPrize);
        for (prize.moveFirst(); !prize.eof(); prize.moveNext()) {
            const qint64 order = prize.value(kOrder).toLongLong();
            if (order > 1000)
                break;
            // Ranks are 1..count, each held by one entry.
            if (order < 1 || order > qint64(standings.size()))
                continue;
            const int k = standings[order - 1];
            if (entries[k].dayRank[d - 1] != order)
                continue;
            prize.setValue(kId, k + 100);
            prize.setValue(kName, entries[k].shikona.trimmed());
            prize.setValue(kScore, entries[k].totalScore);
            prize.setValue(kPoints, std::llabs(prize.value(kPoints).toLongLong()));
        }
        prize.updateAll();
        tx.commit();
    }

    // The final standings for the next tournament's import.
    std::vector<EntryRecord> ranking;
    ranking.reserve(standings.size());
    int counter = 0;
    for (int k : standings) {
        EntryRecord e = entries[k];
        e.picks = e.enteredPicks;
        e.clearScores(); // ranks stay as they stand
        ranking.push_back(e);
        progress.advance(++counter);
    }
    progress.endPass(int(standings.size()));
    recordfile::writeAll<EntryRecord>(contest.files(), contest.paths().ranking, ranking);
}

} // namespace kc
