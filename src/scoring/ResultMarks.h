#pragma once

#include <QString>
#include <optional>

namespace kc {

class Contest;
struct Roster;

// Why a mark of the bout-result window cannot be changed.
enum class MarkLock {
    None,
    DayConfirmed, // the day is not after CurrentDay
    AbsenceConfirmed, // UseReserve = 1 and the mark is a confirmed absence (5 or 6)
    NoWrestler, // the slot holds no wrestler of the banzuke
};

MarkLock markLock(const Contest &contest, int slot, int day);

// Text the command line reports for a lock.
QString markLockText(MarkLock lock);

// A click on a wrestler's button: the left button steps 黒星→白星→銀星→金星→休場→黒星,
// any other button steps back. Locked marks stay; returns whether the mark changed.
bool cycleMark(Contest &contest, int slot, int day, bool forward);

// Sets a mark 0..4 directly (the command line), under the same locks.
MarkLock setMark(Contest &contest, int slot, int day, int mark);

// Reads a mark as the command line takes it: 黒 白 銀 金 休 (or 黒星 …) or 0..4.
std::optional<int> parseMark(const QString &text);

// Wins (marks 1 to 3) of a wrestler from day 1 to `day`: the window's Lno.
int winsUpTo(const Roster &roster, int slot, int day);

// The day the bout-result window shows first: the day after the last
// confirmed one, or 15 once every day is confirmed.
int firstShownDay(const Contest &contest);

} // namespace kc
