#include "RulesTestSupport.h"

#include "ui/RulesWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;
using kc::ui::RulesWindow;

namespace {

class RulesWindowTest : public ::testing::Test
{
protected:
    void SetUp() override { c = &tc.open(); }

    template<typename W = QLineEdit> W *find(RulesWindow &w, const QString &name)
    {
        W *child = w.findChild<W *>(name);
        EXPECT_TRUE(child) << name.toStdString();
        return child;
    }
    QLineEdit *edit(RulesWindow &w, const QString &name) { return find<QLineEdit>(w, name); }
    QPushButton *button(RulesWindow &w, const QString &name) { return find<QPushButton>(w, name); }
    // The box takes the focus on its tab, and the deferred selection has run.
    void focusOn(RulesWindow &w, QLineEdit *e, int tab)
    {
        find<QTabWidget>(w, QStringLiteral("SSTab1"))->setCurrentIndex(tab);
        e->setFocus();
        QCoreApplication::processEvents();
    }
    void typeEnter(RulesWindow &w, const QString &name, const QString &text)
    {
        QLineEdit *e = edit(w, name);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Return);
    }
    // Names of the rule tab's controls that the phase locks.
    QStringList ruleControls()
    {
        QStringList names {QStringLiteral("txRikishiNum"), QStringLiteral("ChkOzeki"),
                           QStringLiteral("ChkSpair"),     QStringLiteral("OptType_0"),
                           QStringLiteral("OptType_1"),    QStringLiteral("Option1_0"),
                           QStringLiteral("Option1_1"),    QStringLiteral("txKIN"),
                           QStringLiteral("txGin"),        QStringLiteral("chkRepeat"),
                           QStringLiteral("txRwin"),       QStringLiteral("txWpoint")};
        for (int i = 0; i < 7; ++i)
            names << QStringLiteral("txPoint_%1").arg(i);
        return names;
    }
    QStringList prizeControls()
    {
        QStringList names {QStringLiteral("txEmax"), QStringLiteral("txMotiten"),
                           QStringLiteral("txPrizeTotal")};
        for (int i = 0; i < kPrizeRows; ++i)
            names << QStringLiteral("opPrize_%1").arg(i) << QStringLiteral("txRank_%1").arg(i)
                  << QStringLiteral("txPname_%1").arg(i)
                  << QStringLiteral("txPrizePoint_%1").arg(i);
        for (int d = 0; d < kDayPrizes; ++d)
            names << QStringLiteral("opPrize2_%1").arg(d) << QStringLiteral("Text1_%1").arg(d);
        return names;
    }
    void expectEnabled(RulesWindow &w, const QStringList &names, bool enabled)
    {
        for (const QString &n : names) {
            QWidget *child = w.findChild<QWidget *>(n);
            ASSERT_TRUE(child) << n.toStdString();
            EXPECT_EQ(child->isEnabled(), enabled) << n.toStdString();
        }
    }

    TempContest tc;
    Contest *c = nullptr;
};

TEST_F(RulesWindowTest, OpensWithTheDefaults)
{
    RulesWindow w(*c);
    w.show();
    EXPECT_EQ(w.objectName(), u"frmRules");
    EXPECT_EQ(w.windowTitle(), u"ﾙｰﾙの設定");
    auto *tabs = find<QTabWidget>(w, QStringLiteral("SSTab1"));
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), u"ルールの設定");
    EXPECT_EQ(tabs->tabText(1), u"賞位の設定");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(edit(w, QStringLiteral("txRikishiNum"))->text(), u"7");
    EXPECT_EQ(edit(w, QStringLiteral("txPoint_0"))->text(), u"7");
    EXPECT_EQ(edit(w, QStringLiteral("txPoint_6"))->text(), u"1");
    EXPECT_TRUE(edit(w, QStringLiteral("txPoint_6"))->isEnabled());
    EXPECT_FALSE(edit(w, QStringLiteral("txPoint_7"))->isEnabled());
    EXPECT_TRUE(find<QRadioButton>(w, QStringLiteral("OptType_0"))->isChecked());
    EXPECT_EQ(find<QLabel>(w, QStringLiteral("Ltype_0"))->text(), u"点");
    EXPECT_EQ(edit(w, QStringLiteral("txKIN"))->text(), u"10");
    EXPECT_TRUE(find<QCheckBox>(w, QStringLiteral("chkRepeat"))->isChecked());
    EXPECT_TRUE(find<QCheckBox>(w, QStringLiteral("ChkSpair"))->isChecked());
    EXPECT_FALSE(find<QCheckBox>(w, QStringLiteral("ChkOzeki"))->isChecked());
    EXPECT_TRUE(find<QRadioButton>(w, QStringLiteral("Option1_0"))->isChecked());
    EXPECT_EQ(find<QRadioButton>(w, QStringLiteral("Option1_1"))->toolTip(),
              u"ある程度固定されたメンバーで行う場合、こちらの方が面白みがあります。\r\n");
    EXPECT_EQ(edit(w, QStringLiteral("txRwin"))->toolTip(),
              u"得点が与えられる最小連勝数を設定します。");
    EXPECT_EQ(button(w, QStringLiteral("cmdRule"))->text(), u"ルール決定");
    EXPECT_EQ(button(w, QStringLiteral("cmdSave_0"))->text(), u"登　録");
    EXPECT_EQ(button(w, QStringLiteral("cmdPrize"))->text(), u"賞位決定");
    EXPECT_EQ(button(w, QStringLiteral("Command1"))->text(), u"再計算");
    EXPECT_EQ(edit(w, QStringLiteral("txEmax"))->palette().color(QPalette::Base),
              RulesWindow::darkShade());
}

TEST_F(RulesWindowTest, PickCountEnterAndSlotMovement)
{
    RulesWindow w(*c);
    w.show();
    QApplication::setActiveWindow(&w);
    typeEnter(w, QStringLiteral("txRikishiNum"), QStringLiteral("12"));
    EXPECT_EQ(edit(w, QStringLiteral("txRikishiNum"))->text(), u"7");
    typeEnter(w, QStringLiteral("txRikishiNum"), QStringLiteral("3"));
    EXPECT_EQ(edit(w, QStringLiteral("txPoint_0"))->text(), u"3");
    EXPECT_EQ(edit(w, QStringLiteral("txPoint_2"))->text(), u"1");
    EXPECT_EQ(edit(w, QStringLiteral("txPoint_3"))->text(), u"4"); // kept, disabled
    EXPECT_FALSE(edit(w, QStringLiteral("txPoint_3"))->isEnabled());
    EXPECT_TRUE(edit(w, QStringLiteral("txPoint_2"))->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), edit(w, QStringLiteral("txPoint_0")));
    QTest::keyClick(edit(w, QStringLiteral("txPoint_0")), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), edit(w, QStringLiteral("txPoint_1")));
    QTest::keyClick(edit(w, QStringLiteral("txPoint_1")), Qt::Key_Return);
    QTest::keyClick(edit(w, QStringLiteral("txPoint_2")), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), edit(w, QStringLiteral("txPoint_0")));
    EXPECT_TRUE(w.isVisible()); // Enter never closes the window

    // A box selects its text on focus; a prize name without its trailing blanks.
    focusOn(w, edit(w, QStringLiteral("txKIN")), 0);
    EXPECT_EQ(edit(w, QStringLiteral("txKIN"))->selectedText(), u"10");
    edit(w, QStringLiteral("txPname_3"))->setText(QStringLiteral("５位  "));
    focusOn(w, edit(w, QStringLiteral("txPname_3")), 1);
    EXPECT_EQ(edit(w, QStringLiteral("txPname_3"))->selectedText(), u"５位");
    find<QTabWidget>(w, QStringLiteral("SSTab1"))->setCurrentIndex(0);

    find<QRadioButton>(w, QStringLiteral("OptType_1"))->click();
    EXPECT_EQ(find<QLabel>(w, QStringLiteral("Ltype_1"))->text(), u"倍");

    QTest::mouseClick(button(w, QStringLiteral("cmdSave_0")), Qt::LeftButton);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(storedRules(tc).pickCount, 3);
    EXPECT_EQ(storedRules(tc).slotPoints[0], 3);
    EXPECT_EQ(storedRules(tc).bonusType, 0);
}

TEST_F(RulesWindowTest, DecideRulesLocksTheRuleTabOnReopening)
{
    {
        RulesWindow w(*c);
        w.show();
        QTest::mouseClick(button(w, QStringLiteral("cmdRule")), Qt::LeftButton);
        EXPECT_EQ(tc.prompter.questions.size(), 1);
        EXPECT_EQ(w.result(), QDialog::Accepted);
    }
    EXPECT_EQ(c->rules().flag, 1);
    RulesWindow w(*c);
    w.show();
    expectEnabled(w, ruleControls(), false);
    expectEnabled(w, prizeControls(), true);
    EXPECT_TRUE(button(w, QStringLiteral("cmdSave_0"))->isEnabled());
    // ルール決定 now does nothing.
    QTest::mouseClick(button(w, QStringLiteral("cmdRule")), Qt::LeftButton);
    EXPECT_EQ(tc.prompter.questions.size(), 1);
    EXPECT_NE(w.result(), QDialog::Accepted);
}

TEST_F(RulesWindowTest, RuleChangeOpeningIsUnlockedButButtonsSeeThePhase)
{
    registerParticipants(*c, 40, 11);
    RulesWindow *w = RulesWindow::openForRuleChange(*c, nullptr);
    QPointer<RulesWindow> guard(w);
    expectEnabled(*w, ruleControls(), true);
    expectEnabled(*w, prizeControls(), true);
    EXPECT_EQ(c->rules().flag, 11);
    EXPECT_EQ(find<QTabWidget>(*w, QStringLiteral("SSTab1"))->currentIndex(), 0);
    QTest::mouseClick(button(*w, QStringLiteral("cmdRule")), Qt::LeftButton);
    EXPECT_TRUE(tc.prompter.questions.isEmpty()); // Flag is not 0: nothing
    EXPECT_TRUE(w->isVisible());

    edit(*w, QStringLiteral("txKIN"))->setText(QStringLiteral("8"));
    QTest::mouseClick(button(*w, QStringLiteral("cmdSave_0")), Qt::LeftButton);
    EXPECT_EQ(storedRules(tc).goldStarBonus, 8);
    EXPECT_EQ(storedRules(tc).flag, 11);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull()); // closed and deleted
}

TEST_F(RulesWindowTest, PrizeTabWithFortyParticipants)
{
    registerParticipants(*c, 40, 5);
    RulesWindow w(*c);
    w.show();
    EXPECT_EQ(find<QTabWidget>(w, QStringLiteral("SSTab1"))->currentIndex(), 1);
    expectEnabled(w, ruleControls(), false);
    // Rows ranked below the field wait, half-ticked, for it to grow.
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(find<QCheckBox>(w, QStringLiteral("opPrize_%1").arg(i))->checkState(),
                  i <= 7 ? Qt::Checked : Qt::PartiallyChecked);
    EXPECT_EQ(edit(w, QStringLiteral("txPrizeTotal"))->text(), u"90,000");
    EXPECT_EQ(edit(w, QStringLiteral("txMotiten"))->text(), u"2,250");
    EXPECT_EQ(edit(w, QStringLiteral("txEmax"))->text(), u"40");

    // ５０位 cannot be switched on with 40 participants.
    find<QCheckBox>(w, QStringLiteral("opPrize_8"))->click();
    EXPECT_FALSE(find<QCheckBox>(w, QStringLiteral("opPrize_8"))->isChecked());
    // A day prize switched on counts at once.
    find<QCheckBox>(w, QStringLiteral("opPrize2_1"))->click();
    EXPECT_EQ(edit(w, QStringLiteral("txPrizeTotal"))->text(), u"92,000");

    // Points typed and entered switch the row on and move to the next rank box.
    QApplication::setActiveWindow(&w);
    typeEnter(w, QStringLiteral("txPrizePoint_11"), QStringLiteral("1000"));
    EXPECT_FALSE(find<QCheckBox>(w, QStringLiteral("opPrize_11"))->isChecked()); // no rank
    EXPECT_EQ(QApplication::focusWidget(), edit(w, QStringLiteral("txRank_12")));

    // 再計算 changes the shade each time.
    QTest::mouseClick(button(w, QStringLiteral("Command1")), Qt::LeftButton);
    EXPECT_EQ(edit(w, QStringLiteral("txEmax"))->palette().color(QPalette::Base),
              RulesWindow::lightShade());
    QTest::mouseClick(button(w, QStringLiteral("Command1")), Qt::LeftButton);
    EXPECT_EQ(edit(w, QStringLiteral("txMotiten"))->palette().color(QPalette::Base),
              RulesWindow::darkShade());

    // A rank above the field on a row that is on refuses 賞位決定.
    edit(w, QStringLiteral("txRank_2"))->setText(QStringLiteral("150"));
    QTest::mouseClick(button(w, QStringLiteral("cmdPrize")), Qt::LeftButton);
    ASSERT_EQ(tc.prompter.messages.size(), 1);
    EXPECT_EQ(tc.prompter.messages[0],
              u"設定された150位は、参加人数(40)を上回っています。賞位の決定はできません");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(c->rules().rulesStart, 0);

    edit(w, QStringLiteral("txRank_2"))->setText(QStringLiteral("3"));
    QTest::mouseClick(button(w, QStringLiteral("cmdPrize")), Qt::LeftButton);
    EXPECT_EQ(c->rules().rulesStart, 1);
    EXPECT_EQ(c->rules().flag, 10);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(c->database().rowCount(QStringLiteral("PRIZE")), 8 + 1 + 6);
}

TEST_F(RulesWindowTest, ResultsPhaseLocksThePrizeTabButKeepsItsButtons)
{
    registerParticipants(*c, 10, 12);
    RulesWindow w(*c);
    w.show();
    expectEnabled(w, prizeControls(), false);
    expectEnabled(w, ruleControls(), false);
    for (const char *b : {"cmdPrize", "cmdSave_1", "Command1", "cmdSave_0"})
        EXPECT_TRUE(button(w, QString::fromLatin1(b))->isEnabled()) << b;
}

TEST_F(RulesWindowTest, RefusedPickCountKeepsTheWindowOnDecide)
{
    RulesWindow w(*c);
    w.show();
    edit(w, QStringLiteral("txRikishiNum"))->setText(QStringLiteral("11"));
    QTest::mouseClick(button(w, QStringLiteral("cmdRule")), Qt::LeftButton);
    EXPECT_EQ(tc.prompter.messages, QStringList {QStringLiteral("選択力士の数が範囲外です。")});
    EXPECT_EQ(c->rules().flag, 0);
    EXPECT_NE(w.result(), QDialog::Accepted);
}

} // namespace
