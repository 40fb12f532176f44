#pragma once

#include "store/Records.h"

#include <QString>
#include <QStringList>
#include <array>

namespace kc {

class Contest;

// One row of the prize tab: opPrize(i), txRank(i), txPname(i), txPrizePoint(i).
struct PrizeRowForm
{
    bool on = false;
    // Switched on by the organiser but ranked below the field for now: shown
    // off, kept on until 賞位決定 decides with the count of that time.
    bool waiting = false;
    QString rank;
    QString name;
    QString points;
    bool operator==(const PrizeRowForm &) const = default;
};

// One day prize: opPrize2(d) with Text1(d); d = 0 is the 中日累計賞.
struct DayPrizeForm
{
    bool on = false;
    QString points;
    bool operator==(const DayPrizeForm &) const = default;
};

// What the two tabs of the rules window show: the texts of the boxes, the
// check boxes and options, and the window's own display state. The window
// copies its controls into this form, calls an operation, and shows the form.
struct RulesForm
{
    // ルールの設定
    QString pickCount; // txRikishiNum
    std::array<QString, kMaxPicks> slotPoints; // txPoint(0..9)
    std::array<bool, kMaxPicks> slotActive {}; // enabled with a white background
    bool includeTopRanks = false; // ChkOzeki
    bool useReserve = false; // ChkSpair
    bool simpleBonus = true; // OptType(0) selected, else OptType(1)
    QString goldStar; // txKIN
    QString silverStar; // txGin
    bool streakOn = false; // chkRepeat
    QString streakMin; // txRwin
    QString streakBonus; // txWpoint
    bool smallerIdFirst = false; // Option1(1) selected, else Option1(0)

    // 賞位の設定
    std::array<PrizeRowForm, kPrizeRows> prizes;
    std::array<DayPrizeForm, kDayPrizes> dayPrizes;
    QString prizeTotal; // txPrizeTotal
    QString participants; // txEmax
    QString perParticipant; // txMotiten
    bool darkShade = true; // totals boxes RGB(0, 100, 0); false: RGB(0, 128, 0)

    // Locks by phase, and the tab the window opens on.
    bool rulesLocked = false;
    bool prizesLocked = false;
    bool openOnPrizeTab = false;

    // Ltype(0) and Ltype(1): "点" for 単純加算, "倍" for 倍数加算.
    QString unitLabel() const;

    bool operator==(const RulesForm &) const = default;
};

// Texts the rules window shows and asks.
namespace rulestext {
QString pickCountOutOfRange(); // "選択力士の数が範囲外です。"
QString decideRulesQuestion();
QString prizesAlreadyDecided(); // "決定済みです"
QString rankAboveParticipants(double rank, int participants);
QString decidePrizesQuestion();
} // namespace rulestext

// Window load: the form from the RulesRecord. The locks and the opening tab
// follow `lockPhase`, which is the real Flag except for the unlocked opening
// of the maintenance menu (0). Loading applies the prize rank rule, which
// also switches the sign of PrizePoints in memory, as the check boxes do.
RulesForm loadRulesForm(Contest &contest, int lockPhase);
RulesForm loadRulesForm(Contest &contest);

// The pick count as typed: an out-of-range count puts back the stored one;
// the first n slots get n, n-1, ..., 1 points and the rest are closed.
void setPickCount(RulesForm &form, const RulesRecord &rules);
// The box Enter in txPoint(i) moves to: (i + 1) mod the pick count.
int nextSlotBox(const RulesForm &form, int i);

void selectBonusType(RulesForm &form, bool simple);
// The tie options write TieRule into the in-memory record at once.
void selectTieRule(Contest &contest, RulesForm &form, bool smallerIdFirst);

// opPrize(i) changed (by a click or in code): the row is refreshed and totalled.
void setPrizeChecked(Contest &contest, RulesForm &form, int i, bool on);
// Re-derives row i's check box and the sign of PrizePoints(i); the points box
// is refilled from the stored value.
void refreshPrizeRow(Contest &contest, RulesForm &form, int i);
// Row i's points as typed: the row is switched on by a positive value;
// returns the row whose rank comes next.
int setPrizePoints(Contest &contest, RulesForm &form, int i);
// opPrize2(d) changed.
void setDayPrizeChecked(Contest &contest, RulesForm &form, int d, bool on);
// Day prize d's points as typed; returns the next day prize.
int setDayPrizePoints(Contest &contest, RulesForm &form, int d);
void recalcPrizeTotals(const Contest &contest, RulesForm &form);
// 再計算: the totals boxes change shade and the totals are recomputed.
void recalculate(const Contest &contest, RulesForm &form);

// What an action of the window came to.
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

// The rules record the form would save over `base`, or the refusal text.
// Only the fields of the two tabs (and Title, PrizeExtra) are taken.
struct FormRecord
{
    RulesRecord record;
    QString refusal;
    QStringList notices; // texts cut to their field
};
FormRecord rulesFromForm(const RulesForm &form, const RulesRecord &base);

// 登録: copies both tabs into the RulesRecord and writes Credit.Dat.
ActionResult saveRules(Contest &contest, const RulesForm &form);
// ルール決定 (asks).
ActionResult decideRules(Contest &contest, const RulesForm &form);
// 賞位決定 (asks); builds the prize table.
ActionResult decidePrizes(Contest &contest, const RulesForm &form);

} // namespace kc
