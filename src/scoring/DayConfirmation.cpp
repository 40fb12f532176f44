#include "scoring/DayConfirmation.h"

#include "scoring/Prizes.h"
#include "scoring/ProgressCounter.h"
#include "scoring/RandomSource.h"
#include "scoring/Substitution.h"
#include "scoring/Tally.h"
#include "store/Contest.h"
#include "store/Journal.h"
#include "store/Phase.h"
#include "store/UnitOfWork.h"

namespace kc {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

void refuse(Contest &contest, const QString &text)
{
    contest.prompter().tell({text, QString(), Icon::None});
}

} // namespace

Roster correctStars(Roster roster, int day)
{
    const int count = std::clamp(roster.wrestlerCount, 0, int(kNoWrestler));
    const int yokozuna = roster.countOfRank(Yokozuna);
    const int ozeki = roster.countOfRank(Ozeki);
    for (int w = 0; w < yokozuna + ozeki && w < count; ++w) {
        qint16 &m = roster.wrestlers[w].dayResult[day - 1];
        if (w < yokozuna && (m == MarkSilver || m == MarkGold))
            m = MarkWin;
        else if (w >= yokozuna && m == MarkGold)
            m = MarkSilver;
    }
    return roster;
}

int confirmProgressTotal(const Contest &contest, int day, bool substitution)
{
    const int entries = contest.participantCount();
    const RulesRecord &r = contest.rules();
    int total = 5 * entries;
    if (day == 15)
        total += entries;
    if (r.reserveInUse() && substitution)
        total += entries;
    if (day == 8 && r.dayPrizePoints[0] > 0)
        total += entries;
    return total;
}

ConfirmOutcome confirmDay(Contest &contest, int shownDay)
{
    ClockRandom random;
    return confirmDay(contest, shownDay, random);
}

ConfirmOutcome confirmDay(Contest &contest, int day, RandomSource &random)
{
    RulesRecord &r = contest.rules();
    Roster &roster = contest.roster();
    Prompter &prompter = contest.prompter();

    // The refusals: nothing changes.
    if (!Phase::of(r).prizesDecided()) {
        refuse(contest, QStringLiteral("賞位の確定（ﾙｰﾙの設定と同じところです)を行ってください。"));
        return ConfirmOutcome::Refused;
    }
    if (r.currentDay >= kDays)
        return ConfirmOutcome::AllConfirmed;
    if (day <= r.currentDay) {
        refuse(contest, QStringLiteral("確定済です"));
        return ConfirmOutcome::Refused;
    }
    if (day > r.currentDay + 1) {
        refuse(contest, QStringLiteral("前日の取組結果が確定していません。"));
        return ConfirmOutcome::Refused;
    }

    // The organiser looks once more.
    const Question check {QStringLiteral("入力に間違いがないか、もう一度確認してください。") + kCrLf
                              + QStringLiteral("特に、「休場力士」の入力は忘れがちです。") + kCrLf
                              + QStringLiteral("     よろしいですか。"),
                          QString(), Icon::Warning, false};
    if (!prompter.ask(check))
        return ConfirmOutcome::Declined;

    // A day without enough results entered is refused.
    const int count = std::clamp(roster.wrestlerCount, 0, int(kNoWrestler));
    int sum = 0;
    for (int w = 0; w < count; ++w)
        sum += roster.wrestlers[w].dayResult[day - 1];
    if (sum < 7) {
        refuse(contest, QStringLiteral("取組結果を確認してください"));
        return ConfirmOutcome::Refused;
    }

    // From here on the day is all or nothing: a No to an absence, or a failure,
    // puts back every mark and every file as before the questions.
    UnitOfWork work(contest);

    // Every entered absence is asked about; no absence stays confirmed without
    // its substitution.
    bool absenceConfirmed = false;
    for (int w = 0; w < count; ++w) {
        auto &marks = roster.wrestlers[w].dayResult;
        if (marks[day - 1] != MarkAbsent)
            continue;
        const Question q {roster.name(w).left(10) + QStringLiteral("  の休場を確定しますか。"),
                          QString(), Icon::Information, false};
        if (!prompter.ask(q))
            return ConfirmOutcome::Declined;
        marks[day - 1] = MarkAbsentConfirmed;
        for (int later = day + 1; later <= kDays; ++later)
            marks[later - 1] = MarkAbsentLater;
        absenceConfirmed = true;
    }

    roster = correctStars(std::move(roster), day);

    ProgressCounter progress(prompter);
    try {
        r.currentDay = qint16(r.currentDay + 1);
        contest.saveRules();
        contest.saveWrestlers();

        const int d = r.currentDay;
        progress.begin(confirmProgressTotal(contest, d, absenceConfirmed));
        tallyDay(contest, d, random, progress, false);
        if (r.dayPrizePoints[d] > 0)
            awardDayPrize(contest, d);
        if (r.dayPrizePoints[0] > 0)
            awardMidPrize(contest, d, random, progress);
        awardRankPrizes(contest, d, progress);
        if (r.reserveInUse() && absenceConfirmed)
            substituteAbsentees(contest, d, progress);
        contest.saveEntries();
        work.commit();
        progress.end();
    } catch (...) {
        progress.end();
        throw;
    }
    return ConfirmOutcome::Confirmed;
}

} // namespace kc
