#include "ui/EntryWindow.h"
#include "EntryTestSupport.h"
#include "WidgetLookup.h"
#include "entries/EntryRegistration.h"
#include "entries/EntryStore.h"
#include "store/RecordFile.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;
using kc::ui::EntryWindow;

namespace {

class EntryWindowTest : public ::testing::Test
{
protected:
    void SetUp() override { contest = &openDecidedContest(tc); }
    void TearDown() override
    {
        if (window)
            window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    EntryWindow &open()
    {
        window = new EntryWindow(*contest, &mainWindow);
        window->setClosedCallback([this] { ++closedCalls; });
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        return *window;
    }
    template<typename T = QWidget> T *w(const QString &name) { return child<T>(*window, name); }
    QLineEdit *box(const QString &name) { return w<QLineEdit>(name); }
    QLineEdit *pick(int i) { return box(QStringLiteral("txRikishiNO_%1").arg(i)); }
    QString text(const QString &name)
    {
        if (auto *l = window->findChild<QLabel *>(name))
            return l->text();
        return box(name)->text();
    }
    // Types text as key presses, Japanese included.
    void type(QLineEdit *target, const QString &text)
    {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void enter(QLineEdit *target) { QTest::keyClick(target, Qt::Key_Return); }
    void click(const QString &name) { test::click(*window, name); }
    bool enabled(const QString &name) { return w(name)->isEnabled(); }
    QColor background(QLineEdit *b) { return b->palette().color(QPalette::Base); }
    QWidget *focused() { return window->focusWidget(); }

    // Types a whole application the way an organiser does, Enter after each box.
    void typeApplication(const QString &shikona, const QStringList &picks, const QString &reserve)
    {
        box(QStringLiteral("txShikona"))->setFocus();
        type(box(QStringLiteral("txShikona")), shikona);
        enter(box(QStringLiteral("txShikona")));
        enter(box(QStringLiteral("txShiko")));
        for (int i = 0; i < picks.size(); ++i) {
            EXPECT_EQ(focused(), pick(i));
            type(pick(i), picks[i]);
            enter(pick(i));
        }
        type(box(QStringLiteral("txYobi")), reserve);
        enter(box(QStringLiteral("txYobi")));
    }

    TempContest tc;
    Contest *contest = nullptr;
    QWidget mainWindow;
    QPointer<EntryWindow> window;
    int closedCalls = 0;
};

const QStringList kPicks {QStringLiteral("20"), QStringLiteral("21"), QStringLiteral("22"),
                          QStringLiteral("23"), QStringLiteral("24"), QStringLiteral("25"),
                          QStringLiteral("26")};

TEST_F(EntryWindowTest, OpensOnTheBlankPageWithTheRulesApplied)
{
    open();
    EXPECT_FALSE(mainWindow.isEnabled());
    EXPECT_EQ(window->objectName(), QStringLiteral("frmEntry2"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("申込受付 [新規登録]"));
    EXPECT_EQ(text(QStringLiteral("txIndex")), QStringLiteral("100"));
    EXPECT_EQ(text(QStringLiteral("Rname_0")), QStringLiteral("7点力士:"));
    EXPECT_EQ(text(QStringLiteral("Rname_6")), QStringLiteral("1点力士:"));
    EXPECT_EQ(text(QStringLiteral("Yname")), QStringLiteral("予備力士:"));
    EXPECT_TRUE(enabled(QStringLiteral("cmdAdd")));
    for (const char *off : {"cmdUpdate", "cmdDel", "cmdP", "cmdPP", "cmdN", "cmdNN"})
        EXPECT_FALSE(enabled(QString::fromLatin1(off))) << off;
    EXPECT_TRUE(enabled(QStringLiteral("cmdTorikomi")));
    EXPECT_TRUE(w<QRadioButton>(QStringLiteral("Opt_1"))->isChecked());
    EXPECT_EQ(focused(), box(QStringLiteral("txShikona")));
    EXPECT_EQ(w<QPushButton>(QStringLiteral("cmd"))->text(), QStringLiteral("力士参照"));
    EXPECT_EQ(w<QPushButton>(QStringLiteral("cmdEXIT"))->text(), QStringLiteral("終了"));
    // The grid shows the ring name, the seven pick columns and 中日計.
    auto *grid = w<QTableView>(QStringLiteral("DataGrid1"));
    EXPECT_TRUE(grid->isColumnHidden(0));
    EXPECT_FALSE(grid->isColumnHidden(1));
    EXPECT_FALSE(grid->isColumnHidden(25));
    EXPECT_TRUE(grid->isColumnHidden(26));
    EXPECT_FALSE(grid->isColumnHidden(30));
    EXPECT_GE(grid->width(), (7 * 700 + 1800) / 15);
    // A ring name of the field's full length and every heading show whole.
    const QFontMetrics fm = grid->fontMetrics();
    for (const QString &name :
         {QStringLiteral("勝ち越し勝ち越し"), QStringLiteral("ABCDEFGHIJKLMNOP")})
        EXPECT_GT(grid->columnWidth(1), fm.horizontalAdvance(name)) << name.toStdString();
    EXPECT_GT(grid->columnWidth(19), fm.horizontalAdvance(QStringLiteral("MOUNTAINWW")));
    EXPECT_GT(grid->columnWidth(30),
              grid->horizontalHeader()->fontMetrics().horizontalAdvance(
                  grid->model()->headerData(30, Qt::Horizontal).toString()));
}

TEST_F(EntryWindowTest, TypingAnApplicationAndAddingRegistersIdHundred)
{
    open();
    typeApplication(QStringLiteral("若葉山"), kPicks, QStringLiteral("30"));
    EXPECT_EQ(text(QStringLiteral("RikishiName_0")), contest->roster().name(10));
    EXPECT_EQ(text(QStringLiteral("YRname")), contest->roster().name(20));
    EXPECT_EQ(focused(), w(QStringLiteral("cmdAdd")));
    QTest::keyClick(w(QStringLiteral("cmdAdd")), Qt::Key_Return);

    ASSERT_EQ(contest->participantCount(), 1);
    EXPECT_EQ(contest->entries()[0].shikona, QStringLiteral("若葉山"));
    EXPECT_EQ(contest->entries()[0].picks[6], 16);
    EXPECT_EQ(contest->entries()[0].reserveList[1], 21);
    EXPECT_EQ(contest->rules().flag, 3);
    expectMirror(*contest);
    // On to the blank page for ID 101, focus at the ring name.
    EXPECT_EQ(text(QStringLiteral("txIndex")), QStringLiteral("101"));
    EXPECT_TRUE(text(QStringLiteral("txShikona")).isEmpty());
    EXPECT_TRUE(text(QStringLiteral("RikishiName_0")).isEmpty());
    EXPECT_EQ(focused(), box(QStringLiteral("txShikona")));
    EXPECT_TRUE(enabled(QStringLiteral("cmdPP")));
    EXPECT_EQ(w<QTableView>(QStringLiteral("DataGrid1"))->model()->rowCount(), 1);
}

TEST_F(EntryWindowTest, TenPicksWithoutReserveGoStraightToAdd)
{
    contest->rules().pickCount = 10;
    for (int i = 0; i < 10; ++i)
        contest->rules().slotPoints[i] = qint16(10 - i);
    contest->rules().useReserve = 0;
    contest->rules().includeTopRanks = 1;
    open();
    EXPECT_EQ(text(QStringLiteral("Rname_9")), QStringLiteral("1点力士:"));
    EXPECT_TRUE(text(QStringLiteral("Yname")).isEmpty());
    EXPECT_FALSE(box(QStringLiteral("txYobi"))->isEnabled());
    box(QStringLiteral("txShikona"))->setText(QStringLiteral("十人"));
    pick(0)->setFocus();
    for (int i = 0; i < 10; ++i) {
        type(pick(i), QString::number(16 + i)); // one ōzeki (16) is allowed now
        enter(pick(i));
        EXPECT_FALSE(pick(i)->text().isEmpty()) << i;
    }
    EXPECT_EQ(focused(), w(QStringLiteral("cmdAdd")));
    QTest::keyClick(w(QStringLiteral("cmdAdd")), Qt::Key_Return);
    ASSERT_EQ(contest->participantCount(), 1);
    EXPECT_EQ(contest->entries()[0].picks[9], 15);
    EXPECT_EQ(contest->entries()[0].reserve, kNoWrestler);
    expectMirror(*contest);
}

TEST_F(EntryWindowTest, EnterMovesThroughTheMemberBoxes)
{
    open();
    w<QRadioButton>(QStringLiteral("Opt_0"))->click();
    EXPECT_EQ(focused(), box(QStringLiteral("txName")));
    const char *order[] = {"txName", "txBirth", "txMail", "txTel", "txFax", "txShikona", "txShiko"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(focused(), box(QString::fromLatin1(order[i])));
        enter(box(QString::fromLatin1(order[i])));
    }
    EXPECT_EQ(focused(), pick(0));
    // A box selects its text (without trailing blanks) when it gets the focus.
    box(QStringLiteral("txMail"))->setText(QStringLiteral("a@b.jp  "));
    box(QStringLiteral("txMail"))->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(box(QStringLiteral("txMail"))->selectedText(), QStringLiteral("a@b.jp"));
}

TEST_F(EntryWindowTest, EnterRejectsOzekiPicksAndTopRankReserves)
{
    open();
    pick(0)->setFocus();
    type(pick(0), QStringLiteral("12")); // an ōzeki, not allowed by these rules
    EXPECT_TRUE(text(QStringLiteral("RikishiName_0")).isEmpty()); // no name for a refused number
    enter(pick(0));
    EXPECT_TRUE(pick(0)->text().isEmpty());
    EXPECT_TRUE(text(QStringLiteral("RikishiName_0")).isEmpty());
    EXPECT_EQ(focused(), pick(0));
    EXPECT_EQ(text(QStringLiteral("ErrMsg")),
              QStringLiteral("今回のルールでは大関、横綱は指定できません。"));
    type(pick(0), QStringLiteral("60")); // outside the roster
    enter(pick(0));
    EXPECT_TRUE(pick(0)->text().isEmpty());

    QLineEdit *yobi = box(QStringLiteral("txYobi"));
    yobi->setFocus();
    type(yobi, QStringLiteral("10")); // a yokozuna is never a reserve
    enter(yobi);
    EXPECT_TRUE(yobi->text().isEmpty());
    EXPECT_EQ(text(QStringLiteral("ErrMsg")),
              QStringLiteral("予備力士に大関、横綱は指定できません。"));
    EXPECT_EQ(background(pick(0)), QColor(255, 255, 255)); // only the latest box is marked
    EXPECT_EQ(focused(), yobi);
    type(yobi, QStringLiteral("5")); // below 10: nothing happens
    enter(yobi);
    EXPECT_EQ(yobi->text(), QStringLiteral("5"));
}

TEST_F(EntryWindowTest, ValidationErrorsAreYellowBeepedAndFocused)
{
    open();
    click(QStringLiteral("cmdAdd"));
    EXPECT_EQ(text(QStringLiteral("ErrMsg")), QStringLiteral("四股名がありません。"));
    EXPECT_EQ(background(box(QStringLiteral("txShikona"))), QColor(255, 255, 0));
    EXPECT_EQ(focused(), box(QStringLiteral("txShikona")));
    type(box(QStringLiteral("txShikona")), QStringLiteral("若"));
    EXPECT_EQ(background(box(QStringLiteral("txShikona"))), QColor(255, 255, 255));
    EXPECT_TRUE(text(QStringLiteral("ErrMsg")).isEmpty());

    // Duplicate on the later box even with an empty box further on.
    pick(0)->setText(QStringLiteral("20"));
    pick(1)->setText(QStringLiteral("21"));
    pick(2)->setText(QStringLiteral("20"));
    click(QStringLiteral("cmdAdd"));
    EXPECT_EQ(text(QStringLiteral("ErrMsg")), QStringLiteral("力士が重複しています。"));
    EXPECT_EQ(background(pick(2)), QColor(255, 255, 0));
    EXPECT_EQ(focused(), pick(2));

    // A number outside the roster, typed without Enter, is refused and not stored.
    for (int i = 0; i < 7; ++i)
        pick(i)->setText(kPicks[i]);
    pick(3)->setText(QStringLiteral("55"));
    box(QStringLiteral("txYobi"))->setText(QStringLiteral("30"));
    click(QStringLiteral("cmdAdd"));
    EXPECT_EQ(text(QStringLiteral("ErrMsg")),
              QStringLiteral("力士番号が正しくありません。10～49の番号を入力してください。"));
    EXPECT_EQ(background(pick(3)), QColor(255, 255, 0));
    EXPECT_EQ(background(pick(2)), QColor(255, 255, 255)); // the earlier mark is gone
    EXPECT_EQ(contest->participantCount(), 0);

    // An ōzeki typed without Enter.
    pick(3)->setText(QStringLiteral("13"));
    click(QStringLiteral("cmdAdd"));
    EXPECT_EQ(text(QStringLiteral("ErrMsg")),
              QStringLiteral("今回のルールでは大関、横綱は指定できません。"));
    EXPECT_EQ(contest->participantCount(), 0);

    // A successful 追加 clears the error display.
    pick(3)->setText(QStringLiteral("23"));
    click(QStringLiteral("cmdAdd"));
    EXPECT_EQ(contest->participantCount(), 1);
    EXPECT_TRUE(text(QStringLiteral("ErrMsg")).isEmpty());
    EXPECT_EQ(background(pick(3)), QColor(255, 255, 255));
}

TEST_F(EntryWindowTest, NavigationUpdateAndDelete)
{
    EntryRegistration reg(*contest);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(reg.add(validForm(QStringLiteral("力%1").arg(i), i)).validation.ok());
    open();
    EXPECT_EQ(text(QStringLiteral("txIndex")), QStringLiteral("103"));
    click(QStringLiteral("cmdPP"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("申込受付 [登録内容変更]"));
    EXPECT_EQ(text(QStringLiteral("txIndex")), QStringLiteral("100"));
    EXPECT_EQ(text(QStringLiteral("txShikona")), QStringLiteral("力0"));
    EXPECT_EQ(pick(0)->text(), QStringLiteral("20"));
    EXPECT_EQ(text(QStringLiteral("txYobi")), QStringLiteral("30"));
    EXPECT_FALSE(enabled(QStringLiteral("cmdAdd")));
    EXPECT_FALSE(enabled(QStringLiteral("cmdP")));
    click(QStringLiteral("cmdN"));
    EXPECT_EQ(text(QStringLiteral("txIndex")), QStringLiteral("101"));
    // >> leads to the page for a new entry, ready for its first box.
    click(QStringLiteral("cmdNN"));
    EXPECT_EQ(text(QStringLiteral("txIndex")), QStringLiteral("103"));
    EXPECT_EQ(focused(), box(QStringLiteral("txShikona")));
    click(QStringLiteral("cmdPP"));
    click(QStringLiteral("cmdN"));

    // 更新 stores and moves on to the next entry.
    pick(0)->setText(QStringLiteral("39"));
    // A reserve typed without Enter: the name beside follows the box, and 更新 stores it.
    box(QStringLiteral("txYobi"))->selectAll();
    type(box(QStringLiteral("txYobi")), QStringLiteral("35"));
    EXPECT_EQ(text(QStringLiteral("YRname")), contest->roster().name(25));
    click(QStringLiteral("cmdUpdate"));
    EXPECT_EQ(contest->entries()[1].picks[0], 29);
    EXPECT_EQ(contest->entries()[1].reserve, 25);
    EXPECT_EQ(text(QStringLiteral("txIndex")), QStringLiteral("102"));
    expectMirror(*contest);
    click(QStringLiteral("cmdUpdate"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("申込受付 [新規登録]"));
    EXPECT_EQ(text(QStringLiteral("txIndex")), QStringLiteral("103"));

    // 削除 of ID 101.
    click(QStringLiteral("cmdPP"));
    click(QStringLiteral("cmdN"));
    tc.prompter.answers = {true};
    click(QStringLiteral("cmdDel"));
    EXPECT_EQ(tc.prompter.questions.last(),
              QStringLiteral("現在表示の 力1 さんを削除します。 よろしいですか？"));
    ASSERT_EQ(contest->participantCount(), 2);
    EXPECT_EQ(contest->entries()[1].shikona, QStringLiteral("力2"));
    EXPECT_EQ(text(QStringLiteral("txIndex")), QStringLiteral("102"));
    expectMirror(*contest);
    click(QStringLiteral("cmdP"));
    EXPECT_EQ(text(QStringLiteral("txShikona")), QStringLiteral("力2"));
    EXPECT_EQ(text(QStringLiteral("txIndex")), QStringLiteral("101"));
}

TEST_F(EntryWindowTest, ImportThenCompletePicksOneAfterAnother)
{
    writeEntryFile(tc.dataFile(QStringLiteral("Ranking.Dat")), 45, QStringLiteral("順位"));
    open();
    tc.prompter.answers = {true};
    click(QStringLiteral("cmdTorikomi"));
    ASSERT_EQ(contest->participantCount(), 45);
    EXPECT_EQ(text(QStringLiteral("txIndex")), QStringLiteral("100"));
    EXPECT_EQ(text(QStringLiteral("txShikona")), QStringLiteral("順位1"));
    EXPECT_EQ(text(QStringLiteral("txName")), QStringLiteral("会員1"));
    EXPECT_TRUE(pick(0)->text().isEmpty());
    EXPECT_TRUE(w<QRadioButton>(QStringLiteral("Opt_2"))->isChecked());
    EXPECT_FALSE(enabled(QStringLiteral("cmdTorikomi")));
    EXPECT_FALSE(enabled(QStringLiteral("cmdTorikomi2")));
    EXPECT_EQ(focused(), pick(0));
    EXPECT_EQ(w<QTableView>(QStringLiteral("DataGrid1"))->model()->rowCount(), 45);
    EXPECT_GE(w<QTableView>(QStringLiteral("DataGrid1"))->width(), (7 * 700 + 1800 + 220) / 15);

    // 更新 before the picks are typed.
    click(QStringLiteral("cmdUpdate"));
    EXPECT_EQ(text(QStringLiteral("ErrMsg")), QStringLiteral("力士が選択されていません。"));
    EXPECT_EQ(background(pick(0)), QColor(255, 255, 0));

    for (int i = 0; i < 7; ++i) {
        type(pick(i), kPicks[i]);
        enter(pick(i));
    }
    type(box(QStringLiteral("txYobi")), QStringLiteral("31"));
    enter(box(QStringLiteral("txYobi")));
    EXPECT_EQ(focused(), w(QStringLiteral("cmdUpdate")));
    click(QStringLiteral("cmdUpdate"));
    EXPECT_EQ(contest->entries()[0].picks[0], 10);
    EXPECT_EQ(text(QStringLiteral("txIndex")), QStringLiteral("101"));
    EXPECT_EQ(text(QStringLiteral("txShikona")), QStringLiteral("順位2"));
    EXPECT_EQ(focused(), pick(0));
    expectMirror(*contest);
}

TEST_F(EntryWindowTest, ASingleImportedParticipantIsShown)
{
    writeEntryFile(tc.dataFile(QStringLiteral("Entry.Bak")), 3, QStringLiteral("番号"));
    writeEntryFile(tc.dataFile(QStringLiteral("Ranking.Dat")), 1, QStringLiteral("順位"));
    open();
    click(QStringLiteral("cmdTorikomi2"));
    EXPECT_EQ(tc.prompter.lastQuestion.title, QStringLiteral("先場所ﾃﾞｰﾀの取り込み"));
    ASSERT_EQ(contest->participantCount(), 1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("申込受付 [登録内容変更]"));
    EXPECT_EQ(text(QStringLiteral("txShikona")), QStringLiteral("番号1"));
}

TEST_F(EntryWindowTest, ImportButtonsOffOnceRegistered)
{
    EntryRegistration(*contest).add(validForm(QStringLiteral("若葉")));
    open();
    EXPECT_FALSE(enabled(QStringLiteral("cmdTorikomi")));
    EXPECT_FALSE(enabled(QStringLiteral("cmdTorikomi2")));
    EXPECT_TRUE(enabled(QStringLiteral("cmdPP")));
}

TEST_F(EntryWindowTest, AFullTableOffersNoBlankPage)
{
    // Filled directly; adding 300 one by one is covered by the entries tests.
    for (int i = 0; i < kEntryCapacity; ++i)
        contest->entries().push_back(
            storeEntry(validForm(QStringLiteral("参加者%1").arg(i), i % 10), contest->rules(),
                       contest->roster()));
    contest->rules().flag = 3;
    contest->rebuildEntryTable();
    contest->saveEntries();
    open();
    EXPECT_EQ(text(QStringLiteral("txIndex")), QStringLiteral("399"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("申込受付 [登録内容変更]"));
    EXPECT_FALSE(enabled(QStringLiteral("cmdNN")));
    EXPECT_FALSE(enabled(QStringLiteral("cmdN")));
    EXPECT_FALSE(enabled(QStringLiteral("cmdAdd")));
    click(QStringLiteral("cmdPP"));
    EXPECT_TRUE(enabled(QStringLiteral("cmdNN")));
    click(QStringLiteral("cmdNN"));
    EXPECT_EQ(text(QStringLiteral("txIndex")), QStringLiteral("399"));
    EXPECT_EQ(text(QStringLiteral("txShikona")), QStringLiteral("参加者299"));
}

TEST_F(EntryWindowTest, ClosingSavesEnablesTheMainWindowAndReports)
{
    open();
    QWidget *chartOwner = nullptr;
    QPointer<QWidget> chart;
    int charts = 0;
    window->setChartCallback([&](QWidget *owner) {
        ++charts;
        chartOwner = owner;
        chart = new QWidget(owner, Qt::Window);
        chart->show();
        return chart.data();
    });
    click(QStringLiteral("cmd"));
    EXPECT_EQ(chartOwner, window.data());
    ASSERT_TRUE(chart);
    EXPECT_TRUE(chart->isVisible());
    // Again, by click or by Enter on a box: still the one chart.
    click(QStringLiteral("cmd"));
    click(QStringLiteral("cmd"));
    enter(box(QStringLiteral("txShikona")));
    EXPECT_EQ(charts, 1);

    typeApplication(QStringLiteral("若葉山"), kPicks, QStringLiteral("30"));
    click(QStringLiteral("cmdAdd"));
    contest->rules().flag = 1;
    click(QStringLiteral("cmdEXIT"));
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_EQ(closedCalls, 1);
    EXPECT_EQ(contest->rules().flag, 3);
    expectMirror(*contest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
    EXPECT_FALSE(chart && chart->isVisible());
    const auto credit
        = recordfile::readOne<RulesRecord>(contest->files(), contest->paths().credit, 1);
    EXPECT_EQ(credit.flag, 3);

    // A look at the window, when asked for.
    const QByteArray shot = qgetenv("KC_ENTRY_SHOT");
    if (!shot.isEmpty()) {
        EntryRegistration reg(*contest);
        for (int i = 0; i < 12; ++i)
            reg.add(validForm(QStringLiteral("参加者%1").arg(i), i % 10));
        open();
        typeApplication(QStringLiteral("朝日山"), kPicks, QStringLiteral("30"));
        pick(4)->setText(QStringLiteral("21"));
        click(QStringLiteral("cmdAdd"));
        window->grab().save(QString::fromLocal8Bit(shot));
    }
}

} // namespace

namespace {

TEST_F(EntryWindowTest, CsvButtonRegistersTheValidLinesAndListsTheOthers)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("form.csv"));
    writeBytes(path,
               QStringLiteral("タイムスタンプ,四股名,力士1,力士2,力士3,力士4,力士5,力士6,"
                              "力士7,予備力士\n"
                              "x,甲,20,21,22,23,24,25,26,30\n"
                              "x,乙,20,20,22,23,24,25,26,30\n")
                   .toUtf8());
    EntryWindow &win = open();
    win.setCsvChooser([&] { return path; });
    QTest::mouseClick(w<QPushButton>(QStringLiteral("cmdCsv")), Qt::LeftButton);
    ASSERT_EQ(contest->participantCount(), 1);
    EXPECT_EQ(contest->entries()[0].shikona.trimmed(), u"甲");
    EXPECT_EQ(box(QStringLiteral("txIndex"))->text(), u"101"); // the blank page for the next
    ASSERT_FALSE(tc.prompter.messages.isEmpty());
    EXPECT_TRUE(tc.prompter.messages.last().contains(
        QStringLiteral("3行目（乙）: 力士が重複しています。")));
}

} // namespace
