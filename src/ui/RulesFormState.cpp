#include "ui/RulesFormState.h"

#include "store/Contest.h"
#include "store/Phase.h"
#include "store/Text.h"

#include <algorithm>
#include <cmath>

namespace kc::ui {

QString RulesForm::unitLabel() const
{
    return simpleBonus ? QStringLiteral("点") : QStringLiteral("倍");
}

namespace {

QString number(double v)
{
    return QString::number(qint64(v));
}

QString numberOrEmpty(double v, bool shown)
{
    return shown ? number(v) : QString();
}

qint32 magnitude(qint32 v)
{
    return qint32(std::min<qint64>(std::abs(qint64(v)), std::numeric_limits<qint32>::max()));
}

} // namespace

RulesForm loadRulesForm(const Contest &contest, RulesOpening opening)
{
    RulesForm f;
    f.stored = contest.rules();
    f.participantCount = contest.participantCount();
    const RuleSettings s = RuleSettings::of(f.stored, f.participantCount);
    f.pickCount = number(s.pickCount);
    for (int i = 0; i < kMaxPicks; ++i) {
        f.slotPoints[i] = numberOrEmpty(s.slotPoints[i], s.slotPoints[i] > 0);
        f.slotActive[i] = i < s.pickCount;
    }
    f.includeTopRanks = s.includeTopRanks;
    f.useReserve = s.useReserve;
    f.simpleBonus = s.fixedStarBonus;
    f.goldStar = numberOrEmpty(s.goldStar, s.goldStar > 0);
    f.silverStar = numberOrEmpty(s.silverStar, s.silverStar > 0);
    f.streakOn = s.streakOn;
    f.streakMin = numberOrEmpty(s.streakLength, s.streakLength != 0);
    f.streakBonus = numberOrEmpty(s.streakBonus, s.streakBonus != 0);
    f.smallerIdFirst = s.smallerIdFirst;
    for (int i = 0; i < kPrizeRows; ++i) {
        const PrizeSetting &p = s.prizes[i];
        f.prizes[i] = {p.on && !p.waiting, p.waiting, numberOrEmpty(p.rank, p.rank != 0), p.name,
                       number(p.points)};
    }
    for (int d = 0; d < kDayPrizes; ++d)
        f.dayPrizes[d] = {s.dayPrizes[d].on, number(s.dayPrizes[d].points)};
    recalcPrizeTotals(f);
    f.participants = QString::number(f.participantCount);
    // The unlocked opening comes up as before ルール決定.
    const Phase phase = opening == RulesOpening::RuleChange ? Phase(0) : Phase::of(f.stored);
    f.rulesLocked = !phase.allows(Action::ChangeRules);
    f.prizesLocked = !phase.allows(Action::ChangePrizes);
    f.openOnPrizeTab = phase.nextStep() == NextStep::Prizes;
    return f;
}

RuleSettings settingsOf(const RulesForm &f)
{
    RuleSettings s;
    s.pickCount = val(f.pickCount);
    for (int i = 0; i < kMaxPicks; ++i)
        s.slotPoints[i] = val(f.slotPoints[i]);
    s.includeTopRanks = f.includeTopRanks;
    s.useReserve = f.useReserve;
    s.fixedStarBonus = f.simpleBonus;
    s.goldStar = val(f.goldStar);
    s.silverStar = val(f.silverStar);
    s.streakOn = f.streakOn;
    s.streakLength = val(f.streakMin);
    s.streakBonus = val(f.streakBonus);
    s.smallerIdFirst = f.smallerIdFirst;
    for (int i = 0; i < kPrizeRows; ++i) {
        const PrizeRowForm &row = f.prizes[i];
        s.prizes[i]
            = {row.on || row.waiting, row.waiting, val(row.rank), row.name, val(row.points)};
    }
    for (int d = 0; d < kDayPrizes; ++d)
        s.dayPrizes[d] = {f.dayPrizes[d].on, val(f.dayPrizes[d].points)};
    return s;
}

void setPickCount(RulesForm &form)
{
    double v = val(form.pickCount);
    if (v < 1 || v > 10) {
        form.pickCount = QString::number(form.stored.pickCount);
        v = form.stored.pickCount;
    }
    const int n = std::clamp<int>(cintClamped(v), 0, kMaxPicks);
    for (int i = 0; i < kMaxPicks; ++i) {
        if (i < n)
            form.slotPoints[i] = QString::number(n - i);
        form.slotActive[i] = i < n;
    }
}

int nextSlotBox(const RulesForm &form, int i)
{
    // The count box may hold anything typed without Enter; the focus stays
    // among the ten boxes that exist.
    const int n = std::clamp<int>(cintClamped(val(form.pickCount)), 1, kMaxPicks);
    return (i + 1) % n;
}

void selectBonusType(RulesForm &form, bool simple)
{
    form.simpleBonus = simple;
}

void selectTieRule(RulesForm &form, bool smallerIdFirst)
{
    form.smallerIdFirst = smallerIdFirst;
}

void refreshPrizeRow(RulesForm &form, int i)
{
    PrizeRowForm &row = form.prizes[i];
    row.points = QString::number(magnitude(form.stored.prizePoints[i]));
    if (row.rank.isEmpty() || val(row.rank) > form.participantCount) {
        // Too few participants for now does not switch off what the organiser switched on.
        row.waiting = row.waiting && !row.rank.isEmpty();
        row.on = false;
    } else {
        row.waiting = false;
    }
}

void setPrizeChecked(RulesForm &form, int i, bool on)
{
    PrizeRowForm &row = form.prizes[i];
    if (row.on == on && (on || !row.waiting))
        return;
    row.on = on;
    // A click is the organiser's own choice.
    row.waiting = on;
    refreshPrizeRow(form, i);
    recalcPrizeTotals(form);
}

int setPrizePoints(RulesForm &form, int i)
{
    const qint32 v = clngClamped(val(form.prizes[i].points));
    setPrizeChecked(form, i, v >= 1);
    form.prizes[i].points = QString::number(v);
    recalcPrizeTotals(form);
    return (i + 1) % kPrizeRows;
}

void setDayPrizeChecked(RulesForm &form, int d, bool on)
{
    qint32 &points = form.stored.dayPrizePoints[d];
    const qint32 mag = magnitude(points);
    form.dayPrizes[d].on = on;
    form.dayPrizes[d].points = QString::number(mag);
    points = on ? mag : -mag;
    recalcPrizeTotals(form);
}

int setDayPrizePoints(RulesForm &form, int d)
{
    const qint32 v = clngClamped(val(form.dayPrizes[d].points));
    if (v > 0)
        form.stored.dayPrizePoints[d] = form.dayPrizes[d].on ? v : -v;
    recalcPrizeTotals(form);
    return (d + 1) % kDayPrizes;
}

void recalcPrizeTotals(RulesForm &form)
{
    const qint64 total = prizeTotal(settingsOf(form));
    form.prizeTotal = formatThousands(total);
    if (form.participantCount != 0)
        form.perParticipant
            = formatThousands(qint64(std::round(double(total) / form.participantCount)));
}

void recalculate(RulesForm &form)
{
    form.darkShade = !form.darkShade;
    recalcPrizeTotals(form);
}

} // namespace kc::ui
