#include "MainWindowFixture.h"
#include "ui/ProgressWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

TEST(PublishWindow, MenuItemsWriteTheirPagesWhileTheMainWindowStepsAside)
{
    MainWindowFixture f;
    f.confirmedDays(2);
    f.addEntries(3, 2);
    f.window().show();
    f.window().refreshState();
    const QString html = f.contest().paths().html + u'/';

    QString caption;
    bool mainHidden = false;
    QTimer::singleShot(0, [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == u"frmProg" && w->isVisible())
                caption = w->windowTitle();
        mainHidden = !f.window().isVisible();
    });
    f.action("Htm_Shuukei")->trigger();
    EXPECT_EQ(caption, QStringLiteral("HTML 文書作成中"));
    EXPECT_TRUE(mainHidden);
    EXPECT_TRUE(f.window().isVisible());
    for (const char *page : {"Result.html", "Result2.html", "graph.html", "Prize.html",
                             "Records.html", "z0209102.html"})
        EXPECT_TRUE(QFileInfo::exists(html + QString::fromLatin1(page))) << page;

    QString shown;
    QTimer::singleShot(0, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            if (auto *msg = modal->findChild<QPlainTextEdit *>(QStringLiteral("Msg")))
                shown = modal->objectName() + u':' + msg->toPlainText();
            modal->close();
        }
    });
    f.action("RulesMake")->trigger();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("frmINFO:"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("【遊戯方法】")));
    f.action("mmHtmlEntry")->trigger();
    f.action("mmtest")->trigger();
    for (const char *page : {"Rules.html", "Entry.html", "test.html"})
        EXPECT_TRUE(QFileInfo::exists(html + QString::fromLatin1(page))) << page;
}

TEST(PublishWindow, BarGrowsTo4200TwipsAtTheTotal)
{
    const struct
    {
        int done, total, twips;
    } rows[] = {{0, 0, 0},     {3, 0, 0},      {0, 36, 0},    {1, 3, 1400},
                {5, 10, 2100}, {12, 12, 4200}, {13, 12, 4200}};
    for (const auto &r : rows)
        EXPECT_EQ(ui::ProgressWindow::barTwips(r.done, r.total), r.twips)
            << r.done << '/' << r.total;
    if (qEnvironmentVariableIsSet("KC_SHOT")) {
        ui::ProgressWindow w;
        w.begin(100);
        w.stage(QStringLiteral("個人得点表  作成中"));
        w.counter(40);
        w.grab().save(qEnvironmentVariable("KC_SHOT"));
    }
}

} // namespace
