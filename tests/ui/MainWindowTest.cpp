#include "MainWindowFixture.h"

#include "store/Database.h"
#include "store/Phase.h"
#include "store/RecordFile.h"
#include "ui/EntryTableModel.h"
#include "ui/HelpWindow.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include <map>

using namespace kc;
using namespace kc::test;

namespace {

// Each menu item the phase sets and the action of the phase table it offers:
// enabled exactly when the phase allows it (the store's test owns the phases).
const std::pair<const char *, Action> kPhaseItems[] {
    {"KillRename", Action::DeleteRenameList},  {"mmCrear", Action::RestartCompetition},
    {"MenuMakeBan", Action::RegisterBanzuke},  {"TorikumiKekka", Action::OfferResultInput},
    {"MenuRules", Action::OpenRules},          {"KyokaiEntry", Action::TakeEntries},
    {"MenuGameStart", Action::CloseReception}, {"EntryCSV", Action::ExportEntries},
    {"PrintCSV", Action::ExportResults},       {"mmPrizeCSV", Action::ExportResults},
    {"Htm_Shuukei", Action::ExportResults},    {"mmEntryPrint", Action::PrintEntries},
    {"mmResult", Action::AnnounceResults},     {"mmResultPrint", Action::PrintResults},
    {"mmResultPrint2", Action::PrintResults},  {"mmHoshitori", Action::PrintResults},
    {"mmBanzukePrint", Action::PrintBanzuke},  {"mmShoui", Action::SetPrizes},
    {"RulesMake", Action::ShowRulesText},
};

// The next-step button's caption and the rules item's (in a new window) by the next step.
const std::map<NextStep, std::pair<const char *, const char *>> kCaptions {
    {NextStep::Rules, {"ルール設定", "ﾙｰﾙの設定"}},
    {NextStep::Entries, {"投票受付", "ﾙｰﾙの設定"}},
    {NextStep::Prizes, {"賞位設定", "ﾙｰﾙの設定"}},
    {NextStep::Results, {"取組結果入力", "ﾙｰﾙ/賞位"}},
};

int rankAt(ui::EntryTableModel *m, int row)
{
    return m->data(m->index(row, ui::gridcol::Rank)).toInt();
}

} // namespace

TEST(MainWindowMenus, ItemsAndCaptionsFollowThePhaseTable)
{
    // Flag, confirmed days, participants; 10 + day is still the competition.
    const int phases[][3] {{0, 0, 0},  {0, 2, 0},  {1, 0, 0}, {1, 2, 0}, {1, 0, 2},
                           {1, 2, 2},  {3, 0, 2},  {3, 2, 2}, {5, 0, 2}, {5, 2, 2},
                           {10, 0, 2}, {10, 3, 2}, {13, 3, 2}};
    for (const auto &[flag, day, entries] : phases) {
        SCOPED_TRACE(testing::Message() << "Flag " << flag << " day " << day);
        MainWindowFixture f;
        f.contest().rules().pickCount = 3;
        f.addEntries(entries, day);
        f.setPhase(flag, day);
        f.window();
        const Phase phase(flag, day);
        for (const auto &[name, action] : kPhaseItems) {
            QAction *a = f.action(name);
            ASSERT_NE(a, nullptr) << name;
            EXPECT_EQ(a->isEnabled(), phase.allows(action, entries)) << name;
        }
        // Items the phase does not touch stay usable.
        for (const char *name :
             {"mmInit", "mmRename", "mmEnd", "mmHtmlEntry", "mmInfomation", "HelpMenu"})
            EXPECT_TRUE(f.action(name)->isEnabled()) << name;
        const auto &[button, rules] = kCaptions.at(phase.nextStep());
        EXPECT_EQ(f.control<QPushButton>("cmdNow")->text(), QString::fromUtf8(button));
        EXPECT_EQ(f.action("MenuRules")->text(), QString::fromUtf8(rules));
    }
}

TEST(MainWindowMenus, FirstEntryOpensTheListPrintAndRulesCaptionKeepsItsLastValue)
{
    MainWindowFixture f;
    f.setPhase(1, 0);
    auto &w = f.window();
    EXPECT_FALSE(f.action("mmEntryPrint")->isEnabled());

    f.addEntries(1);
    f.contest().rules().flag = 3;
    w.refreshState();
    EXPECT_TRUE(f.action("mmEntryPrint")->isEnabled());
    EXPECT_EQ(f.control<QLineEdit>("txEntryMax")->text(), QStringLiteral("1"));

    // The competition renames the rules item; phases 1, 3 and 5 leave it as it was.
    f.setPhase(10, 0);
    w.refreshState();
    EXPECT_EQ(f.action("MenuRules")->text(), QStringLiteral("ﾙｰﾙ/賞位"));
    f.setPhase(5, 0);
    w.refreshState();
    EXPECT_EQ(f.action("MenuRules")->text(), QStringLiteral("ﾙｰﾙ/賞位"));
    f.setPhase(0, 0);
    w.refreshState();
    EXPECT_EQ(f.action("MenuRules")->text(), QStringLiteral("ﾙｰﾙの設定"));
}

TEST(MainWindowMenus, ControlsAndMenusCarryTheirNamesAndCaptions)
{
    MainWindowFixture f;
    auto &w = f.window();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Kachikoshi Cup"));
    const std::vector<std::pair<const char *, const char *>> buttons {{"cmdEND", "終了"},
                                                                      {"cmdsortid", "I D"},
                                                                      {"cmdSortDay", "日々計"},
                                                                      {"cmdSortNakabi", "中日計"},
                                                                      {"cmdSortTotal", "総合計"}};
    for (const auto &[name, caption] : buttons)
        EXPECT_EQ(f.control<QPushButton>(name)->text(), QString::fromUtf8(caption)) << name;
    EXPECT_NE(f.control<QTableView>("DataGrid1"), nullptr);
    EXPECT_NE(f.control<QSpinBox>("UpDown1"), nullptr);
    EXPECT_NE(f.control<QWidget>("Frame1"), nullptr);
    EXPECT_NE(f.control<QWidget>("Label1"), nullptr);

    const std::vector<std::pair<const char *, const char *>> menus {
        {"mmFile", "ﾌｧｲﾙ"},       {"OsumoKyokai", "初期処理"}, {"Kyoukai", "受付処理"},
        {"mms10", "日次処理"},    {"mmCVS", "ｴｸｽﾎﾟｰﾄ"},        {"mmmHelp", "ﾍﾙﾌﾟ"},
        {"mmSupport", "サポート"}};
    for (const auto &[name, title] : menus) {
        QMenu *m = f.control<QMenu>(name);
        ASSERT_NE(m, nullptr) << name;
        EXPECT_EQ(m->title(), QString::fromUtf8(title)) << name;
    }
    const std::vector<std::pair<const char *, const char *>> items {
        {"mmCrear", "取組結果の変更"},
        {"KillRename", "力士名ﾌｧｲﾙの削除"},
        {"mmBanzukePrint", "番付表の出力(印刷)"},
        {"mmEntryPrint", "参加者投票ﾘｽﾄ出力(印刷)"},
        {"mmResultPrint2", "集計結果出力・受付順(印刷)"},
        {"EntryCSV", "申込結果一覧（CSV)"},
        {"Htm_Shuukei", "集計結果出力（HTML)"},
        {"mmRules0", "RulesStartを0にする"},
        {"mmPrintend", "ﾌﾟﾘﾝﾀｰend.doc"},
        {"mmNameRecover", "力士名を初期力士名に変更する"}};
    for (const auto &[name, caption] : items)
        EXPECT_EQ(f.action(name)->text(), QString::fromUtf8(caption)) << name;
}

TEST(MainWindowMenus, SupportMenuIsHiddenUntilAskedFor)
{
    MainWindowFixture f;
    auto &w = f.window();
    QAction *support = f.control<QMenu>("mmSupport")->menuAction();
    EXPECT_FALSE(support->isVisible());

    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(support->isVisible());
    QTest::keyClick(&w, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(support->isVisible());

    w.setSupportMenuVisible(true); // --support
    EXPECT_TRUE(support->isVisible());
}

TEST(MainWindowSort, TotalAndMiddleDayButtonsToggleDirection)
{
    MainWindowFixture f;
    f.contest().rules().currentDay = 3;
    f.addEntries(3, 3);
    f.setPhase(13, 3);
    f.window();
    auto *model = f.window().entryModel();
    EXPECT_EQ(model->sort(), QStringLiteral("順位 ASC"));

    QTest::mouseClick(f.control<QPushButton>("cmdSortTotal"), Qt::LeftButton);
    EXPECT_EQ(model->sort(), QStringLiteral("順位 DESC"));
    EXPECT_EQ(rankAt(model, 0), 3);
    EXPECT_EQ(rankAt(model, 2), 1);
    QTest::mouseClick(f.control<QPushButton>("cmdSortTotal"), Qt::LeftButton);
    EXPECT_EQ(model->sort(), QStringLiteral("順位 ASC"));
    EXPECT_EQ(rankAt(model, 0), 1);

    QTest::mouseClick(f.control<QPushButton>("cmdSortNakabi"), Qt::LeftButton);
    EXPECT_EQ(model->sort(), QStringLiteral("中日計 DESC"));
    QTest::mouseClick(f.control<QPushButton>("cmdSortNakabi"), Qt::LeftButton);
    EXPECT_EQ(model->sort(), QStringLiteral("中日計 ASC"));

    QTest::mouseClick(f.control<QPushButton>("cmdsortid"), Qt::LeftButton);
    EXPECT_EQ(model->sort(), QStringLiteral("ID ASC"));
    EXPECT_EQ(model->data(model->index(0, ui::gridcol::Id)).toInt(), 100);
    EXPECT_EQ(model->data(model->index(0, ui::gridcol::Shikona)).toString(),
              QStringLiteral("参加者1"));
}

TEST(MainWindowSort, DayButtonSortsOnlyForDaysOneToFifteen)
{
    MainWindowFixture f;
    f.contest().rules().currentDay = 3;
    f.addEntries(3, 3);
    f.setPhase(13, 3);
    auto *model = f.window().entryModel();
    auto *day = f.control<QLineEdit>("txUpDown");
    auto *sortDay = f.control<QPushButton>("cmdSortDay");
    EXPECT_EQ(day->text(), QStringLiteral("3"));
    EXPECT_EQ(f.control<QSpinBox>("UpDown1")->value(), 3);

    for (const char *text : {"0", "16", "", "x"}) {
        day->setText(QString::fromUtf8(text));
        QTest::mouseClick(sortDay, Qt::LeftButton);
        EXPECT_EQ(model->sort(), QStringLiteral("順位 ASC")) << text;
    }

    // The clicks above did not flip the direction: the first real one is descending.
    day->setText(QStringLiteral("3"));
    QTest::mouseClick(sortDay, Qt::LeftButton);
    EXPECT_EQ(model->sort(), QStringLiteral("三 DESC"));
    EXPECT_EQ(model->data(model->index(0, ui::gridcol::FirstDay + 2)).toInt(), 32);
    QTest::mouseClick(sortDay, Qt::LeftButton);
    EXPECT_EQ(model->sort(), QStringLiteral("三 ASC"));
    EXPECT_EQ(model->data(model->index(0, ui::gridcol::FirstDay + 2)).toInt(), 12);

    // Choosing a day with the spinner starts descending again.
    f.control<QSpinBox>("UpDown1")->setValue(15);
    EXPECT_EQ(day->text(), QStringLiteral("15"));
    QTest::mouseClick(sortDay, Qt::LeftButton);
    EXPECT_EQ(model->sort(), QStringLiteral("千秋楽 DESC"));
}

TEST(MainWindowGrid, DayColumnsFollowCurrentDay)
{
    for (int day : {0, 15}) {
        SCOPED_TRACE(day);
        MainWindowFixture f;
        f.addEntries(2, day);
        f.setPhase(day ? 25 : 3, day);
        auto *grid = f.control<QTableView>("DataGrid1");
        for (int d = 1; d <= kDays; ++d)
            EXPECT_EQ(grid->isColumnHidden(ui::gridcol::FirstDay + d - 1), d > day) << d;
        for (int c : {ui::gridcol::Id, ui::gridcol::Shikona, ui::gridcol::Total, ui::gridcol::Rank,
                      ui::gridcol::Mid})
            EXPECT_FALSE(grid->isColumnHidden(c)) << c;
        EXPECT_TRUE(grid->isColumnHidden(ui::gridcol::Dummy));
        EXPECT_TRUE(grid->isColumnHidden(ui::gridcol::Furigana));
        EXPECT_EQ(f.control<QLineEdit>("txEntryMax")->text(), QStringLiteral("2"));
    }
}

TEST(MainWindowGrid, PickColumnsAreCaptionedByPointsAndReserveFollowsTheRule)
{
    MainWindowFixture f;
    RulesRecord &r = f.contest().rules();
    r.pickCount = 7;
    r.slotPoints = {7, 6, 5, 4, 3, 2, 1, 0, 0, 0};
    r.useReserve = 0;
    f.addEntries(2);
    f.setPhase(3, 0);
    auto &w = f.window();
    auto *grid = f.control<QTableView>("DataGrid1");
    auto *model = w.entryModel();
    for (int s = 0; s < 7; ++s) {
        EXPECT_FALSE(grid->isColumnHidden(ui::gridcol::FirstPick + s)) << s;
        EXPECT_EQ(model->headerData(ui::gridcol::FirstPick + s, Qt::Horizontal).toString(),
                  QStringLiteral("%1点力士").arg(7 - s));
    }
    for (int c = 26; c <= 28; ++c)
        EXPECT_TRUE(grid->isColumnHidden(c)) << c;
    EXPECT_TRUE(grid->isColumnHidden(ui::gridcol::Reserve));
    EXPECT_EQ(model->headerData(ui::gridcol::Rank, Qt::Horizontal).toString(),
              QStringLiteral("順位"));

    r.useReserve = 1;
    w.refreshState();
    EXPECT_FALSE(grid->isColumnHidden(ui::gridcol::Reserve));

    // Widths are twips at the screen's resolution, widened to show full-length names whole.
    const qreal dpi = w.screen()->logicalDotsPerInchX();
    const QFontMetrics fm = grid->fontMetrics();
    EXPECT_GE(grid->columnWidth(ui::gridcol::Shikona), ui::MainWindow::twipsToPixels(1500, dpi));
    for (const QString &name :
         {QStringLiteral("勝ち越し勝ち越し"), QStringLiteral("ABCDEFGHIJKLMNOP")})
        EXPECT_GT(grid->columnWidth(ui::gridcol::Shikona), fm.horizontalAdvance(name))
            << name.toStdString();
    EXPECT_GE(grid->columnWidth(ui::gridcol::FirstPick), ui::MainWindow::twipsToPixels(800, dpi));
    for (const QString &name : {QStringLiteral("肥後ノ海山"), QStringLiteral("MOUNTAINWW")})
        EXPECT_GT(grid->columnWidth(ui::gridcol::FirstPick), fm.horizontalAdvance(name))
            << name.toStdString();
}

TEST(MainWindowGrid, WindowSizeRulesInTwips)
{
    RulesRecord r = RulesRecord::firstRunDefaults();
    r.pickCount = 10;
    r.currentDay = 15;
    r.useReserve = 1;
    const ui::GridLayout wide = ui::GridLayout::forRules(r);
    // 1900 + 15 days + totals + 10 picks.
    EXPECT_EQ(wide.runningWidthTwips, 1900 + 6000 + 1300 + 8000);
    EXPECT_EQ(ui::MainWindow::gridWidthTwips(wide, 30000, 0), 17200 + 600 + 800 + 520);
    EXPECT_EQ(ui::MainWindow::gridWidthTwips(wide, 15000, 600), 15000 - 600 - 400);
    EXPECT_EQ(ui::MainWindow::gridWidthTwips(wide, 6000, 0), 8800); // never below 8800

    r.pickCount = 0;
    r.currentDay = 0;
    r.useReserve = 0;
    EXPECT_EQ(ui::MainWindow::gridWidthTwips(ui::GridLayout::forRules(r), 30000, 0), 8800);

    EXPECT_EQ(ui::MainWindow::startHeightTwips(12000, 300), 11700);
    EXPECT_EQ(ui::MainWindow::startHeightTwips(9000, 2000), 8000);
    EXPECT_EQ(ui::MainWindow::twipsToPixels(1440, 96), 96);
    EXPECT_EQ(ui::MainWindow::twipsToPixels(1500, 120), 125);
    EXPECT_EQ(ui::MainWindow::pixelsToTwips(96, 96), 1440);
}

TEST(MainWindowGrid, ResizeKeepsTheWindowDownToTheWorkArea)
{
    MainWindowFixture f;
    auto &w = f.window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QRect work = w.screen()->availableGeometry();
    QTest::qWait(20);
    const int top = w.frameGeometry().top() - work.top();
    ASSERT_LT(top, work.height() / 2);
    EXPECT_EQ(w.frameGeometry().bottom(), work.bottom());

    w.resize(w.width(), 200);
    EXPECT_LT(w.frameGeometry().bottom(), work.bottom());
    for (int i = 0; i < 50 && w.frameGeometry().bottom() != work.bottom(); ++i)
        QTest::qWait(10);
    EXPECT_EQ(w.frameGeometry().bottom(), work.bottom());
}

TEST(MainWindowActions, InformationNamesTheFolders)
{
    MainWindowFixture f;
    f.action("mmInfomation")->trigger();
    ASSERT_EQ(f.temp.prompter.messages.size(), 1);
    const QString root = QDir::toNativeSeparators(f.contest().paths().root);
    EXPECT_EQ(f.temp.prompter.messages.last(),
              QStringLiteral("ｲﾝｽﾄｰﾙ先：　")
                  + QDir::toNativeSeparators(QCoreApplication::applicationDirPath())
                  + QStringLiteral("\nｺﾝﾃｽﾄのﾌｫﾙﾀﾞ：　") + root
                  + QStringLiteral("\nHTMLﾌｧｲﾙ出力先：　") + root
                  + QDir::toNativeSeparators(QStringLiteral("/html"))
                  + QStringLiteral("\ncsvﾌｧｲﾙ出力先：　") + root
                  + QDir::toNativeSeparators(QStringLiteral("/Data")));
}

TEST(MainWindowActions, ResetAnsweredNoChangesNothing)
{
    MainWindowFixture f;
    f.contest().rules().pickCount = 3;
    f.addEntries(2);
    f.setPhase(3, 0);
    f.contest().saveRules();
    const QByteArray credit = readBytes(f.temp.dataFile(QStringLiteral("Credit.Dat")));
    const QByteArray entry = readBytes(f.temp.dataFile(QStringLiteral("Entry.Dat")));
    f.window();

    f.temp.prompter.answers = {false};
    f.action("mmInit")->trigger();
    ASSERT_EQ(f.temp.prompter.questions.size(), 1);
    EXPECT_EQ(f.temp.prompter.questions.first(),
              QStringLiteral("初期化を行うと、全てのデータが消去されます。よろしいですか。"));
    EXPECT_TRUE(f.temp.prompter.lastQuestion.defaultNo);
    EXPECT_EQ(f.contest().rules().flag, 3);
    EXPECT_EQ(f.contest().participantCount(), 2);
    EXPECT_EQ(readBytes(f.temp.dataFile(QStringLiteral("Credit.Dat"))), credit);
    EXPECT_EQ(readBytes(f.temp.dataFile(QStringLiteral("Entry.Dat"))), entry);
    EXPECT_EQ(f.control<QLineEdit>("txEntryMax")->text(), QStringLiteral("2"));
    EXPECT_EQ(f.window().entryModel()->rowCount(), 2);
    EXPECT_TRUE(f.action("KyokaiEntry")->isEnabled());
}

TEST(MainWindowActions, ResetAnsweredYesClearsTheWindow)
{
    MainWindowFixture f;
    f.contest().rules().pickCount = 3;
    f.addEntries(2, 4);
    f.setPhase(14, 4);
    f.contest().saveRules();
    f.window();
    EXPECT_TRUE(f.action("mmCrear")->isEnabled());

    f.temp.prompter.answers = {true};
    f.action("mmInit")->trigger();
    EXPECT_EQ(f.contest().rules().flag, 0);
    EXPECT_EQ(f.contest().rules().currentDay, 0);
    EXPECT_EQ(f.window().entryModel()->rowCount(), 0);
    EXPECT_EQ(f.control<QLineEdit>("txUpDown")->text(), QStringLiteral("0"));
    EXPECT_EQ(f.control<QLineEdit>("txEntryMax")->text(), QString());
    EXPECT_FALSE(f.action("mmCrear")->isEnabled());
    EXPECT_TRUE(f.action("MenuMakeBan")->isEnabled());
    EXPECT_EQ(f.control<QPushButton>("cmdNow")->text(), QStringLiteral("ルール設定"));
    EXPECT_FALSE(QFile::exists(f.temp.dataFile(QStringLiteral("Entry.Dat"))));
}

TEST(MainWindowActions, KillRenameAsksBeforeDeleting)
{
    MainWindowFixture f;
    const QString rename = f.temp.dataFile(QStringLiteral("Rename.Dat"));
    writeBytes(rename, QByteArray(RenameRecord::Size, ' '));
    f.window();

    f.temp.prompter.answers = {false, true};
    f.action("KillRename")->trigger();
    EXPECT_EQ(f.temp.prompter.questions.last(),
              QStringLiteral("力士名変換ﾌｧｲﾙを削除します。よろしいですか。"));
    EXPECT_EQ(f.temp.prompter.lastQuestion.icon, Icon::Question);
    EXPECT_TRUE(QFile::exists(rename));
    f.action("KillRename")->trigger();
    EXPECT_FALSE(QFile::exists(rename));
    // Without the file it is simply nothing to delete.
    f.action("KillRename")->trigger();
    EXPECT_TRUE(f.temp.prompter.messages.isEmpty());
}

TEST(MainWindowActions, DataConversionRefusesCurrentFilesAndConvertsOldOnes)
{
    MainWindowFixture f;
    f.contest().rules().pickCount = 3;
    f.addEntries(2);
    f.setPhase(3, 0);
    const QString entryPath = f.temp.dataFile(QStringLiteral("Entry.Dat"));
    const QByteArray current = readBytes(entryPath);
    ASSERT_EQ(current.size(), 2 * EntryRecord::Size);
    f.window();

    f.action("msChange")->trigger();
    ASSERT_EQ(f.temp.prompter.messages.size(), 1);
    EXPECT_TRUE(f.temp.prompter.messages.first().contains(QStringLiteral("旧形式")));
    EXPECT_EQ(readBytes(entryPath), current);

    // An entry file of the older layout is converted.
    QByteArray legacy;
    for (int i = 0; i < 2; ++i) {
        LegacyEntryRecord old;
        old.shikona = QStringLiteral("旧%1").arg(i);
        for (int k = 0; k < 20; ++k)
            old.ints[k] = kNoWrestler;
        old.ints[0] = qint16(i);
        old.ints[80] = qint16(40 + i);
        legacy += old.encode();
    }
    writeBytes(entryPath, legacy);
    f.action("msChange")->trigger();
    EXPECT_EQ(f.temp.prompter.messages.size(), 1);
    EXPECT_EQ(readBytes(entryPath).size(), 2 * EntryRecord::Size);
    EXPECT_EQ(readBytes(f.temp.dataFile(QStringLiteral("Entry.Bak"))), readBytes(entryPath));
    ASSERT_EQ(f.contest().participantCount(), 2);
    EXPECT_EQ(f.contest().entries()[1].shikona.trimmed(), QStringLiteral("旧1"));
    EXPECT_EQ(f.contest().entries()[1].totalScore, 41);
}

TEST(MainWindowActions, FlagMessageAndRulesStartReset)
{
    MainWindowFixture f;
    f.setPhase(12, 2);
    f.contest().rules().rulesStart = 1;
    f.contest().saveRules();
    const QByteArray credit = readBytes(f.temp.dataFile(QStringLiteral("Credit.Dat")));
    f.window();

    f.action("mmFlag")->trigger();
    EXPECT_EQ(f.temp.prompter.messages.last(), QStringLiteral("Rules.Flag = 12"));
    f.action("mmRules0")->trigger();
    EXPECT_EQ(f.contest().rules().flag, 0);
    EXPECT_EQ(f.contest().rules().rulesStart, 0);
    EXPECT_EQ(readBytes(f.temp.dataFile(QStringLiteral("Credit.Dat"))), credit);
    f.action("mmFlag")->trigger();
    EXPECT_EQ(f.temp.prompter.messages.last(), QStringLiteral("Rules.Flag = 0"));
}

TEST(MainWindowActions, EndButtonSavesRulesAndMenuEndDoesNot)
{
    for (bool button : {true, false}) {
        SCOPED_TRACE(button);
        MainWindowFixture f;
        const QString credit = f.temp.dataFile(QStringLiteral("Credit.Dat"));
        const QByteArray before = readBytes(credit);
        auto &w = f.window();
        w.show();
        f.contest().rules().title = QStringLiteral("秋場所");
        if (button)
            QTest::mouseClick(f.control<QPushButton>("cmdEND"), Qt::LeftButton);
        else
            f.action("mmEnd")->trigger();
        EXPECT_FALSE(f.contest().isOpen());
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.entryModel()->rowCount(), 0);
        const RulesRecord saved = RulesRecord::decode(readBytes(credit));
        if (button)
            EXPECT_EQ(saved.title.trimmed(), QStringLiteral("秋場所"));
        else
            EXPECT_EQ(readBytes(credit), before);
    }
}

TEST(MainWindowActions, HelpWritesTheFileWhenMissingAndOpensTopicOne)
{
    MainWindowFixture f;
    const QString help = f.contest().paths().help;
    ASSERT_FALSE(QFile::exists(help));
    f.action("HelpMenu")->trigger();
    ASSERT_TRUE(QFile::exists(help));
    EXPECT_EQ(readBytes(help), ui::HelpWindow::builtInHelp());
    auto *viewer = f.window().findChild<ui::HelpWindow *>(QStringLiteral("frmHelp"));
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->browser()->toPlainText().contains(QStringLiteral("大会の流れ")));
    EXPECT_FALSE(viewer->browser()->toPlainText().contains(QStringLiteral("<h1>")));
    EXPECT_EQ(viewer->browser()->source().fragment(), QStringLiteral("topic1"));

    // The organiser's own help file is shown, never replaced.
    writeBytes(help,
               QByteArrayLiteral("<html><body><a name=\"topic1\"></a>自分のヘルプ</body></html>"));
    f.action("HelpMenu")->trigger();
    EXPECT_TRUE(viewer->browser()->toPlainText().contains(QStringLiteral("自分のヘルプ")));
    EXPECT_FALSE(viewer->browser()->toPlainText().contains(QStringLiteral("<body>"))); // as HTML
}
