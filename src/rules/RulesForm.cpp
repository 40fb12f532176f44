#include "rules/RulesForm.h"

#include "scoring/PrizeTable.h"
#include "store/Contest.h"
#include "store/Phase.h"
#include "store/RecordFile.h"
#include "store/Text.h"
#include "store/UnitOfWork.h"

#include <algorithm>
#include <cmath>

namespace kc {

QString RulesForm::unitLabel() const
{
    return simpleBonus ? QStringLiteral("点") : QStringLiteral("倍");
}

namespace rulestext {

QString pickCountOutOfRange()
{
    return QStringLiteral("選択力士の数が範囲外です。");
}

QString decideRulesQuestion()
{
    return QStringLiteral("ルール決定後の変更はできなくなります。（賞位の設定を除く）\r\n"
                          "また、力士の名称変更もできなくなります　\r\n"
                          "よろしいですか。");
}

QString prizesAlreadyDecided()
{
    return QStringLiteral("決定済みです");
}

QString rankAboveParticipants(double rank, int participants)
{
    // A number joined to text shows as a whole number when it is one.
    const QString shown = rank == std::floor(rank) && std::abs(rank) < 1e15
        ? QString::number(qint64(rank))
        : QString::number(rank, 'g', 15);
    return QStringLiteral("設定された") + shown + QStringLiteral("位は、参加人数(")
        + QString::number(participants) + QStringLiteral(")を上回っています。")
        + QStringLiteral("賞位の決定はできません");
}

QString decidePrizesQuestion()
{
    return QStringLiteral("決定以後の変更はできなくなります。\r\nよろしいですか。");
}

} // namespace rulestext

namespace {

QString numberOrEmpty(qint64 v, bool shown)
{
    return shown ? QString::number(v) : QString();
}

qint32 magnitude(qint32 v)
{
    return qint32(std::min<qint64>(std::abs(qint64(v)), std::numeric_limits<qint32>::max()));
}

void fillPrizeTab(Contest &contest, RulesForm &form)
{
    const RulesRecord &r = contest.rules();
    const int count = contest.participantCount();
    for (int i = 0; i < kPrizeRows; ++i) {
        PrizeRowForm &row = form.prizes[i];
        row.name = trimRight(r.prizeNames[i]);
        row.rank = numberOrEmpty(r.prizeRanks[i], r.prizeRanks[i] != 0);
        row.on = r.prizePoints[i] >= 1;
        if (!row.rank.isEmpty() && val(row.rank) > count) {
            row.waiting = row.on;
            row.on = false;
        }
    }
    for (int i = 0; i < kPrizeRows; ++i)
        refreshPrizeRow(contest, form, i);
    for (int d = 0; d < kDayPrizes; ++d) {
        form.dayPrizes[d].on = r.dayPrizePoints[d] >= 1;
        form.dayPrizes[d].points = QString::number(magnitude(r.dayPrizePoints[d]));
    }
    // The first row is switched on at every opening, through its click handling.
    setPrizeChecked(contest, form, 0, true);
    recalcPrizeTotals(contest, form);
    form.participants = QString::number(count);
}

// Label of a box for the refusal of a number too large to store.
QString slotLabel(int i)
{
    static const QString digits = QStringLiteral("１２３４５６７８９");
    return i < 9 ? QStringLiteral("第") + digits.at(i) + QStringLiteral("力士")
                 : QStringLiteral("第10力士");
}

QString tooLarge(const QString &label, const QString &text)
{
    return QStringLiteral("%1 の数値「%2」が大きすぎます。").arg(label, text);
}

constexpr qint64 kScoreLimit = 32767;

// The largest score, in either direction, fifteen days of these rules can give.
qint64 highestTotal(const RulesRecord &r)
{
    qint64 day = 0;
    const int picks = std::clamp<int>(r.pickCount, 0, kMaxPicks);
    for (int s = 0; s < picks; ++s) {
        const qint64 points = r.slotPoints[s];
        auto star = [&](qint64 bonus) {
            return std::abs(r.fixedStarBonus() ? bonus : (bonus - 1) * points);
        };
        day += std::abs(points) + std::max(star(r.goldStarBonus), star(r.silverStarBonus))
            + std::abs(qint64(r.streakBonus));
    }
    return day * kDays;
}

// Prize names are kept as the 20-byte field stores them, so memory and file agree.
QString prizeNameField(const QString &text)
{
    return fieldText(fixedField(text, 20));
}

void tell(Contest &contest, const QString &text)
{
    contest.prompter().tell({text, QString(), Icon::None});
}

ActionResult refused(Contest &contest, const QString &text)
{
    tell(contest, text);
    return {Outcome::Refused, text};
}

} // namespace

RulesForm loadRulesForm(Contest &contest, int lockPhase)
{
    RulesForm f;
    const RulesRecord &r = contest.rules();
    f.pickCount = QString::number(r.pickCount);
    for (int i = 0; i < kMaxPicks; ++i) {
        f.slotPoints[i] = numberOrEmpty(r.slotPoints[i], r.slotPoints[i] > 0);
        f.slotActive[i] = i < r.pickCount;
    }
    f.includeTopRanks = r.includeTopRanks != 0;
    f.useReserve = r.useReserve != 0;
    f.simpleBonus = r.fixedStarBonus();
    f.goldStar = numberOrEmpty(r.goldStarBonus, r.goldStarBonus > 0);
    f.silverStar = numberOrEmpty(r.silverStarBonus, r.silverStarBonus > 0);
    f.streakOn = r.streakMin > 0;
    f.streakMin = f.streakOn ? QString::number(r.streakMin)
                             : numberOrEmpty(-qint64(r.streakMin), r.streakMin != 0);
    f.streakBonus = numberOrEmpty(r.streakBonus, r.streakBonus != 0);
    f.smallerIdFirst = r.tieRule != 0;
    fillPrizeTab(contest, f);
    const Phase phase(lockPhase);
    f.rulesLocked = !phase.allows(Action::ChangeRules);
    f.prizesLocked = !phase.allows(Action::ChangePrizes);
    f.openOnPrizeTab = phase.nextStep() == NextStep::Prizes;
    return f;
}

RulesForm loadRulesForm(Contest &contest)
{
    return loadRulesForm(contest, contest.rules().flag);
}

void setPickCount(RulesForm &form, const RulesRecord &rules)
{
    double v = val(form.pickCount);
    if (v < 1 || v > 10) {
        form.pickCount = QString::number(rules.pickCount);
        v = rules.pickCount;
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

void selectTieRule(Contest &contest, RulesForm &form, bool smallerIdFirst)
{
    form.smallerIdFirst = smallerIdFirst;
    contest.rules().tieRule = smallerIdFirst ? 1 : 0;
}

void refreshPrizeRow(Contest &contest, RulesForm &form, int i)
{
    PrizeRowForm &row = form.prizes[i];
    qint32 &points = contest.rules().prizePoints[i];
    const qint32 mag = magnitude(points);
    row.points = QString::number(mag);
    if (row.rank.isEmpty() || val(row.rank) > contest.participantCount()) {
        // Too few participants for now does not switch off what the organiser switched on.
        row.waiting = row.waiting && !row.rank.isEmpty();
        row.on = false;
        points = row.waiting ? mag : -mag;
    } else {
        row.waiting = false;
        points = row.on ? mag : -mag;
    }
}

void setPrizeChecked(Contest &contest, RulesForm &form, int i, bool on)
{
    PrizeRowForm &row = form.prizes[i];
    if (row.on == on && (on || !row.waiting))
        return;
    row.on = on;
    // A click is the organiser's own choice.
    row.waiting = on;
    refreshPrizeRow(contest, form, i);
    recalcPrizeTotals(contest, form);
}

int setPrizePoints(Contest &contest, RulesForm &form, int i)
{
    const qint32 v = clngClamped(val(form.prizes[i].points));
    setPrizeChecked(contest, form, i, v >= 1);
    form.prizes[i].points = QString::number(v);
    recalcPrizeTotals(contest, form);
    return (i + 1) % kPrizeRows;
}

void setDayPrizeChecked(Contest &contest, RulesForm &form, int d, bool on)
{
    qint32 &points = contest.rules().dayPrizePoints[d];
    const qint32 mag = magnitude(points);
    form.dayPrizes[d].on = on;
    form.dayPrizes[d].points = QString::number(mag);
    points = on ? mag : -mag;
    recalcPrizeTotals(contest, form);
}

int setDayPrizePoints(Contest &contest, RulesForm &form, int d)
{
    const qint32 v = clngClamped(val(form.dayPrizes[d].points));
    if (v > 0)
        contest.rules().dayPrizePoints[d] = form.dayPrizes[d].on ? v : -v;
    recalcPrizeTotals(contest, form);
    return (d + 1) % kDayPrizes;
}

void recalcPrizeTotals(const Contest &contest, RulesForm &form)
{
    double total = 0;
    for (const PrizeRowForm &row : form.prizes)
        if (row.on)
            total = std::nearbyint(total + val(row.points));
    for (const DayPrizeForm &day : form.dayPrizes)
        if (day.on)
            total = std::nearbyint(total + val(day.points));
    form.prizeTotal = formatThousands(qint64(total));
    const int count = contest.participantCount();
    if (count != 0)
        form.perParticipant = formatThousands(qint64(std::round(total / count)));
}

void recalculate(const Contest &contest, RulesForm &form)
{
    form.darkShade = !form.darkShade;
    recalcPrizeTotals(contest, form);
}

FormRecord rulesFromForm(const RulesForm &form, const RulesRecord &base)
{
    FormRecord out {base, QString(), {}};
    RulesRecord &r = out.record;
    const auto n = cint(val(form.pickCount));
    if (!n || *n < 0 || *n > kMaxPicks) {
        out.refusal = rulestext::pickCountOutOfRange();
        return out;
    }
    // A number too large for its field is refused before anything is copied.
    auto small = [&](const QString &text, double sign, const QString &label, qint16 &into) {
        const auto v = cint(sign * val(text));
        if (!v && out.refusal.isEmpty())
            out.refusal = tooLarge(label, text);
        into = v.value_or(0);
    };
    auto large = [&](const QString &text, double sign, const QString &label, qint32 &into) {
        const auto v = clng(sign * val(text));
        if (!v && out.refusal.isEmpty())
            out.refusal = tooLarge(label, text);
        into = v.value_or(0);
    };
    r.pickCount = *n;
    r.title = QStringLiteral("無題");
    for (int i = 0; i < kMaxPicks; ++i)
        small(form.slotPoints[i], 1, slotLabel(i), r.slotPoints[i]);
    r.includeTopRanks = form.includeTopRanks ? 1 : 0;
    r.useReserve = form.useReserve ? 1 : 0;
    r.bonusType = form.simpleBonus ? 1 : 0;
    small(form.goldStar, 1, QStringLiteral("金星"), r.goldStarBonus);
    small(form.silverStar, 1, QStringLiteral("銀星"), r.silverStarBonus);
    small(form.streakMin, form.streakOn ? 1 : -1, QStringLiteral("連勝数"), r.streakMin);
    small(form.streakBonus, 1, QStringLiteral("連勝ﾎﾞｰﾅｽ"), r.streakBonus);
    for (int i = 0; i < kPrizeRows; ++i) {
        const PrizeRowForm &row = form.prizes[i];
        const QString label = QStringLiteral("賞位 %1行目").arg(i + 1);
        large(row.points, row.on || row.waiting ? 1 : -1, label, r.prizePoints[i]);
        if (const auto problem = textProblem(row.name, label + QStringLiteral("の賞位名"));
            problem && out.refusal.isEmpty())
            out.refusal = *problem;
        const QString cut = cutNotice(row.name, 20, label + QStringLiteral("の賞位名"));
        if (!cut.isEmpty())
            out.notices << cut;
        r.prizeNames[i] = prizeNameField(row.name);
        small(row.rank, 1, label, r.prizeRanks[i]);
    }
    for (int d = 0; d < kDayPrizes; ++d)
        large(form.dayPrizes[d].points, form.dayPrizes[d].on ? 1 : -1,
              d == 0 ? QStringLiteral("中日累計賞") : dayColumnName(d) + QStringLiteral("の当日賞"),
              r.dayPrizePoints[d]);
    r.prizeExtra = 0;
    r.tieRule = form.smallerIdFirst ? 1 : 0;
    // A day's and the tournament's scores are stored in 16 bits.
    const qint64 most = highestTotal(r);
    if (out.refusal.isEmpty() && most > kScoreLimit)
        out.refusal = QStringLiteral("この点数とボーナスでは合計点が最大 %1 点になり、記録できる"
                                     " %2 点を超えます。点数やボーナスを小さくしてください。")
                          .arg(most)
                          .arg(kScoreLimit);
    if (!out.refusal.isEmpty())
        out.record = base;
    return out;
}

ActionResult saveRules(Contest &contest, const RulesForm &form)
{
    const FormRecord fr = rulesFromForm(form, contest.rules());
    if (!fr.refusal.isEmpty())
        return refused(contest, fr.refusal);
    UnitOfWork work(contest);
    contest.rules() = fr.record;
    contest.saveRules();
    work.commit();
    if (!fr.notices.isEmpty())
        tell(contest, fr.notices.join(u'\n'));
    return {};
}

ActionResult decideRules(Contest &contest, const RulesForm &form)
{
    if (!Phase::of(contest.rules()).allows(Action::DecideRules))
        return {Outcome::NotApplicable, QString()};
    if (!contest.prompter().ask({rulestext::decideRulesQuestion(), QString(), Icon::Question}))
        return {Outcome::AnsweredNo, QString()};
    // A refused save stops the decision: the phase must not move on rules that were not stored.
    FormRecord fr = rulesFromForm(form, contest.rules());
    if (!fr.refusal.isEmpty())
        return refused(contest, fr.refusal);
    Phase::decideRules(fr.record);
    UnitOfWork work(contest);
    contest.rules() = fr.record;
    contest.saveRules();
    if (contest.entries().empty()) {
        recordfile::writeOne<EntryRecord>(contest.files(), contest.paths().entry, 1,
                                          rulesPlaceholderEntry());
    } else {
        // A registered participant keeps his picks; the record is written as it is.
        contest.saveEntryRecord(0);
    }
    work.commit();
    return {};
}

ActionResult decidePrizes(Contest &contest, const RulesForm &form)
{
    const RulesRecord &now = contest.rules();
    if (Phase::of(now).prizesDecided())
        return refused(contest, rulestext::prizesAlreadyDecided());
    if (const QString refusal = Phase::of(now).refusal(Action::DecidePrizes); !refusal.isEmpty())
        return refused(contest, refusal);
    const int count = contest.participantCount();
    for (const PrizeRowForm &row : form.prizes)
        if (row.on && val(row.rank) > count)
            return refused(contest, rulestext::rankAboveParticipants(val(row.rank), count));
    if (!contest.prompter().ask({rulestext::decidePrizesQuestion(), QString(), Icon::Question}))
        return {Outcome::AnsweredNo, QString()};
    // The field is known now: a prize ranked below it is not awarded.
    RulesForm decided = form;
    for (PrizeRowForm &row : decided.prizes)
        row.waiting = false;
    FormRecord fr = rulesFromForm(decided, contest.rules());
    if (!fr.refusal.isEmpty())
        return refused(contest, fr.refusal);
    Phase::decidePrizes(fr.record);
    UnitOfWork work(contest);
    contest.rules() = fr.record;
    contest.saveRules();
    contest.saveEntryRecord(0);
    buildPrizeTable(contest);
    work.commit();
    return {};
}

} // namespace kc
