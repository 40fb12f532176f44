#pragma once

namespace kc {

class Contest;
class ProgressCounter;
class RandomSource;
struct EntryRecord;
struct Roster;
struct RulesRecord;

// The daily tally of day `day` (CurrentDay, already advanced): scores, day
// columns and totals, the day and overall rankings with the tie rule, the
// records of the day, the perfect log; saves Record.Dat, Perfect.Dat and
// Entry.Dat. Five passes over the entry table, each one transaction.
// 結果確定 passes saveEntries = false: it writes Entry.Dat itself at its end,
// in the same unit of work, so the tally's copy could never be seen.
void tallyDay(Contest &contest, int day, RandomSource &random, ProgressCounter &progress,
              bool saveEntries = true);

// The scoring of the tally for one entry: the points of its picks on `day`,
// bonuses included, into the day's fields (cleared first).
void scoreEntryDay(EntryRecord &entry, const RulesRecord &rules, const Roster &roster, int day);

// The tie value of a ranking key: 9999 − ID under the smaller-ID rule, a
// lottery draw of 0..9999 otherwise (never a whole point, so a draw cannot
// lift a row level with one a point higher).
int tieValue(int tieRule, int id, RandomSource &random);

} // namespace kc
