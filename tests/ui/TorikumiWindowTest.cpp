#include "TestSupport.h"

#include "banzuke/Renaming.h"
#include "store/RecordFile.h"
#include "ui/TorikumiWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "WidgetLookup.h"

using namespace kc;
using kc::test::TempContest;

namespace {

using kc::test::child;
using kc::test::click;

QPushButton *button(QWidget &w, int i)
{
    return child<QPushButton>(w, QStringLiteral("cmdRikishi_%1").arg(i));
}

QLabel *lno(QWidget &w, int i)
{
    return child<QLabel>(w, QStringLiteral("Lno_%1").arg(i));
}

const QStringList kInputOnly {
    QStringLiteral("cmdUP"),   QStringLiteral("cmdDOWN"),   QStringLiteral("txDAY"),
    QStringLiteral("Label2"),  QStringLiteral("cmdDecite"), QStringLiteral("Text1_0"),
    QStringLiteral("Text1_4"), QStringLiteral("txRDays_0"), QStringLiteral("txRDays_14")};

} // namespace

TEST(TorikumiChart, ButtonsInBanzukeLayoutWithNumbers)
{
    TempContest tc;
    Contest &c = tc.open();
    ui::TorikumiWindow w(c, ui::TorikumiWindow::Mode::Chart);
    EXPECT_EQ(w.windowTitle(), u"番付表（力士番号）");
    EXPECT_EQ(child<QLabel>(w, QStringLiteral("Label1"))->text(),
              u"　　　　東　　　　　　　　　　　　西");

    // Default roster: ōzeki on rows 1-3, the third with no west; sekiwake from row 4.
    EXPECT_EQ(button(w, 0)->text(), u"武蔵丸");
    EXPECT_EQ(button(w, 6)->text(), u"朝青龍");
    EXPECT_TRUE(button(w, 7)->isHidden());
    EXPECT_TRUE(lno(w, 7)->isHidden());
    EXPECT_EQ(button(w, 8)->text(), u"若の里");
    EXPECT_EQ(w.numberAt(8), 17);
    EXPECT_EQ(w.numberAt(7), 999);
    // Numbers are the wrestler numbers, not the button positions.
    EXPECT_EQ(lno(w, 0)->text(), u"10");
    EXPECT_EQ(lno(w, 8)->text(), u"17");
    EXPECT_EQ(lno(w, 40)->text(), u"49");
    EXPECT_TRUE(button(w, 41)->isHidden()); // 29 maegashira: the last row has no west

    EXPECT_EQ(child<QLabel>(w, QStringLiteral("Yaku_0"))->text(), u"横綱");
    EXPECT_EQ(child<QLabel>(w, QStringLiteral("Yaku_1"))->text(), u"大関");
    EXPECT_TRUE(child<QLabel>(w, QStringLiteral("Yaku_2"))->text().isEmpty());
    EXPECT_EQ(child<QLabel>(w, QStringLiteral("Yaku_6"))->text(), u"前1");
    EXPECT_EQ(child<QLabel>(w, QStringLiteral("Yaku_20"))->text(), u"前15");

    // East buttons left of west ones, row by row.
    EXPECT_LT(button(w, 0)->x(), button(w, 1)->x());
    EXPECT_EQ(button(w, 0)->y(), button(w, 1)->y());
    EXPECT_LT(button(w, 0)->y(), button(w, 2)->y());

    for (int i : {0, 1, 6, 8, 40})
        EXPECT_FALSE(button(w, i)->isEnabled()) << i;
    EXPECT_TRUE(button(w, 0)->styleSheet().contains(u"#ffffff"));
    for (const QString &name : kInputOnly)
        EXPECT_TRUE(child<QWidget>(w, name)->isHidden()) << name.toStdString();
    EXPECT_FALSE(child<QPushButton>(w, QStringLiteral("cmdSave"))->isHidden());
    EXPECT_EQ(child<QPushButton>(w, QStringLiteral("cmdSave"))->text(), u"閉じる");
}

TEST(TorikumiChart, CloseWritesTheUnchangedWrestlerRecords)
{
    TempContest tc;
    Contest &c = tc.open();
    c.roster().wrestlers[3].dayResult[0] = MarkWin;
    ui::TorikumiWindow w(c, ui::TorikumiWindow::Mode::Chart);
    int unloadedDay = -1;
    QObject::connect(&w, &ui::TorikumiWindow::unloaded, [&](int d) { unloadedDay = d; });
    QTest::mouseClick(button(w, 3), Qt::LeftButton); // disabled: no change
    click(w, QStringLiteral("cmdSave"));
    EXPECT_EQ(unloadedDay, 0);
    const auto records = recordfile::readAll<WrestlerRecord>(
        c.files(), tc.dataFile(QStringLiteral("Rikishi.Dat")));
    ASSERT_EQ(records.size(), 40u);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(records[i], c.roster().wrestlers[i]) << i;
    EXPECT_EQ(records[3].dayResult[0], MarkWin);
}

TEST(TorikumiChart, OpenChartReloadsNamesAndKeepsResults)
{
    TempContest tc;
    Contest &c = tc.open();
    c.roster().wrestlers[0].dayResult[4] = MarkGold;
    c.roster().wrestlers[1].name = QStringLiteral("古い名"); // reloaded from the banzuke
    QPointer<ui::TorikumiWindow> w = ui::TorikumiWindow::openChart(c, nullptr);
    ASSERT_TRUE(w);
    EXPECT_FALSE(w->isModal());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(button(*w, 1)->text(), u"貴乃花");
    EXPECT_EQ(c.roster().wrestlers[0].dayResult[4], MarkGold);
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}

TEST(TorikumiInput, MarkColoursAndWinsOfTheShownDay)
{
    TempContest tc;
    Contest &c = tc.open();
    c.rules().currentDay = 2;
    auto &r = c.roster().wrestlers;
    r[0].dayResult = {MarkWin, MarkGold, MarkSilver};
    r[1].dayResult = {MarkAbsentConfirmed, MarkAbsentLater, MarkAbsentLater};
    ui::TorikumiWindow w(c, ui::TorikumiWindow::Mode::Input);
    EXPECT_EQ(w.shownDay(), 3);
    EXPECT_EQ(child<QLineEdit>(w, QStringLiteral("txDAY"))->text(), u"3");
    EXPECT_TRUE(button(w, 0)->isEnabled());
    EXPECT_TRUE(button(w, 0)->styleSheet().contains(u"#b5d0ff")); // 銀星
    EXPECT_TRUE(button(w, 1)->styleSheet().contains(u"#6c6c6c")); // 休場
    EXPECT_EQ(lno(w, 0)->text(), u"3");
    EXPECT_EQ(lno(w, 1)->text(), u"0");
    EXPECT_TRUE(
        child<QLineEdit>(w, QStringLiteral("txRDays_1"))->styleSheet().contains(u"#ff0000"));
    EXPECT_FALSE(
        child<QLineEdit>(w, QStringLiteral("txRDays_2"))->styleSheet().contains(u"#ff0000"));
    for (const QString &name : kInputOnly)
        EXPECT_FALSE(child<QWidget>(w, name)->isHidden()) << name.toStdString();

    w.showDay(1);
    EXPECT_TRUE(button(w, 0)->styleSheet().contains(u"#ffba00")); // 白星
    EXPECT_EQ(lno(w, 0)->text(), u"1");
    w.showDay(0);
    EXPECT_EQ(w.shownDay(), 1);
    EXPECT_EQ(ui::TorikumiWindow::markColour(MarkGold, w.palette()), QColor(255, 255, 148));
    EXPECT_EQ(ui::TorikumiWindow::markColour(MarkAbsentLater, w.palette()),
              ui::TorikumiWindow::markColour(MarkAbsent, w.palette()));
    EXPECT_EQ(ui::TorikumiWindow::markColour(MarkLoss, w.palette()),
              w.palette().color(QPalette::Button));
}

TEST(TorikumiInput, AfterDayFifteenOnlyClosing)
{
    TempContest tc;
    Contest &c = tc.open();
    c.rules().currentDay = 15;
    ui::TorikumiWindow w(c, ui::TorikumiWindow::Mode::Input);
    EXPECT_EQ(w.shownDay(), 15);
    EXPECT_TRUE(child<QPushButton>(w, QStringLiteral("cmdDecite"))->isHidden());
    const double dpi = w.screen() ? w.screen()->logicalDotsPerInchY() : 96.0;
    EXPECT_EQ(child<QPushButton>(w, QStringLiteral("cmdSave"))->y(), int(240 * dpi / 1440 + 0.5));
}
