#pragma once

#include "publish/PrintDocument.h"

#include <QString>
#include <vector>

namespace kc {

class Contest;

// One row of the prize table as the list prints it.
struct PrizeListRow
{
    QString prize; // 賞位
    QString shikona; // しこな
    int id = 0; // ID, above 99 once the prize has a winner
    int score = 0; // 得点
    qint64 points = 0; // ポイント
};

// The rows of PRIZE in stored order.
std::vector<PrizeListRow> readPrizeRows(Contest &contest);

// 各賞受賞者一覧: the title, the headings, a ruled table and one line per prize.
namespace prizelist {
QString title(const QString &bashoName, int currentDay);
// Points as 7 characters, right-aligned, with the thousands comma ("  5,000").
QString pointsText(qint64 points);
// The score moves right by 98 twips for each digit fewer than four.
int scoreX(int score);
} // namespace prizelist

PrintDocument buildPrizeList(const QString &bashoName, int currentDay,
                             const std::vector<PrizeListRow> &rows);
// PrintPrizeList of the open contest.
PrintDocument buildPrizeList(Contest &contest);

} // namespace kc
