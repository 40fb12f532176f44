#pragma once

#include <QString>
#include <QtGlobal>

namespace kc {

class Contest;

struct DemoOptions
{
    int entries = 40; // 1..300
    quint64 seed = 1;
    int days = 15; // days confirmed, 0..15
    bool reserve = true; // the rules take a reserve wrestler
};

// Fills a contest that has just been created in an empty folder with a whole
// sample tournament, through the same actions as the windows: ルール決定, the
// applications, 受付終了, 賞位決定, and fifteen days of simulated bouts with
// stars and absences, each confirmed. Every question is answered Yes. Returns
// the refusal of the step that failed, empty when the contest is complete.
QString buildDemoContest(Contest &contest, const DemoOptions &options);
// One more simulated and confirmed day of a demo stopped early (options.seed
// seeds it); returns the refusal, empty when the day is confirmed.
QString confirmNextDemoDay(Contest &contest, const DemoOptions &options);

} // namespace kc
