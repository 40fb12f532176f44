#include "EntryTestSupport.h"
#include "ui/BanzukeWindow.h"
#include "ui/ButtonKeys.h"
#include "ui/EntryWindow.h"
#include "ui/MainWindow.h"
#include "ui/PrintRenderer.h"
#include "ui/PrizeWindow.h"
#include "ui/RulesWindow.h"
#include "ui/TorikumiWindow.h"
#include "ui/Translations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTranslator>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace kc;
using namespace kc::ui;

TEST(WindowHabitsTest, StandardButtonsSpeakJapanese)
{
    if (qtTranslationFile().isEmpty())
        GTEST_SKIP() << "qtbase_ja.qm is not installed (package qt6-translations-l10n)";
    QTranslator *translator = installQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr);
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    EXPECT_FALSE(box.button(QDialogButtonBox::Save)->text().contains(u"Save"));
    // The other tests expect Qt's own captions.
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

TEST(WindowHabitsTest, PrintedFilesLandInTheContestFolder)
{
    const struct
    {
        const char16_t *title;
        int day;
        const char16_t *file;
    } cases[] {
        {u"各賞受賞者一覧", 3, u"/c/各賞受賞者一覧-3日目.pdf"},
        {u"星取表", 0, u"/c/星取表.pdf"},
        {u"a/b:c*\"<>|?\nd", 15, u"/c/a_b_c_______d-15日目.pdf"},
        {u"  ", 1, u"/c/印刷-1日目.pdf"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PrintRenderer::defaultFileName(QStringLiteral("/c"), QString::fromUtf16(c.title),
                                                 c.day),
                  QString::fromUtf16(c.file));

    PrintRenderer renderer;
    renderer.setFileContext([] { return std::pair(QStringLiteral("/c"), 2); });
    QString offered;
    bool printerInstalled = false;
    renderer.setDialogHook([&](QPrinter &p) {
        offered = p.outputFileName();
        printerInstalled = !p.printerName().isEmpty();
        return false;
    });
    EXPECT_FALSE(renderer.print(kc::PrintDocument(QStringLiteral("星取表"))));
    if (!printerInstalled) {
        EXPECT_EQ(offered, QStringLiteral("/c/星取表-2日目.pdf"));
    }
}

TEST(WindowHabitsTest, EnterPressesTheFocusedButtonInEveryWindow)
{
    test::TempContest tc;
    Contest &contest = test::openDecidedContest(tc);
    PrintRenderer printer;
    QWidget owner;
    std::unique_ptr<ButtonKeys> keys(new ButtonKeys);
    qApp->installEventFilter(keys.get());
    using Make = std::function<QWidget *()>;
    const std::pair<const char *, Make> windows[] {
        {"Main", [&]() -> QWidget * { return new MainWindow(contest); }},
        {"frmRentry", [&]() -> QWidget * { return new BanzukeWindow(contest); }},
        {"frmRules", [&]() -> QWidget * { return new RulesWindow(contest); }},
        {"frmEntry2", [&]() -> QWidget * { return new EntryWindow(contest, &owner); }},
        {"frmPrize", [&]() -> QWidget * { return new PrizeWindow(contest, printer); }},
        {"frmTorikumi",
         [&]() -> QWidget * { return new TorikumiWindow(contest, TorikumiWindow::Mode::Chart); }},
    };
    for (const auto &[name, make] : windows) {
        std::unique_ptr<QWidget> window(make());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get())) << name;
        int pressed = 0;
        int buttons = 0;
        for (QPushButton *b : window->findChildren<QPushButton *>()) {
            if (!b->isVisible() || !b->isEnabled())
                continue;
            // Only the key is under test, not what each button does.
            QObject::disconnect(b, &QPushButton::clicked, nullptr, nullptr);
            QObject::connect(b, &QPushButton::clicked, [&pressed] { ++pressed; });
            window->setAttribute(Qt::WA_KeyboardFocusChange, false);
            b->clearFocus();
            b->setFocus();
            EXPECT_TRUE(window->testAttribute(Qt::WA_KeyboardFocusChange)) << name;
            QTest::keyClick(b, Qt::Key_Return);
            ++buttons;
            EXPECT_EQ(pressed, buttons) << name << " " << b->objectName().toStdString();
        }
        EXPECT_GT(buttons, 0) << name;
        window->hide();
    }
}
