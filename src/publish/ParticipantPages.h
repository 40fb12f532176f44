#pragma once

#include <QString>

namespace kc {

class Contest;

namespace pages {

// The page of the participant at position i (ID i + 100): picks and their
// points day by day, day sums, ranks and winning picks.
QString participant(const Contest &contest, int i);

} // namespace pages
} // namespace kc
