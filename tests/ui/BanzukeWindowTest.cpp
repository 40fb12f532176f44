#include "TestSupport.h"

#include "ui/BanzukeWindow.h"
#include "ui/NamesPanelGeometry.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "WidgetLookup.h"

using namespace kc;
using kc::test::TempContest;

namespace {

using kc::test::child;
using kc::test::click;

QLineEdit *box(QWidget &w, const QString &name)
{
    return child<QLineEdit>(w, name);
}

// What the input method delivers: whole Japanese text at the cursor.
void typeText(QLineEdit *e, const QString &text)
{
    e->insert(text);
}

void typeCounts(QWidget &w, const std::array<int, 5> &n)
{
    for (int g = 0; g < 5; ++g) {
        QLineEdit *e = box(w, QStringLiteral("txNinzu_%1").arg(g));
        e->clear();
        QTest::keyClicks(e, QString::number(n[g]));
    }
}

int px(const QWidget &w, int twips)
{
    const double dpi = w.screen() ? w.screen()->logicalDotsPerInchY() : 96.0;
    return int(twips * dpi / 1440.0 + 0.5);
}

BanzukeRecord storedBanzuke(TempContest &tc)
{
    return BanzukeRecord::decode(kc::test::readBytes(tc.dataFile(QStringLiteral("Banzuke.Dat"))));
}

} // namespace

TEST(BanzukeWindowCounts, DefaultCountsLayTheNamesPanelOut)
{
    TempContest tc;
    Contest &c = tc.open();
    ui::BanzukeWindow w(c);
    EXPECT_EQ(w.windowTitle(), u"番付登録");
    EXPECT_TRUE(child<QFrame>(w, QStringLiteral("Picture1"))->isHidden());

    typeCounts(w, {2, 5, 2, 2, 29});
    EXPECT_EQ(box(w, QStringLiteral("Text1"))->text(), u"40");
    click(w, QStringLiteral("cmdOK"));
    EXPECT_TRUE(tc.prompter.messages.isEmpty());
    EXPECT_FALSE(child<QFrame>(w, QStringLiteral("Picture1"))->isHidden());
    EXPECT_TRUE(child<QPushButton>(w, QStringLiteral("cmdOK"))->isHidden());
    EXPECT_FALSE(box(w, QStringLiteral("txNinzu_0"))->isEnabled());

    auto yaku = [&](int i) { return child<QLabel>(w, QStringLiteral("Yaku_%1").arg(i)); };
    EXPECT_EQ(yaku(0)->text(), u"横綱");
    EXPECT_EQ(yaku(1)->text(), u"大関");
    EXPECT_EQ(yaku(4)->text(), u"関脇");
    EXPECT_EQ(yaku(20)->text(), u"前15");
    EXPECT_FALSE(yaku(20)->isHidden());
    EXPECT_TRUE(yaku(21)->isHidden()); // 21 rows

    // Twips as the panel's geometry gives them for the default counts.
    const NamesPanelLayout layout = registration::layoutFor(RankCounts {{2, 5, 2, 2, 29}});
    EXPECT_EQ(namespanel::boxLeft(layout, 0), 480);
    EXPECT_EQ(namespanel::boxLeft(layout, 1), 2760);
    EXPECT_EQ(namespanel::boxTop(layout, 0), 700);
    EXPECT_EQ(namespanel::boxTop(layout, 6), 700 + 270 * 3);
    EXPECT_EQ(namespanel::boxTop(layout, 39), 700 + 270 * 20);
    // Twips 480 / 2760 across, 700 + 270·row down, at the screen's resolution.
    auto geometry
        = [&](int slot) { return box(w, QStringLiteral("txR_%1").arg(slot))->geometry(); };
    EXPECT_EQ(geometry(0).topLeft(), QPoint(px(w, 480), px(w, 700)));
    EXPECT_EQ(geometry(1).topLeft(), QPoint(px(w, 2760), px(w, 700)));
    EXPECT_EQ(geometry(6).topLeft(), QPoint(px(w, 480), px(w, 700 + 270 * 3)));
    EXPECT_EQ(geometry(7).topLeft(), QPoint(px(w, 480), px(w, 700 + 270 * 4)));
    EXPECT_EQ(geometry(39).top(), px(w, 700 + 270 * 20));
    EXPECT_FALSE(box(w, QStringLiteral("txR_39"))->isHidden());
    EXPECT_TRUE(box(w, QStringLiteral("txR_40"))->isHidden());
    // Nothing else sits on the third ōzeki row.
    for (int slot = 0; slot < 40; ++slot)
        if (slot != 6) {
            EXPECT_NE(geometry(slot).top(), geometry(6).top()) << slot;
        }

    click(w, QStringLiteral("cmdCancel"));
    EXPECT_TRUE(child<QFrame>(w, QStringLiteral("Picture1"))->isHidden());
    EXPECT_TRUE(box(w, QStringLiteral("txNinzu_0"))->isEnabled());
}

TEST(BanzukeWindowCounts, FortyTwoAcceptedFortyThreeRefused)
{
    TempContest tc;
    Contest &c = tc.open();
    ui::BanzukeWindow w(c);
    typeCounts(w, {2, 4, 2, 2, 33});
    click(w, QStringLiteral("cmdOK"));
    EXPECT_EQ(tc.prompter.messages,
              QStringList {QStringLiteral("登録できる力士数は42名までです。")});
    EXPECT_TRUE(child<QFrame>(w, QStringLiteral("Picture1"))->isHidden());

    typeCounts(w, {2, 4, 2, 2, 32});
    click(w, QStringLiteral("cmdOK"));
    EXPECT_EQ(tc.prompter.messages.size(), 1);
    EXPECT_FALSE(child<QFrame>(w, QStringLiteral("Picture1"))->isHidden());
    EXPECT_FALSE(box(w, QStringLiteral("txR_41"))->isHidden());
}

TEST(BanzukeWindowNames, OnlyNamesConfirmedWithEnterAreSaved)
{
    TempContest tc;
    Contest &c = tc.open();
    ui::BanzukeWindow w(c);
    typeText(box(w, QStringLiteral("txBasho")), QStringLiteral("令和7年　九月"));
    QTest::keyClicks(box(w, QStringLiteral("txBname")), QStringLiteral("2509"));
    typeCounts(w, {1, 1, 0, 0, 2});
    click(w, QStringLiteral("cmdOK"));
    const QStringList names {QStringLiteral("大の里"), QStringLiteral("琴櫻"),
                             QStringLiteral("王鵬"), QStringLiteral("高安")};
    for (int i = 0; i < 4; ++i) {
        QLineEdit *e = box(w, QStringLiteral("txR_%1").arg(i));
        typeText(e, names[i]);
        if (i != 2)
            QTest::keyClick(e, Qt::Key_Return);
    }
    tc.prompter.answers = {false};
    click(w, QStringLiteral("cmdOKOK"));
    EXPECT_EQ(tc.prompter.questions, QStringList {QStringLiteral("番付をﾌｧｲﾙに登録します。")});
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Banzuke.Dat"))));

    click(w, QStringLiteral("cmdOKOK"));
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_TRUE(w.saved());
    const BanzukeRecord b = storedBanzuke(tc);
    EXPECT_EQ(b.wrestlerCount, 4);
    EXPECT_EQ(b.bashoName.trimmed(), u"令和7年　九月");
    EXPECT_EQ(b.bashoCode.trimmed(), u"2509");
    EXPECT_EQ(b.names[0].trimmed(), u"大の里");
    EXPECT_EQ(b.names[1].trimmed(), u"琴櫻");
    EXPECT_TRUE(b.names[2].trimmed().isEmpty()); // typed, never confirmed
    EXPECT_EQ(b.names[3].trimmed(), u"高安");
    EXPECT_EQ(b.rankCodes[0], 4);
    EXPECT_EQ(b.rankCodes[1], 3);
    EXPECT_EQ(c.roster().wrestlerCount, 4); // reloaded
    EXPECT_EQ(c.roster().name(3), u"高安");
}

TEST(BanzukeWindowNames, EnterMovesTheFocus)
{
    TempContest tc;
    Contest &c = tc.open();
    ui::BanzukeWindow w(c);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    box(w, QStringLiteral("txBasho"))->setFocus();
    QTest::keyClick(box(w, QStringLiteral("txBasho")), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), box(w, QStringLiteral("txNinzu_0")));
    QTest::keyClick(box(w, QStringLiteral("txNinzu_4")), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), child<QPushButton>(w, QStringLiteral("cmdOK")));

    typeCounts(w, {0, 0, 0, 0, 3});
    click(w, QStringLiteral("cmdOK"));
    EXPECT_EQ(QApplication::focusWidget(), box(w, QStringLiteral("txR_0")));
    QTest::keyClick(box(w, QStringLiteral("txR_1")), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), box(w, QStringLiteral("txR_2")));
    QTest::keyClick(box(w, QStringLiteral("txR_2")), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), box(w, QStringLiteral("txR_0"))); // after the last
    w.close();
}

TEST(BanzukeWindowClose, Command1LeavesBanzukeDatUntouched)
{
    TempContest tc;
    Contest &c = tc.open();
    BanzukeRecord b;
    b.bashoName = QStringLiteral("前の場所");
    b.bashoCode = QStringLiteral("2507");
    b.wrestlerCount = 3;
    b.names = {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")};
    b.rankCodes = {4, 0, 0};
    kc::test::writeBytes(tc.dataFile(QStringLiteral("Banzuke.Dat")), b.encode());
    const QByteArray before = kc::test::readBytes(tc.dataFile(QStringLiteral("Banzuke.Dat")));

    ui::BanzukeWindow w(c);
    // Opening shows the stored banzuke.
    EXPECT_EQ(box(w, QStringLiteral("txBasho"))->text(), u"前の場所");
    EXPECT_EQ(box(w, QStringLiteral("txNinzu_0"))->text(), u"1");
    EXPECT_EQ(box(w, QStringLiteral("txNinzu_4"))->text(), u"2");
    EXPECT_EQ(box(w, QStringLiteral("txR_2"))->text(), u"丙");
    EXPECT_FALSE(child<QFrame>(w, QStringLiteral("Picture1"))->isHidden());

    QLineEdit *first = box(w, QStringLiteral("txR_0"));
    first->clear();
    typeText(first, QStringLiteral("丁"));
    QTest::keyClick(first, Qt::Key_Return);
    click(w, QStringLiteral("Command1"));
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_FALSE(w.saved());
    EXPECT_TRUE(tc.prompter.questions.isEmpty());
    EXPECT_EQ(kc::test::readBytes(tc.dataFile(QStringLiteral("Banzuke.Dat"))), before);
}

TEST(BanzukeWindowImport, FillsTheBoxesForCheckingBeforeSaving)
{
    TempContest tc;
    Contest &c = tc.open();
    QTemporaryDir files;
    const QString good = files.path() + QStringLiteral("/b.csv");
    kc::test::writeBytes(good,
                         QStringLiteral("場所名,令和7年　九月\n場所コード,2509\n"
                                        "横綱,大の里\n大関,琴櫻\n前頭,王鵬\n")
                             .toUtf8());
    const QString bad = files.path() + QStringLiteral("/bad.txt");
    kc::test::writeBytes(bad, QStringLiteral("場所\n0001\n前頭 甲\n横綱 乙\n").toUtf8());

    ui::BanzukeWindow w(c);
    QString chosen = bad;
    w.setFileChooser([&] { return chosen; });
    click(w, QStringLiteral("cmdImport"));
    ASSERT_EQ(tc.prompter.messages.size(), 1);
    EXPECT_TRUE(tc.prompter.messages[0].contains(u"bad.txt 4行目"))
        << tc.prompter.messages[0].toStdString();
    EXPECT_TRUE(child<QFrame>(w, QStringLiteral("Picture1"))->isHidden());

    chosen = good;
    click(w, QStringLiteral("cmdImport"));
    EXPECT_EQ(tc.prompter.messages.size(), 1);
    EXPECT_EQ(box(w, QStringLiteral("txBasho"))->text(), u"令和7年　九月");
    EXPECT_EQ(box(w, QStringLiteral("txNinzu_1"))->text(), u"1");
    EXPECT_EQ(box(w, QStringLiteral("txR_1"))->text(), u"琴櫻");
    EXPECT_EQ(box(w, QStringLiteral("txR_2"))->geometry().top(), px(w, 700 + 270 * 2));
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Banzuke.Dat"))));

    click(w, QStringLiteral("cmdOKOK"));
    const BanzukeRecord b = storedBanzuke(tc);
    EXPECT_EQ(b.wrestlerCount, 3);
    EXPECT_EQ(b.names[2].trimmed(), u"王鵬");
    EXPECT_EQ(b.bashoCode.trimmed(), u"2509");

    // A downloaded JSON banzuke brings its Latin names along for the result files.
    ui::BanzukeWindow json(c);
    json.setFileChooser([]() -> QString {
        return qEnvironmentVariable("KC_TEST_SOURCE_DIR") + u"/examples/banzuke-makuuchi.json";
    });
    click(json, QStringLiteral("cmdImport"));
    click(json, QStringLiteral("cmdOKOK"));
    EXPECT_TRUE(kc::test::readBytes(tc.dataFile(QStringLiteral("ShikonaEn.txt")))
                    .startsWith(QStringLiteral("朝日山\tAsahiyama\n").toUtf8()));
}
