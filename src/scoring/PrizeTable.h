#pragma once

#include <QString>

namespace kc {

class Contest;

// Rebuilds PRIZE from the prize settings: rank prize 0 always, rank prizes
// 1..21 with points above 0, the mid-tournament prize and the day prizes with
// points above 0; every row without a winner. One transaction.
void buildPrizeTable(Contest &contest);

// After the database had to be created anew: PRIZE again from the contest's
// files (the rows from the prize settings, the day prize winners from the day
// records). Returns what that could not bring back, for the organiser.
QString restorePrizeTable(Contest &contest);

} // namespace kc
