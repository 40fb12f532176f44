#pragma once

#include "store/Records.h"

#include <vector>

namespace kc {

class Contest;
class ProgressCounter;
class RandomSource;
struct Roster;

// The daily tally of day `day` (CurrentDay, already advanced): scores, day
// columns and totals, the day and overall rankings with the tie rule, the
// records of the day, the perfect log; saves Record.Dat, Perfect.Dat and
// Entry.Dat. Five passes over the entry table, each one transaction.
// 結果確定 passes saveEntries = false: it writes Entry.Dat itself at its end,
// in the same unit of work, so the tally's copy could never be seen.
void tallyDay(Contest &contest, int day, RandomSource &random, ProgressCounter &progress,
              bool saveEntries = true);

// A confirmed day's result, worked out from values alone.
struct DayTally
{
    std::vector<EntryRecord> entries; // the day scored, totals, day and overall ranks
    DailyRecords daily; // top and low of the day, rise and fall, perfect count
    std::vector<PerfectRecord> perfect; // the day's additions to the perfect log
    int firstPerfect = 1; // record number of the first addition
    // The entry table, row by row in stored order: the overall ranking key
    // (Dummy) and rank (順位).
    std::vector<qint64> rowKeys;
    std::vector<int> rowRanks;
};

// The tally of `day` as a plain function. rowIds are the entry table's IDs in
// stored order (row k holds entry k); the tie rule draws from `random` in row
// order, once for the day ranking and once for the overall one. Rows are
// ranked by score × 10000 + tie value, highest first, equal keys in row
// order. `progress` sees five passes over the rows.
DayTally tallyEntries(std::vector<EntryRecord> entries, const RulesRecord &rules,
                      const Roster &roster, DailyRecords daily, int day,
                      const std::vector<int> &rowIds, RandomSource &random,
                      ProgressCounter &progress);

// The scoring of the tally for one entry: the points of its picks on `day`,
// bonuses included, into the day's fields (cleared first).
void scoreEntryDay(EntryRecord &entry, const RulesRecord &rules, const Roster &roster, int day);

// The tie value of a ranking key: 9999 − ID under the smaller-ID rule, a
// lottery draw of 0..9999 otherwise (never a whole point, so a draw cannot
// lift a row level with one a point higher).
int tieValue(TieRule rule, int id, RandomSource &random);

} // namespace kc
