#include "MainWindowTestSupport.h"

#include "ui/PrintRenderer.h"

#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

// The print items of the main window: disabled where the phase has no report,
// the printer dialog (cancel prints nothing), and the pages on the printer.
TEST(ReportPrint, MenuItemsGoThroughTheDialog)
{
    QTemporaryDir out;
    const struct
    {
        const char *item;
        int flag, day, entries;
        int pages; // 0: the item is disabled
    } cases[] {
        {"mmBanzukePrint", 0, 0, 0, 0},   {"mmBanzukePrint", 1, 0, 0, 1},
        {"mmEntryPrint", 3, 0, 59, 2},    {"mmResultPrint", 10, 15, 3, 1},
        {"mmResultPrint2", 10, 15, 3, 1},
    };
    for (const auto &c : cases) {
        MainWindowFixture f;
        f.contest().rules().flag = qint16(c.flag);
        f.contest().rules().currentDay = qint16(c.day);
        f.contest().saveRules();
        f.addEntries(c.entries, c.day);
        const QString pdf = out.filePath(QString::fromLatin1(c.item) + QString::number(c.flag));
        int dialogs = 0;
        bool confirm = false;
        f.window().printer().setDialogHook([&](QPrinter &p) {
            ++dialogs;
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            return confirm;
        });
        f.action(c.item)->trigger(); // cancelled
        confirm = true;
        f.action(c.item)->trigger();
        if (c.pages == 0) {
            EXPECT_EQ(dialogs, 0) << c.item;
            EXPECT_FALSE(f.window().findChild<QAction *>(u"mmBanzukePrintPreview"_qs)->isEnabled());
            EXPECT_FALSE(QFile::exists(pdf));
            continue;
        }
        EXPECT_EQ(dialogs, 2) << c.item;
        EXPECT_EQ(pdfPageCount(readBytes(pdf)), c.pages) << c.item;
        EXPECT_TRUE(f.action(c.item)->isEnabled()) << c.item;
        EXPECT_EQ(f.window()
                      .findChild<QAction *>(QString::fromLatin1(c.item) + u"Preview"_qs)
                      ->isEnabled(),
                  f.action(c.item)->isEnabled());
    }
}
