#include "scoring/ResultMarks.h"

#include "store/Contest.h"

namespace kc {

MarkLock markLock(const Contest &contest, int slot, int day)
{
    if (slot < 0 || slot >= contest.roster().wrestlerCount || slot >= kNoWrestler)
        return MarkLock::NoWrestler;
    if (day < 1 || day > kDays || day <= contest.rules().currentDay)
        return MarkLock::DayConfirmed;
    if (contest.rules().reserveInUse()
        && contest.roster().wrestlers[slot].dayResult[day - 1] > MarkAbsent)
        return MarkLock::AbsenceConfirmed;
    return MarkLock::None;
}

QString markLockText(MarkLock lock)
{
    switch (lock) {
    case MarkLock::None:
        return QString();
    case MarkLock::DayConfirmed:
        return QStringLiteral("確定済の日の結果は変更できません。");
    case MarkLock::AbsenceConfirmed:
        return QStringLiteral("休場が確定しているため変更できません。");
    case MarkLock::NoWrestler:
        return QStringLiteral("その番号の力士はいません。");
    }
    return QString();
}

bool cycleMark(Contest &contest, int slot, int day, bool forward)
{
    if (markLock(contest, slot, day) != MarkLock::None)
        return false;
    qint16 &m = contest.roster().wrestlers[slot].dayResult[day - 1];
    // A preset 6 under UseReserve = 0 steps on as (6 + 1) mod 5 = 2.
    m = qint16(forward ? (m + 1) % 5 : (m + 4) % 5);
    return true;
}

MarkLock setMark(Contest &contest, int slot, int day, int mark)
{
    const MarkLock lock = markLock(contest, slot, day);
    if (lock == MarkLock::None && mark >= MarkLoss && mark <= MarkAbsent)
        contest.roster().wrestlers[slot].dayResult[day - 1] = qint16(mark);
    return lock;
}

std::optional<int> parseMark(const QString &text)
{
    const QString t = text.trimmed();
    static const char16_t *const names[5][2] = {
        {u"黒", u"黒星"}, {u"白", u"白星"}, {u"銀", u"銀星"}, {u"金", u"金星"}, {u"休", u"休場"}};
    for (int m = 0; m < 5; ++m)
        for (const char16_t *n : names[m])
            if (t == QString::fromUtf16(n))
                return m;
    if (t.size() == 1 && t[0] >= u'0' && t[0] <= u'4')
        return t[0].unicode() - u'0';
    return std::nullopt;
}

int winsUpTo(const Roster &roster, int slot, int day)
{
    if (slot < 0 || slot >= kRosterSlots)
        return 0;
    int wins = 0;
    for (int d = 1; d <= day && d <= kDays; ++d)
        if (isWinningMark(roster.wrestlers[slot].dayResult[d - 1]))
            ++wins;
    return wins;
}

int firstShownDay(const Contest &contest)
{
    return std::clamp(contest.rules().currentDay + 1, 1, int(kDays));
}

} // namespace kc
