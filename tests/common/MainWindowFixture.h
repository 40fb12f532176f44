#pragma once

#include "TestSupport.h"
#include "WidgetLookup.h"
#include "store/Contest.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <memory>

namespace kc::test {

// A contest in a temporary folder with entries made through the core, and
// the real main window on it.
class MainWindowFixture
{
public:
    MainWindowFixture() { m_contest = &temp.open(); }

    Contest &contest() { return *m_contest; }

    // Adds n entries with day scores and ranks for `day` (1..15) and saves them.
    void addEntries(int n, int day = 0)
    {
        for (int i = 0; i < n; ++i) {
            EntryRecord e = EntryRecord::cleared();
            e.shikona = QStringLiteral("参加者%1").arg(i + 1);
            e.furigana = QStringLiteral("さんかしゃ");
            for (int s = 0; s < contest().rules().pickCount && s < kMaxPicks; ++s)
                e.picks[s] = e.enteredPicks[s] = qint16(s);
            for (int d = 0; d < kDays; ++d)
                e.dayTotal[d] = qint16(10 * (i + 1) + d);
            // Ranks 2, 3, 1, 5, 4, ... so that no order is the ID order.
            if (day >= 1)
                e.dayRank[day - 1] = qint16(i % 3 == 0 ? i + 2 : (i % 3 == 1 ? i + 2 : i - 1));
            e.totalScore = qint16(100 - i);
            e.midScore = qint16(50 + (i % 2 ? i : -i));
            contest().entries().push_back(e);
        }
        contest().rebuildEntryTable();
        contest().saveEntries();
    }

    // The stored phase: Flag and the confirmed days, in memory only.
    void setPhase(int flag, int day)
    {
        contest().rules().flag = qint16(flag);
        contest().rules().currentDay = qint16(day);
    }
    // The contest after 賞位決定 with `day` days confirmed.
    void confirmedDays(int day)
    {
        setPhase(10 + day, day);
        contest().rules().rulesStart = 1;
    }

    ui::MainWindow &window()
    {
        if (!m_window)
            m_window = std::make_unique<ui::MainWindow>(contest());
        return *m_window;
    }

    QAction *action(const char *name)
    {
        return window().findChild<QAction *>(QString::fromLatin1(name));
    }

    template<typename T> T *control(const char *name)
    {
        return child<T>(window(), QString::fromLatin1(name));
    }

    TempContest temp;

private:
    Contest *m_contest = nullptr;
    std::unique_ptr<ui::MainWindow> m_window;
};

} // namespace kc::test
