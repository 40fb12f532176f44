#include "ScoringFixture.h"
#include "scoring/DayConfirmation.h"
#include "ui/TorikumiWindow.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "WidgetLookup.h"

using namespace kc;
using namespace kc::test;

namespace {

using kc::test::child;

// Default roster: button 12 is slot 11 (前頭 first row, east).
class TorikumiBoutInput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Contest &c = tc.open();
        prepareCompetition(c, 2, true);
        installEntries(c,
                       {makeEntry(QStringLiteral("甲"), {11, 12}, 20),
                        makeEntry(QStringLiteral("乙"), {13, 14}, 21)});
    }
    Contest &c() { return tc.contest(); }
    QPushButton *rikishi(QWidget &w, int slot)
    {
        auto &win = static_cast<ui::TorikumiWindow &>(w);
        for (int i = 0; i < kRosterSlots; ++i)
            if (win.slotAt(i) == slot)
                return child<QPushButton>(w, QStringLiteral("cmdRikishi_%1").arg(i));
        return nullptr;
    }
    QLabel *lno(ui::TorikumiWindow &w, int slot)
    {
        for (int i = 0; i < kRosterSlots; ++i)
            if (w.slotAt(i) == slot)
                return child<QLabel>(w, QStringLiteral("Lno_%1").arg(i));
        return nullptr;
    }
    int mark(int slot, int day) { return c().roster().wrestlers[slot].dayResult[day - 1]; }

    TempContest tc;
};

TEST_F(TorikumiBoutInput, MouseButtonsStepTheMarkOfTheShownDay)
{
    ui::TorikumiWindow w(c(), ui::TorikumiWindow::Mode::Input);
    w.show();
    EXPECT_EQ(child<QLineEdit>(w, QStringLiteral("txDAY"))->text(), u"1");
    QPushButton *b = rikishi(w, 11);
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(mark(11, 1), MarkWin);
    EXPECT_TRUE(b->styleSheet().contains(u"#ffba00"));
    EXPECT_EQ(lno(w, 11)->text(), u"1");
    QTest::mouseClick(b, Qt::LeftButton);
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(mark(11, 1), MarkGold);
    EXPECT_TRUE(b->styleSheet().contains(u"#ffff94"));
    // Any other button steps back; from 黒星 back to 休場.
    QTest::mouseClick(b, Qt::RightButton);
    QTest::mouseClick(b, Qt::RightButton);
    QTest::mouseClick(b, Qt::RightButton);
    EXPECT_EQ(mark(11, 1), MarkLoss);
    QTest::mouseClick(b, Qt::RightButton);
    EXPECT_EQ(mark(11, 1), MarkAbsent);
    EXPECT_TRUE(b->styleSheet().contains(u"#6c6c6c"));
    EXPECT_EQ(w.focusWidget(), child<QPushButton>(w, QStringLiteral("cmdSave")));

    // Day navigation: 1 is the floor, wins count up to the shown day.
    click(w, QStringLiteral("cmdDOWN"));
    EXPECT_EQ(w.shownDay(), 1);
    c().roster().wrestlers[11].dayResult[0] = MarkWin;
    click(w, QStringLiteral("cmdUP"));
    EXPECT_EQ(child<QLineEdit>(w, QStringLiteral("txDAY"))->text(), u"2");
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(mark(11, 2), MarkWin);
    EXPECT_EQ(lno(w, 11)->text(), u"2");
    for (int i = 0; i < 20; ++i)
        click(w, QStringLiteral("cmdUP"));
    EXPECT_EQ(w.shownDay(), 15);
}

TEST_F(TorikumiBoutInput, ConfirmedDaysAndAbsencesAreLocked)
{
    setMarks(c(), 1, {{12, MarkAbsent}});
    ScriptedRandom random;
    ASSERT_EQ(confirmDay(c(), 1, random), ConfirmOutcome::Confirmed);
    ui::TorikumiWindow w(c(), ui::TorikumiWindow::Mode::Input);
    w.show();
    EXPECT_EQ(w.shownDay(), 2);
    EXPECT_TRUE(
        child<QLineEdit>(w, QStringLiteral("txRDays_0"))->styleSheet().contains(u"#ff0000"));
    EXPECT_FALSE(
        child<QLineEdit>(w, QStringLiteral("txRDays_1"))->styleSheet().contains(u"#ff0000"));
    QTest::mouseClick(rikishi(w, 12), Qt::LeftButton);
    EXPECT_EQ(mark(12, 2), MarkAbsentLater);
    click(w, QStringLiteral("cmdDOWN"));
    QTest::mouseClick(rikishi(w, 11), Qt::LeftButton);
    EXPECT_EQ(mark(11, 1), MarkLoss);
}

TEST_F(TorikumiBoutInput, ConfirmRunsTheDayAndCloses)
{
    setMarks(c(), 1, {{11, MarkWin}, {14, MarkAbsent}});
    ui::TorikumiWindow w(c(), ui::TorikumiWindow::Mode::Input);
    QSignalSpy unloaded(&w, &ui::TorikumiWindow::unloaded);
    w.show();
    click(w, QStringLiteral("cmdDecite"));
    EXPECT_EQ(tc.prompter.questions.size(), 2);
    EXPECT_TRUE(tc.prompter.questions.last().endsWith(u"  の休場を確定しますか。"));
    EXPECT_EQ(c().rules().currentDay, 1);
    EXPECT_EQ(c().entries()[0].dayTotal[0], 2);
    EXPECT_EQ(c().entries()[1].picks[1], 21);
    EXPECT_EQ(tc.prompter.progressTotal, 12); // 5 per entry and the substitution
    EXPECT_EQ(tc.prompter.progressDone, 12);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_FALSE(w.isVisible());
    ASSERT_EQ(unloaded.size(), 1);
    EXPECT_EQ(unloaded.first().first().toInt(), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(w.progressWidthTwips(), 0);
}

TEST_F(TorikumiBoutInput, RefusalKeepsTheWindowOpen)
{
    setMarks(c(), 1, {{11, MarkWin}}, false); // sum 1
    ui::TorikumiWindow w(c(), ui::TorikumiWindow::Mode::Input);
    w.show();
    click(w, QStringLiteral("cmdDecite"));
    EXPECT_EQ(tc.prompter.messages.last(), u"取組結果を確認してください");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(c().rules().currentDay, 0);

    // No to an absence: the window shows the marks put back.
    setMarks(c(), 1, {{13, MarkAbsent}, {14, MarkAbsent}});
    tc.prompter.answers = {true, true, false};
    click(w, QStringLiteral("cmdDecite"));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(mark(13, 1), MarkAbsent);
    EXPECT_EQ(mark(13, 2), MarkLoss);
    EXPECT_TRUE(rikishi(w, 13)->styleSheet().contains(u"#6c6c6c"));
}

TEST_F(TorikumiBoutInput, ProgressBarIsDrawnBelowTheDays)
{
    ui::TorikumiWindow w(c(), ui::TorikumiWindow::Mode::Input);
    w.show();
    w.beginProgress(10);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    w.advanceProgress(5);
    EXPECT_EQ(w.progressWidthTwips(), 290 + 1500 - 308);
    const QImage shot = w.grab().toImage();
    const double perTwip = w.logicalDpiY() / 1440.0;
    const QPoint inBar(int(600 * perTwip), int(7910 * perTwip));
    const QPoint pastBar(int(2500 * perTwip), int(7910 * perTwip));
    EXPECT_EQ(shot.pixelColor(inBar * shot.devicePixelRatio()), QColor(0, 0, 255));
    EXPECT_NE(shot.pixelColor(pastBar * shot.devicePixelRatio()), QColor(0, 0, 255));
    if (qEnvironmentVariableIsSet("KC_SHOT"))
        shot.save(qEnvironmentVariable("KC_SHOT"));
    w.endProgress();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(w.progressWidthTwips(), 0);
}

} // namespace

namespace {

TEST_F(TorikumiBoutInput, ResultFileButtonFillsTheShownDayAndConfirmsNothing)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("day.csv"));
    const QString bad = dir.filePath(QStringLiteral("bad.csv"));
    writeBytes(good, QStringLiteral("力士名,結果\n隆乃若,金\n旭天鵬,休\n").toUtf8());
    writeBytes(bad, QStringLiteral("隆乃若,白\n無名山,白\n").toUtf8());
    ui::TorikumiWindow w(c(), ui::TorikumiWindow::Mode::Input);
    w.show();
    QString chosen = bad;
    w.setFileChooser([&] { return chosen; });
    auto *button = child<QPushButton>(w, QStringLiteral("cmdImport"));
    ASSERT_TRUE(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(mark(11, 1), MarkLoss); // an unknown name changes nothing
    ASSERT_FALSE(tc.prompter.messages.isEmpty());
    EXPECT_TRUE(tc.prompter.messages.last().contains(QStringLiteral("無名山")));
    chosen = good;
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(mark(11, 1), MarkGold);
    EXPECT_EQ(mark(12, 1), MarkAbsent);
    EXPECT_EQ(rikishi(w, 12)->palette().color(QPalette::Button), QColor(108, 108, 108));
    EXPECT_EQ(c().rules().currentDay, 0);
}

} // namespace
