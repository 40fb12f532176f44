#include "MainWindowFixture.h"

#include "ui/PrintRenderer.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
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
        int flag, day, entries, pages; // no pages: the item is disabled
    } cases[] {
        {"mmBanzukePrint", 0, 0, 0, 0},   {"mmBanzukePrint", 1, 0, 0, 1},
        {"mmEntryPrint", 3, 0, 59, 2},    {"mmResultPrint", 10, 15, 3, 1},
        {"mmResultPrint2", 10, 15, 3, 1},
    };
    QSet<QString> files; // the default file of each report, the two result lists apart
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
            files << f.window().printer().defaultFile(p.docName());
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            return confirm;
        });
        const QString preview = QString::fromLatin1(c.item) + u"Preview"_qs;
        EXPECT_EQ(f.window().findChild<QAction *>(preview)->isEnabled(), c.pages > 0) << c.item;
        f.action(c.item)->trigger();
        EXPECT_FALSE(QFile::exists(pdf)) << c.item; // cancelled
        confirm = true;
        f.action(c.item)->trigger();
        EXPECT_EQ(dialogs, c.pages > 0 ? 2 : 0) << c.item;
        EXPECT_EQ(pdfPageCount(readBytes(pdf)), c.pages) << c.item;
    }
    EXPECT_EQ(files.size(), 4);
}

// Without a printer the dialog offers a file in the contest folder named by
// what and when, not one in the home folder.
TEST(ReportPrint, FilesDefaultToTheContestFolder)
{
    MainWindowFixture f;
    f.contest().rules().flag = 12;
    f.contest().rules().currentDay = 3;
    const QString expected
        = QDir(f.contest().paths().root).filePath(QStringLiteral("各賞受賞者一覧-3日目.pdf"));
    EXPECT_EQ(f.window().printer().defaultFile(QStringLiteral("各賞受賞者一覧")), expected);
    QString offered;
    f.window().printer().setDialogHook([&](QPrinter &p) {
        offered = p.outputFileName();
        return false;
    });
    f.window().printer().print(PrintDocument(QStringLiteral("各賞受賞者一覧")));
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is installed: the dialog keeps it chosen";
    EXPECT_EQ(offered, expected);
}
