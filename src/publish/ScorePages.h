#pragma once

#include <QString>

namespace kc {

class Contest;
class ProgressTrack;
struct DailyRecords;
namespace html {
struct Site;
}

// The standings pages, each returned whole so a failure leaves the old file.
namespace pages {

// Result.html: rank, total and points of every day, in rank order (+5 a row).
QString result(Contest &contest, const html::Site &site, const DailyRecords &daily,
               ProgressTrack &progress);
// Result2.html: the picks now scoring, in rank order (+4 a row).
QString result2(Contest &contest, const html::Site &site, ProgressTrack &progress);
// Entry.html: the picks as registered, in registration order (+2 a row).
QString entry(const Contest &contest, const html::Site &site, ProgressTrack &progress);
// index.html: the state, the top ten, the day's prize winners, the pages and
// every participant in a list a small script filters.
QString home(Contest &contest, const html::Site &site);

} // namespace pages
} // namespace kc
