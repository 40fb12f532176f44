#pragma once

#include <QString>

namespace kc {

class Contest;
class ProgressTrack;
struct DailyRecords;

// The standings pages, each returned whole so a failure leaves the old file.
namespace pages {

// Result.html: rank, total and points of every day, in rank order (+5 a row).
QString result(Contest &contest, const DailyRecords &daily, ProgressTrack &progress);
// Result2.html: the picks now scoring, in rank order (+4 a row).
QString result2(Contest &contest, ProgressTrack &progress);
// Entry.html: the picks as registered, in registration order (+2 a row).
QString entry(const Contest &contest, ProgressTrack &progress);

} // namespace pages
} // namespace kc
