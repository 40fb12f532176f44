#pragma once

namespace kc {

class Contest;
class RandomSource;
struct Roster;

enum class ConfirmOutcome {
    Confirmed,
    Refused, // a message said why; nothing changed
    Declined, // a question was answered No; nothing changed
    AllConfirmed, // day 15 is already confirmed; nothing said
};

// 結果確定 of the shown day: the checks and questions, the absences, the star
// corrections, CurrentDay, the tally, the prizes and the substitution, with
// every file saved, in one unit of work. The front end shows the day and
// calls this; the progress bar runs through the contest's prompter.
ConfirmOutcome confirmDay(Contest &contest, int shownDay, RandomSource &random);
// The same with the lottery seeded from the clock.
ConfirmOutcome confirmDay(Contest &contest, int shownDay);

// The roster with `day`'s stars corrected: a yokozuna cannot win a star (a
// win), an ōzeki no gold star (a silver).
Roster correctStars(Roster roster, int day);

// The units of the progress bar for confirming `day` (five per entry, one
// more per entry for each extra pass that day runs).
int confirmProgressTotal(const Contest &contest, int day, bool substitution);

} // namespace kc
