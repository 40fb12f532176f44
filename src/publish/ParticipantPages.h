#pragma once

#include <QString>

namespace kc {

class Contest;
struct EntryRecord;
namespace html {
struct Site;
}

namespace pages {

// The page of the participant at position i (ID i + 100): picks and their
// points day by day, day sums, ranks and winning picks.
QString participant(const Contest &contest, const html::Site &site, int i);
// The overall rank after each of `days` tallied days among `participants` (rank
// 1 at the top) with the day's score as a bar underneath; empty before day 1.
QString rankChart(const EntryRecord &entry, int days, int participants);

} // namespace pages
} // namespace kc
