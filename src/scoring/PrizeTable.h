#pragma once

namespace kc {

class Contest;

// Rebuilds PRIZE from the prize settings: rank prize 0 always, rank prizes
// 1..21 with points above 0, the mid-tournament prize and the day prizes with
// points above 0; every row without a winner. One transaction.
void buildPrizeTable(Contest &contest);

} // namespace kc
