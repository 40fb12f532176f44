#pragma once

#include <functional>

namespace kc {

class Contest;

// The two commands that put the contest at the start of the competition:
// 受付終了 on the way there, 取組結果の変更 back to it.

enum class PhaseOutcome {
    Done,
    Declined, // a question was answered No
    Refused, // a message said why; nothing changed
    NotAvailable, // nothing to act on (no entries file); nothing said
};

// Publishes the participant list page once the reception is closed; given by
// the front end once publishing exists, empty until then.
using ParticipantListPublisher = std::function<void(Contest &)>;

// 受付終了: asks, refuses an entry with a pick not chosen, then Flag = 5,
// Credit.Dat, Entry.Bak as a copy of Entry.Dat, the entry table re-opened and
// the participant list published. One unit of work.
PhaseOutcome closeReception(Contest &contest,
                            const ParticipantListPublisher &publishParticipantList = {});

// 取組結果の変更: back to the start of the competition keeping the wins, losses
// and stars; absences, substitutions, scores, records and prize winners are
// cleared. One unit of work.
PhaseOutcome restartCompetition(Contest &contest);

} // namespace kc
