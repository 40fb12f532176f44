#pragma once

#include "rules/RuleSettings.h"

#include <QString>
#include <array>

namespace kc {
class Contest;
}

namespace kc::ui {

// One row of the prize tab: opPrize(i), txRank(i), txPname(i), txPrizePoint(i).
struct PrizeRowForm
{
    bool on = false;
    // Switched on but ranked below the field for now: shown half-ticked.
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

// How the rules window is opened.
enum class RulesOpening {
    Normal, // locked by the phase
    RuleChange, // ﾙｰﾙを変更する: every control open; the buttons still see the real phase
};

// What the two tabs of the rules window show: the texts of the boxes, the
// check boxes and options, and the window's own display state. The window
// copies its controls into this form, calls an operation, and shows the form.
// Nothing reaches the contest before 登録 or a decision.
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

    // The window's own copy of the stored values: a count put back, a points
    // box refilled and the day prizes' points come from here.
    RulesRecord stored;
    int participantCount = 0;

    // Ltype(0) and Ltype(1): "点" for 単純加算, "倍" for 倍数加算.
    QString unitLabel() const;

    bool operator==(const RulesForm &) const = default;
};

// Window load: the form from the contest's rules.
RulesForm loadRulesForm(const Contest &contest, RulesOpening opening = RulesOpening::Normal);
// The typed settings the form's boxes hold.
RuleSettings settingsOf(const RulesForm &form);

// The pick count as typed: an out-of-range count puts back the stored one;
// the first n slots get n, n-1, ..., 1 points and the rest are closed.
void setPickCount(RulesForm &form);
// The box Enter in txPoint(i) moves to: (i + 1) mod the pick count.
int nextSlotBox(const RulesForm &form, int i);

void selectBonusType(RulesForm &form, bool simple);
void selectTieRule(RulesForm &form, bool smallerIdFirst);

// opPrize(i) changed (by a click or in code): the row is refreshed and totalled.
void setPrizeChecked(RulesForm &form, int i, bool on);
// Re-derives row i's check box from its rank and the field; the points box
// is refilled from the stored value.
void refreshPrizeRow(RulesForm &form, int i);
// Row i's points as typed: the row is switched on by a positive value;
// returns the row whose rank comes next.
int setPrizePoints(RulesForm &form, int i);
// opPrize2(d) changed.
void setDayPrizeChecked(RulesForm &form, int d, bool on);
// Day prize d's points as typed; returns the next day prize.
int setDayPrizePoints(RulesForm &form, int d);
void recalcPrizeTotals(RulesForm &form);
// 再計算: the totals boxes change shade and the totals are recomputed.
void recalculate(RulesForm &form);

} // namespace kc::ui
