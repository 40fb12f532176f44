#pragma once

#include <QString>

namespace kc {

class Contest;
class ProgressTrack;
struct DailyRecords;
namespace html {
struct Site;
}

namespace pages {

// Records.html: each day's highs and lows and the perfect-day log.
QString records(Contest &contest, const html::Site &site, const DailyRecords &daily);
// graph.html: every participant's total as a bar (+2 a row).
QString graph(Contest &contest, const html::Site &site, const DailyRecords &daily,
              ProgressTrack &progress);
// Prize.html: the prize table with its winners.
QString prize(Contest &contest, const html::Site &site);
// test.html: the daily rise and fall records as a bare table.
QString test(const DailyRecords &daily);

} // namespace pages
} // namespace kc
