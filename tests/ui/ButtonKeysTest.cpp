#include "TestSupport.h"

#include "banzuke/Renaming.h"

#include "ui/BanzukeWindow.h"
#include "ui/ButtonKeys.h"
#include "ui/EntryWindow.h"
#include "ui/HoshiWindow.h"
#include "ui/MainWindow.h"
#include "ui/PrintRenderer.h"
#include "ui/PrizeWindow.h"
#include "ui/RenameWindow.h"
#include "ui/RulesWindow.h"
#include "ui/TorikumiWindow.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace kc;

// Enter on a focused button presses it, in every window alike.
TEST(ButtonKeys, EnterPressesTheFocusedButtonInEveryWindow)
{
    ui::installButtonKeys();
    test::TempContest tc;
    Contest &c = tc.open();
    c.rules().flag = 1;
    QWidget owner;
    ui::PrintRenderer printer(&owner);
    renaming::RenameSession session(c);
    const struct
    {
        const char *button;
        std::function<QWidget *()> make;
    } windows[] = {
        {"cmdEND", [&] { return new ui::MainWindow(c); }},
        {"Command1", [&] { return new ui::BanzukeWindow(c); }},
        {"cmdEXIT", [&] { return new ui::EntryWindow(c, &owner); }},
        {"Command1", [&] { return new ui::PrizeWindow(c, printer); }},
        {"cmdClose", [&] { return new ui::HoshiWindow(c, printer); }},
        {"cmdSave", [&] { return new ui::TorikumiWindow(c, ui::TorikumiWindow::Mode::Chart); }},
        {"cmdSave_0", [&] { return new ui::RulesWindow(c); }},
        {"cmdCancel", [&] { return new ui::RenameWindow(session); }},
    };
    for (const auto &w : windows) {
        std::unique_ptr<QWidget> window(w.make());
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        auto *button = window->findChild<QPushButton *>(QString::fromLatin1(w.button));
        ASSERT_NE(button, nullptr) << w.button;
        // Nothing but the press itself: the action behind the button is not this test's.
        button->disconnect(SIGNAL(clicked(bool)));
        QSignalSpy pressed(button, &QPushButton::clicked);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        EXPECT_EQ(pressed.count(), 1) << window->objectName().toStdString();
        EXPECT_TRUE(window->testAttribute(Qt::WA_KeyboardFocusChange))
            << window->objectName().toStdString();
        if (qEnvironmentVariableIsSet("KC_SHOT"))
            window->grab().save(qEnvironmentVariable("KC_SHOT") + window->objectName() + u".png");
    }
}
