#include "TestSupport.h"

#include "ui/RenameWindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "WidgetLookup.h"

using namespace kc;
using kc::test::TempContest;

namespace {

using kc::test::child;
using kc::test::click;

void retype(QLineEdit *e, const QString &text)
{
    e->selectAll();
    e->insert(text);
}

} // namespace

TEST(RenameWindow, ShowsNumbersAndNamesAndSavesOnReName)
{
    TempContest tc;
    Contest &c = tc.open();
    renaming::RenameSession session(c);
    ui::RenameWindow w(session);
    EXPECT_EQ(w.windowTitle(), u"力士名の変更");
    EXPECT_EQ(child<QLabel>(w, QStringLiteral("Ini_0"))->text(), u"10:武蔵丸");
    EXPECT_EQ(child<QLabel>(w, QStringLiteral("Ini_39"))->text(), u"49:金開山");
    EXPECT_EQ(child<QLineEdit>(w, QStringLiteral("tx_6"))->text(), u"朝青龍");
    EXPECT_TRUE(child<QLineEdit>(w, QStringLiteral("tx_40"))->isHidden()); // no wrestler
    EXPECT_EQ(child<QPushButton>(w, QStringLiteral("cmdReName"))->text(), u"登録終了");
    EXPECT_EQ(child<QPushButton>(w, QStringLiteral("cmdCancel"))->text(), u"キャンセル");

    retype(child<QLineEdit>(w, QStringLiteral("tx_6")), QStringLiteral("朝青"));
    click(w, QStringLiteral("cmdReName"));
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_TRUE(session.namesChanged());
    EXPECT_EQ(c.roster().name(6), u"朝青");
    EXPECT_EQ(kc::test::readBytes(tc.dataFile(QStringLiteral("Rename.Dat"))).size(), 4000);

    // Opening again shows the new name from the list.
    renaming::RenameSession second(c);
    ui::RenameWindow again(second);
    EXPECT_EQ(child<QLabel>(again, QStringLiteral("Ini_6"))->text(), u"16:朝青");
    EXPECT_EQ(child<QLineEdit>(again, QStringLiteral("tx_6"))->text(), u"朝青");
}

TEST(RenameWindow, CancelAndRefusalsWriteNothing)
{
    TempContest tc;
    Contest &c = tc.open();
    renaming::RenameSession session(c);
    ui::RenameWindow w(session);
    retype(child<QLineEdit>(w, QStringLiteral("tx_1")), QString());
    click(w, QStringLiteral("cmdReName"));
    ASSERT_EQ(tc.prompter.messages.size(), 1);
    EXPECT_TRUE(tc.prompter.messages[0].contains(u"11番"));
    EXPECT_NE(w.result(), QDialog::Accepted);

    retype(child<QLineEdit>(w, QStringLiteral("tx_1")), QStringLiteral("貴"));
    click(w, QStringLiteral("cmdCancel"));
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_FALSE(session.namesChanged());
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Rename.Dat"))));
    EXPECT_EQ(c.roster().name(1), u"貴乃花");
}

TEST(RenameWindow, RunAsksThenOpensModally)
{
    TempContest tc;
    Contest &c = tc.open();
    tc.prompter.answers = {false};
    EXPECT_FALSE(ui::RenameWindow::run(c, nullptr));
    EXPECT_EQ(tc.prompter.questions,
              QStringList {QStringLiteral("力士名変換ﾃｰﾌﾞﾙのﾃﾞｰﾀを参照いたします。")});

    bool sawWindow = false;
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        sawWindow = modal->objectName() == u"frmReName";
        retype(child<QLineEdit>(*modal, QStringLiteral("tx_0")), QStringLiteral("武蔵"));
        click(*modal, QStringLiteral("cmdReName"));
    });
    EXPECT_TRUE(ui::RenameWindow::run(c, nullptr));
    EXPECT_TRUE(sawWindow);
    EXPECT_EQ(c.roster().name(0), u"武蔵");

    tc.prompter.answers = {true};
    EXPECT_TRUE(ui::RenameWindow::killRenameList(c));
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Rename.Dat"))));
}
