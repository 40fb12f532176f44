#pragma once

#include "publish/PrintDocument.h"
#include "store/Records.h"

#include <QString>
#include <array>
#include <vector>

namespace kc {

class Contest;

// One participant's line of the tally results.
struct ResultListRow
{
    int rank = 0;
    QString shikona;
    int id = 0;
    int total = 0;
    int mid = 0; // 中日計
    std::array<int, kDays> days {};
};

enum class ResultOrder { Rank, Id };

// The entry table in rank (順位) or ID order.
std::vector<ResultListRow> readResultListRows(Contest &contest, ResultOrder order);

namespace resultlist {
// 最終版 after the last day, else the day the results stand at.
QString title(const QString &bashoName, int currentDay, int page, int pages);
// The x of a day score: 70 twips further right for a single digit.
int dayScoreX(int day, int score);
} // namespace resultlist

// 集計結果: rank, name, ID, totals and the score of each tallied day; a day's
// best score sits on a yellow box when that day has a prize, and from day 8
// the best 中日計 too when the mid-tournament prize is set.
PrintDocument buildResultList(const QString &bashoName, const RulesRecord &rules,
                              const std::vector<ResultListRow> &rows);
PrintDocument buildResultList(Contest &contest, ResultOrder order);

} // namespace kc
