#include "rules/RuleSettings.h"

#include "rules/PrizeTable.h"
#include "store/Contest.h"
#include "store/Phase.h"
#include "store/RecordFile.h"
#include "store/Text.h"
#include "store/UnitOfWork.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace kc {

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

// A number joined to text shows as a whole number when it is one.
static QString shownNumber(double v)
{
    return v == std::floor(v) && std::abs(v) < 1e15 ? QString::number(qint64(v))
                                                    : QString::number(v, 'g', 15);
}

QString rankAboveParticipants(double rank, int participants)
{
    return QStringLiteral("設定された") + shownNumber(rank) + QStringLiteral("位は、参加人数(")
        + QString::number(participants) + QStringLiteral(")を上回っています。")
        + QStringLiteral("賞位の決定はできません");
}

QString decidePrizesQuestion()
{
    return QStringLiteral("決定以後の変更はできなくなります。\r\nよろしいですか。");
}

} // namespace rulestext

namespace {

qint32 magnitude(qint32 v)
{
    return qint32(std::min<qint64>(std::abs(qint64(v)), std::numeric_limits<qint32>::max()));
}

QString slotLabel(int i)
{
    static const QString digits = QStringLiteral("１２３４５６７８９");
    return i < 9 ? QStringLiteral("第") + digits.at(i) + QStringLiteral("力士")
                 : QStringLiteral("第10力士");
}

QString prizeLabel(int i)
{
    return QStringLiteral("賞位 %1行目").arg(i + 1);
}

QString dayPrizeLabel(int d)
{
    return d == 0 ? QStringLiteral("中日累計賞") : dayColumnName(d) + QStringLiteral("の当日賞");
}

QString tooLarge(const QString &label, double v)
{
    return QStringLiteral("%1 の数値「%2」が大きすぎます。")
        .arg(label,
             v == std::floor(v) && std::abs(v) < 1e15 ? QString::number(qint64(v))
                                                      : QString::number(v, 'g', 15));
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

// Walks every number with the field it goes to; the first that does not fit is refused.
struct Conversion
{
    RulesRecord record;
    QString refusal;

    void small(double v, const QString &label, qint16 &into)
    {
        const auto c = cint(v);
        if (!c && refusal.isEmpty())
            refusal = tooLarge(label, v);
        into = c.value_or(0);
    }
    void large(double v, const QString &label, qint32 &into)
    {
        const auto c = clng(v);
        if (!c && refusal.isEmpty())
            refusal = tooLarge(label, v);
        into = c.value_or(0);
    }
};

Conversion convert(const RuleSettings &s, const RulesRecord &base)
{
    Conversion out {base, QString()};
    RulesRecord &r = out.record;
    const auto n = cint(s.pickCount);
    if (!n || *n < 0 || *n > kMaxPicks) {
        out.refusal = rulestext::pickCountOutOfRange();
        return out;
    }
    r.pickCount = *n;
    r.title = QStringLiteral("無題");
    for (int i = 0; i < kMaxPicks; ++i)
        out.small(s.slotPoints[i], slotLabel(i), r.slotPoints[i]);
    r.includeTopRanks = s.includeTopRanks ? 1 : 0;
    r.useReserve = s.useReserve ? 1 : 0;
    r.bonusType = s.fixedStarBonus ? 1 : 0;
    out.small(s.goldStar, QStringLiteral("金星"), r.goldStarBonus);
    out.small(s.silverStar, QStringLiteral("銀星"), r.silverStarBonus);
    out.small(s.streakOn ? s.streakLength : -s.streakLength, QStringLiteral("連勝数"), r.streakMin);
    out.small(s.streakBonus, QStringLiteral("連勝ﾎﾞｰﾅｽ"), r.streakBonus);
    for (int i = 0; i < kPrizeRows; ++i) {
        const PrizeSetting &p = s.prizes[i];
        out.large(p.on ? p.points : -p.points, prizeLabel(i), r.prizePoints[i]);
        if (const auto problem = textProblem(p.name, prizeLabel(i) + QStringLiteral("の賞位名"));
            problem && out.refusal.isEmpty())
            out.refusal = *problem;
        r.prizeNames[i] = prizeNameField(p.name);
        out.small(p.rank, prizeLabel(i), r.prizeRanks[i]);
    }
    for (int d = 0; d < kDayPrizes; ++d)
        out.large(s.dayPrizes[d].on ? s.dayPrizes[d].points : -s.dayPrizes[d].points,
                  dayPrizeLabel(d), r.dayPrizePoints[d]);
    r.prizeExtra = 0;
    r.tieRule = s.smallerIdFirst ? 1 : 0;
    // A day's and the tournament's scores are stored in 16 bits.
    const qint64 most = highestTotal(r);
    if (out.refusal.isEmpty() && most > kScoreLimit)
        out.refusal = QStringLiteral("この点数とボーナスでは合計点が最大 %1 点になり、記録できる"
                                     " %2 点を超えます。点数やボーナスを小さくしてください。")
                          .arg(most)
                          .arg(kScoreLimit);
    return out;
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

RuleSettings RuleSettings::of(const RulesRecord &r, int participants)
{
    RuleSettings s;
    // What is not worth anything reads as nothing, as the boxes show it.
    auto positive = [](double v) { return v > 0 ? v : 0.0; };
    s.pickCount = r.pickCount;
    for (int i = 0; i < kMaxPicks; ++i)
        s.slotPoints[i] = positive(r.slotPoints[i]);
    s.includeTopRanks = r.includeTopRanks != 0;
    s.useReserve = r.useReserve != 0;
    s.fixedStarBonus = r.fixedStarBonus();
    s.goldStar = positive(r.goldStarBonus);
    s.silverStar = positive(r.silverStarBonus);
    s.streakOn = r.streakMin > 0;
    s.streakLength = std::abs(double(r.streakMin));
    s.streakBonus = r.streakBonus;
    s.smallerIdFirst = r.tieRule != 0;
    for (int i = 0; i < kPrizeRows; ++i) {
        PrizeSetting &p = s.prizes[i];
        p.on = r.prizePoints[i] >= 1;
        p.rank = r.prizeRanks[i];
        p.name = trimRight(r.prizeNames[i]);
        p.points = magnitude(r.prizePoints[i]);
    }
    for (int d = 0; d < kDayPrizes; ++d)
        s.dayPrizes[d] = {r.dayPrizePoints[d] >= 1, double(magnitude(r.dayPrizePoints[d]))};
    fitPrizesToField(s, participants);
    // The first row is switched on at every opening.
    switchPrize(s, 0, true, participants);
    return s;
}

QStringList RuleSettings::validate() const
{
    const QString refusal = convert(*this, RulesRecord {}).refusal;
    return refusal.isEmpty() ? QStringList() : QStringList {refusal};
}

RulesRecord RuleSettings::applyTo(const RulesRecord &base) const
{
    const Conversion c = convert(*this, base);
    return c.refusal.isEmpty() ? c.record : base;
}

QStringList RuleSettings::cutNotices() const
{
    QStringList notices;
    for (int i = 0; i < kPrizeRows; ++i) {
        const QString cut
            = cutNotice(prizes[i].name, 20, prizeLabel(i) + QStringLiteral("の賞位名"));
        if (!cut.isEmpty())
            notices << cut;
    }
    return notices;
}

bool prizeRankInField(double rank, int participants)
{
    return rank != 0 && rank <= participants;
}

void fitPrizesToField(RuleSettings &settings, int participants)
{
    for (PrizeSetting &p : settings.prizes) {
        // A row without a rank is never a prize.
        if (p.rank == 0)
            p.on = false;
        p.waiting = p.on && !prizeRankInField(p.rank, participants);
    }
}

void switchPrize(RuleSettings &settings, int i, bool on, int participants)
{
    PrizeSetting &p = settings.prizes[i];
    p.on = on && p.rank != 0;
    p.waiting = p.on && !prizeRankInField(p.rank, participants);
}

qint64 prizeTotal(const RuleSettings &settings)
{
    double total = 0;
    for (const PrizeSetting &p : settings.prizes)
        if (p.on && !p.waiting)
            total = std::nearbyint(total + p.points);
    for (const DayPrizeSetting &d : settings.dayPrizes)
        if (d.on)
            total = std::nearbyint(total + d.points);
    return qint64(total);
}

ActionResult saveRules(Contest &contest, const RuleSettings &settings)
{
    const Conversion c = convert(settings, contest.rules());
    if (!c.refusal.isEmpty())
        return refused(contest, c.refusal);
    UnitOfWork work(contest);
    contest.rules() = c.record;
    contest.saveRules();
    work.commit();
    if (const QStringList notices = settings.cutNotices(); !notices.isEmpty())
        tell(contest, notices.join(u'\n'));
    return {};
}

ActionResult decideRules(Contest &contest, const RuleSettings &settings)
{
    if (!Phase::of(contest.rules()).allows(Action::DecideRules))
        return {Outcome::NotApplicable, QString()};
    if (!contest.prompter().ask({rulestext::decideRulesQuestion(), QString(), Icon::Question}))
        return {Outcome::AnsweredNo, QString()};
    // A refused save stops the decision: the phase must not move on rules that were not stored.
    Conversion c = convert(settings, contest.rules());
    if (!c.refusal.isEmpty())
        return refused(contest, c.refusal);
    Phase::decideRules(c.record);
    UnitOfWork work(contest);
    contest.rules() = c.record;
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

ActionResult decidePrizes(Contest &contest, const RuleSettings &settings)
{
    const RulesRecord &now = contest.rules();
    if (Phase::of(now).prizesDecided())
        return refused(contest, rulestext::prizesAlreadyDecided());
    if (const QString refusal = Phase::of(now).refusal(Action::DecidePrizes); !refusal.isEmpty())
        return refused(contest, refusal);
    const int count = contest.participantCount();
    for (const PrizeSetting &p : settings.prizes)
        if (p.on && !p.waiting && p.rank > count)
            return refused(contest, rulestext::rankAboveParticipants(p.rank, count));
    if (!contest.prompter().ask({rulestext::decidePrizesQuestion(), QString(), Icon::Question}))
        return {Outcome::AnsweredNo, QString()};
    // The field is known now: a prize ranked below it is not awarded.
    RuleSettings decided = settings;
    for (PrizeSetting &p : decided.prizes)
        if (p.waiting)
            p.on = p.waiting = false;
    Conversion c = convert(decided, contest.rules());
    if (!c.refusal.isEmpty())
        return refused(contest, c.refusal);
    Phase::decidePrizes(c.record);
    UnitOfWork work(contest);
    contest.rules() = c.record;
    contest.saveRules();
    contest.saveEntryRecord(0);
    buildPrizeTable(contest);
    work.commit();
    return {};
}

} // namespace kc
