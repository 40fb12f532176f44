#pragma once

#include <vector>

namespace kc {

class Contest;
class ProgressCounter;
struct EntryRecord;
struct Roster;

// Fills the reserve queue: the reserve wrestler, then the nine next
// lower-ranked wrestlers that are not among the picks, wrapping from the last
// wrestler to the first sekiwake. All 43 when no reserve is used.
void buildReserveList(EntryRecord &entry, const Roster &roster, bool useReserve);

// Every entry with each of its first `pickCount` pick slots held by a wrestler
// of `absent` handed to the head of its reserve queue, after the absentees are
// taken out of the queue.
std::vector<EntryRecord> substitute(std::vector<EntryRecord> entries,
                                    const std::vector<int> &absent, int pickCount);

// Hands every slot whose wrestler's absence was confirmed on `day` (mark 5) to
// the head of the entry's reserve queue, after taking that day's absentees
// out of the queue; rewrites the entry table (one pass, one transaction) and
// moves the phase to 10 + day (Credit.Dat saved).
void substituteAbsentees(Contest &contest, int day, ProgressCounter &progress);

} // namespace kc
