#include "EntryTestSupport.h"
#include "MainWindowFixture.h"
#include "ScoringFixture.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

QWidget *topLevel(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

// Triggers an action that opens a modal window; returns the name of the window
// that came up (and closes it), or empty when none did.
QString modalOpenedBy(QAction *action)
{
    QString seen;
    QTimer::singleShot(0, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            seen = modal->objectName();
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
        }
    });
    action->trigger();
    QApplication::processEvents();
    return seen;
}

} // namespace

TEST(MainWindowWiring, MenusOpenTheirWindows)
{
    MainWindowFixture f;
    f.window().show();
    EXPECT_EQ(modalOpenedBy(f.action("MenuRules")), QStringLiteral("frmRules"));
    EXPECT_EQ(modalOpenedBy(f.action("MenuMakeBan")), QStringLiteral("frmRentry"));
    f.temp.prompter.answers = {true};
    EXPECT_EQ(modalOpenedBy(f.action("mmRename")), QStringLiteral("frmReName"));
    // Before the competition the bout-result window stays shut.
    EXPECT_EQ(modalOpenedBy(f.action("TorikumiKekka")), QString());
    // After 受付終了 it is offered but opens only after 賞位決定, and says so.
    f.contest().rules().flag = 5;
    f.window().refreshState();
    EXPECT_EQ(modalOpenedBy(f.action("TorikumiKekka")), QString());
    ASSERT_FALSE(f.temp.prompter.messages.isEmpty());
    EXPECT_TRUE(f.temp.prompter.messages.last().contains(QStringLiteral("賞位の設定")));
    f.contest().rules().flag = 10;
    f.contest().rules().rulesStart = 1;
    f.window().refreshState();
    EXPECT_EQ(modalOpenedBy(f.action("TorikumiKekka")), QStringLiteral("frmTorikumi"));
    EXPECT_EQ(modalOpenedBy(f.action("mmResult")), QStringLiteral("frmPrize"));

    // The chart opens without blocking, and a second choice brings the same one forward.
    f.contest().rules().flag = 12;
    f.contest().rules().currentDay = 2;
    f.window().refreshState();
    f.action("mmHoshitori")->trigger();
    f.action("mmHoshitori")->trigger();
    QApplication::processEvents();
    int charts = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        charts += w->objectName() == u"frmHoshi" && w->isVisible();
    EXPECT_EQ(charts, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    if (QWidget *chart = topLevel(QStringLiteral("frmHoshi"));
        chart && qEnvironmentVariableIsSet("KC_SHOT"))
        chart->grab().save(qEnvironmentVariable("KC_SHOT"));
}

TEST(MainWindowWiring, EntryWindowDisablesTheMainWindowAndChartLooksUpNumbers)
{
    MainWindowFixture f;
    f.window().show();
    f.action("KyokaiEntry")->trigger(); // Flag 0: nothing
    EXPECT_EQ(topLevel(QStringLiteral("frmEntry2")), nullptr);

    f.contest().rules().flag = 1;
    f.window().refreshState();
    f.action("KyokaiEntry")->trigger();
    QWidget *entry = topLevel(QStringLiteral("frmEntry2"));
    ASSERT_NE(entry, nullptr);
    EXPECT_FALSE(f.window().isEnabled());

    entry->findChild<QPushButton *>(QStringLiteral("cmd"))->click(); // 力士参照
    QWidget *chart = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == u"frmTorikumi" && w->isVisible())
            chart = w;
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->findChild<QWidget *>(QStringLiteral("Lno_0"))->isVisible());
    // Again: the same chart comes forward, no second one opens.
    entry->findChild<QPushButton *>(QStringLiteral("cmd"))->click();
    int charts = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        charts += w->objectName() == u"frmTorikumi" && w->isVisible();
    EXPECT_EQ(charts, 1);

    entry->findChild<QPushButton *>(QStringLiteral("cmdEXIT"))->click();
    QApplication::processEvents();
    EXPECT_TRUE(f.window().isEnabled());
    EXPECT_EQ(topLevel(QStringLiteral("frmTorikumi")), nullptr); // the chart goes with it
}

TEST(MainWindowWiring, ReceptionCloseWithNobodyAsksFirst)
{
    MainWindowFixture f;
    f.contest().rules().flag = 1;
    f.window().refreshState();
    f.temp.prompter.answers = {false};
    f.action("MenuGameStart")->trigger();
    ASSERT_EQ(f.temp.prompter.questions.size(), 1);
    EXPECT_TRUE(f.temp.prompter.questions[0].startsWith(
        QStringLiteral("参加者が一人も登録されていません。")));
    EXPECT_TRUE(f.temp.prompter.lastQuestion.defaultNo);
    EXPECT_EQ(f.contest().rules().flag, 1);
    EXPECT_TRUE(f.action("KyokaiEntry")->isEnabled());
}

TEST(MainWindowWiring, ReceptionCloseAndRestartFromTheMenus)
{
    MainWindowFixture f;
    f.contest().rules().flag = 3;
    f.addEntries(2);
    f.window().refreshState();
    f.temp.prompter.answers = {true};
    f.action("MenuGameStart")->trigger();
    EXPECT_TRUE(f.temp.prompter.questions.value(0).startsWith(
        QStringLiteral("受付を終了します。これ以後の変更は受け付けません。")));
    EXPECT_EQ(f.contest().rules().flag, 5);
    EXPECT_TRUE(QFile::exists(f.contest().paths().entryBak));
    // It says where the pages went.
    EXPECT_TRUE(f.temp.prompter.messages.last().contains(QStringLiteral("Entry.html")));
    EXPECT_TRUE(f.action("mmShoui")->isEnabled()); // the menus follow the new phase

    f.confirmedDays(2);
    // A substitution has taken the head of the queue: the grid's 予備力士 keeps
    // the registered reserve, when the table is rebuilt and after 取組結果の変更.
    EntryRecord &e = f.contest().entries()[0];
    e.reserve = 20;
    e.reserveList = {21, 22, 23, 24, 25, 26, 27, 28, 29, kNoWrestler};
    f.contest().rebuildEntryTable();
    f.contest().saveEntries();
    expectMirror(f.contest());
    f.window().refreshState();
    f.temp.prompter.answers = {true};
    f.action("mmCrear")->trigger();
    expectMirror(f.contest());
    EXPECT_EQ(f.contest().rules().flag, 10);
    EXPECT_EQ(f.contest().rules().currentDay, 0);
    EXPECT_EQ(f.control<QLineEdit>("txUpDown")->text(), QStringLiteral("0"));
}

TEST(MainWindowWiring, DayBoxSelectsItsTextOnFocus)
{
    MainWindowFixture f;
    f.window().show();
    QApplication::setActiveWindow(&f.window());
    auto *box = f.control<QLineEdit>("txUpDown");
    box->setText(QStringLiteral("12"));
    box->deselect();
    box->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(box->selectedText(), QStringLiteral("12"));
}

TEST(MainWindowWiring, AfterConfirmingADayAStrayEnterOpensNothing)
{
    MainWindowFixture f;
    prepareCompetition(f.contest(), 2, false);
    installEntries(f.contest(), {makeEntry(QStringLiteral("甲"), {11, 12}, 20)});
    setMarks(f.contest(), 1, {{11, MarkWin}, {12, MarkGold}, {13, MarkWin}});
    f.window().show();
    f.window().refreshState();
    QTimer::singleShot(0, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->findChild<QPushButton *>(QStringLiteral("cmdDecite"))->click();
    });
    f.control<QPushButton>("cmdNow")->click();
    ASSERT_EQ(f.contest().rules().currentDay, 1);
    auto *grid = f.control<QTableView>("DataGrid1");
    EXPECT_EQ(f.window().focusWidget(), grid);
    // The grid ignores Enter, and Tab leaves it for the next control.
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(f.contest().rules().currentDay, 1);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_NE(f.window().focusWidget(), grid);
}
