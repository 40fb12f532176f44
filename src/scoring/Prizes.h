#pragma once

namespace kc {

class Contest;
class ProgressCounter;
class RandomSource;

// The day prize of `day`: the tally's top entry of the day into the PRIZE row
// 表示順 = 1000000 + day.
void awardDayPrize(Contest &contest, int day);

// On day 8 only: recomputes 中日計 from the day columns 初日..中日 (one pass) and,
// when the mid-tournament prize is set, gives it to the best 中日計, equal
// values decided by the tie rule (smaller ID, or a lottery among the tied).
void awardMidPrize(Contest &contest, int day, RandomSource &random, ProgressCounter &progress);

// On day 15 only: the rank prizes from the final 順位, and Ranking.Dat (every
// entry in final rank order with its registered picks and no scores).
void awardRankPrizes(Contest &contest, int day, ProgressCounter &progress);

} // namespace kc
