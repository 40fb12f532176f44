#pragma once

#include "store/Records.h"

#include <QString>
#include <QStringList>
#include <array>

namespace kc {

class Contest;

// One rank prize: its switch, rank, name and points.
struct PrizeSetting
{
    // The organiser's switch; stored as the sign of the points.
    bool on = false;
    // Switched on, but the field is smaller than the rank for now: the row is
    // not offered until the field grows, and 賞位決定 decides it with the count then.
    bool waiting = false;
    double rank = 0; // 0: no rank
    QString name;
    double points = 0;
    bool operator==(const PrizeSetting &) const = default;
};

// The 中日累計賞 (d = 0) or the day prize of day d.
struct DayPrizeSetting
{
    bool on = false;
    double points = 0;
    bool operator==(const DayPrizeSetting &) const = default;
};

// The rule and prize settings as numbers, before they are stored. Numbers are
// kept as read (a typed 40000 for a 16-bit field is refused by validate()).
struct RuleSettings
{
    double pickCount = 0;
    std::array<double, kMaxPicks> slotPoints {};
    bool includeTopRanks = false;
    bool useReserve = false;
    bool fixedStarBonus = true; // 単純加算, else 倍数加算
    double goldStar = 0;
    double silverStar = 0;
    bool streakOn = false;
    double streakLength = 0; // the length, whether the bonus is on or off
    double streakBonus = 0;
    bool smallerIdFirst = false;
    std::array<PrizeSetting, kPrizeRows> prizes;
    std::array<DayPrizeSetting, kDayPrizes> dayPrizes;

    // The stored settings; prize rows ranked above `participants` wait.
    static RuleSettings of(const RulesRecord &rules, int participants);

    // Why these settings cannot be stored; empty when they can. The first is the one shown.
    QStringList validate() const;
    // The record these settings make over `base`: only the settings' own
    // fields, with Title "無題" and PrizeExtra 0. Meaningful when validate() is empty.
    RulesRecord applyTo(const RulesRecord &base) const;
    // The texts the record cuts to their fields.
    QStringList cutNotices() const;

    bool operator==(const RuleSettings &) const = default;
};

// Whether a prize for `rank` can go to a field of `participants` (no rank: never).
bool prizeRankInField(double rank, int participants);
// The prize points of the rows offered and the day prizes switched on.
qint64 prizeTotal(const RuleSettings &settings);
// The organiser's switch of row i, applied as a click does: a row ranked above
// the field waits instead of coming on.
void switchPrize(RuleSettings &settings, int i, bool on, int participants);
// Re-derives the waiting rows from the field's size.
void fitPrizesToField(RuleSettings &settings, int participants);

// Texts the rules window shows and asks.
namespace rulestext {
QString pickCountOutOfRange(); // "選択力士の数が範囲外です。"
QString decideRulesQuestion();
QString prizesAlreadyDecided(); // "決定済みです"
QString rankAboveParticipants(double rank, int participants);
QString decidePrizesQuestion();
} // namespace rulestext

// What an action of the rules came to.
enum class Outcome {
    Done,
    Refused, // a message was shown, nothing changed
    AnsweredNo,
    NotApplicable, // the action does nothing in this phase
};

struct ActionResult
{
    Outcome outcome = Outcome::Done;
    QString message; // the refusal shown, if any
    bool done() const { return outcome == Outcome::Done; }
};

// 登録: stores the settings in the RulesRecord and Credit.Dat.
ActionResult saveRules(Contest &contest, const RuleSettings &settings);
// ルール決定 (asks).
ActionResult decideRules(Contest &contest, const RuleSettings &settings);
// 賞位決定 (asks); the waiting rows are left out and the prize table is built.
ActionResult decidePrizes(Contest &contest, const RuleSettings &settings);

} // namespace kc
