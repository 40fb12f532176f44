#pragma once

#include <QString>
#include <vector>

namespace kc {

class Contest;
struct RulesRecord;

// One PRIZE row as the prize settings make it, before a winner is written.
struct PrizeRow
{
    qint64 order = 0; // 表示順
    QString name; // 賞位
    qint64 points = 0; // ポイント
    bool operator==(const PrizeRow &) const = default;
};

// The rows the prize settings make: rank prize 0 always, rank prizes 1..21
// with points above 0, the mid-tournament prize and the day prizes with
// points above 0.
std::vector<PrizeRow> prizeRowsOf(const RulesRecord &rules);

// Rebuilds PRIZE from the prize settings, every row without a winner. One
// transaction.
void buildPrizeTable(Contest &contest);

// Whether PRIZE holds the rows its settings make; before 賞位決定 any table is.
bool prizeTableWhole(Contest &contest);

} // namespace kc
