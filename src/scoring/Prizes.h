#pragma once

#include "store/Records.h"

#include <QString>
#include <optional>
#include <vector>

namespace kc {

class Contest;
class ProgressCounter;
class RandomSource;
struct EntryRecord;

struct PrizeWinner
{
    int entry = -1; // index in the entry array (ID − 100)
    int score = 0;
};

// The best 中日計; equal values go to the smaller ID under the smaller-ID rule,
// otherwise to a draw among the tied in ID order. Nothing
// without entries.
std::optional<PrizeWinner> midPrizeWinner(const std::vector<EntryRecord> &entries, TieRule rule,
                                          RandomSource &random);

// The entries in final rank order of `day` (equal ranks in ID order).
std::vector<int> finalStandings(const std::vector<EntryRecord> &entries, int day);

// The day prize of `day`: the tally's top entry of the day into the PRIZE row
// 表示順 = 1000000 + day.
void awardDayPrize(Contest &contest, int day);

// On day 8 only: when the mid-tournament prize is set, gives it to
// midPrizeWinner (one pass of progress).
void awardMidPrize(Contest &contest, int day, RandomSource &random, ProgressCounter &progress);

// On day 15 only: the rank prizes from the final 順位, and Ranking.Dat (every
// entry in final rank order with its registered picks and no scores).
void awardRankPrizes(Contest &contest, int day, ProgressCounter &progress);

} // namespace kc
