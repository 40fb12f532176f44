#pragma once

#include <QStringList>

namespace kc {

class Contest;

// The start-up both front ends run: Contest::open, and the repairs it leaves
// to the areas above the store. PRIZE is checked against the prize settings
// at every start, so a start stopped half way through its rebuild is mended by
// the next one. Throws StoreError.
void openContest(Contest &contest);

// The start-up repairs, run inside Contest::open; the notes for the organiser.
QStringList repairAtStartUp(Contest &contest);

// PRIZE again from the contest's files (the rows from the prize settings, the
// day prize winners from the day records); one unit of work. Returns what
// that could not bring back, for the organiser.
QString restorePrizeTable(Contest &contest);

} // namespace kc
