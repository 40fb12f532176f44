#include "RulesTestSupport.h"

#include "publish/PrizeListReport.h"
#include "rules/PrizeTable.h"
#include "store/RecordSet.h"
#include "ui/PrintRenderer.h"
#include "ui/PrizeWindow.h"

#include "WidgetLookup.h"
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "TestSupport.h"

using namespace kc;
using namespace kc::test;
using kc::ui::PrintRenderer;
using kc::ui::PrizeWindow;

namespace {

class PrizeWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        c = &tc.open();
        registerParticipants(*c, 40, 10);
        c->rules().currentDay = 15;
        buildPrizeTable(*c);
        RecordSet prize(c->database(), QStringLiteral("PRIZE"));
        prize.setFilter(QStringLiteral("表示順 = 1"));
        prize.moveFirst();
        prize.setValue(QStringLiteral("ID"), 104);
        prize.setValue(QStringLiteral("しこな"), QStringLiteral("参加者5"));
        prize.setValue(QStringLiteral("得点"), 321);
        prize.update();
        pdf = tc.root() + QStringLiteral("/printed.pdf");
    }
    // The dialog confirmed with the file printer chosen.
    PrintRenderer::DialogHook toFile()
    {
        return [this](QPrinter &p) {
            ++dialogs;
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            return true;
        };
    }
    TempContest tc;
    Contest *c = nullptr;
    QString pdf;
    int dialogs = 0;
};

TEST_F(PrizeWindowTest, GridShowsThePrizeTableInOrder)
{
    PrintRenderer printer;
    PrizeWindow w(*c, printer);
    w.show();
    EXPECT_EQ(w.objectName(), u"frmPrize");
    EXPECT_EQ(w.windowTitle(), u"結果発表");
    EXPECT_EQ(w.findChild<QLabel *>(QStringLiteral("Label1"))->text(), u"結　果　発　表");
    EXPECT_EQ(w.findChild<QPushButton *>(QStringLiteral("cmdPrint"))->text(), u"印刷");
    EXPECT_EQ(w.findChild<QPushButton *>(QStringLiteral("Command1"))->text(), u"閉じる");
    auto *grid = w.findChild<QTableView *>(QStringLiteral("DataGrid1"));
    ASSERT_TRUE(grid);
    QAbstractItemModel *m = grid->model();
    const QStringList captions {QStringLiteral("　　賞　　位"), QStringLiteral("　しこな"),
                                QStringLiteral("ID"), QStringLiteral("　取得点"),
                                QStringLiteral("賞位ﾎﾟｲﾝﾄ")};
    for (int col = 0; col < 5; ++col)
        EXPECT_EQ(m->headerData(col, Qt::Horizontal).toString(), captions[col]);
    EXPECT_TRUE(grid->isColumnHidden(5));
    EXPECT_EQ(PrizeWindow::columnTwips(0), 1800);
    EXPECT_EQ(PrizeWindow::columnTwips(3), 900);
    const double perTwip = w.logicalDpiX() / 1440.0;
    EXPECT_NEAR(grid->columnWidth(1), 1600 * perTwip, 1);
    // Defaults with 40 participants after 賞位決定's rebuild: 11 rank prizes, 中日, days 6..10.
    ASSERT_EQ(m->rowCount(), 17);
    EXPECT_EQ(m->index(0, 0).data().toString(), u"優勝");
    EXPECT_EQ(m->index(0, 1).data().toString(), u"参加者5");
    EXPECT_EQ(m->index(0, 2).data().toInt(), 104);
    EXPECT_EQ(m->index(0, 3).data().toInt(), 321);
    EXPECT_EQ(m->index(0, 4).data().toInt(), 30000);
    EXPECT_EQ(m->index(11, 0).data().toString(), u"中日累計賞");
    EXPECT_EQ(m->index(16, 0).data().toString(), u"十日目 賞");

    click(w, QStringLiteral("Command1"));
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST_F(PrizeWindowTest, PrintGoesThroughTheDialog)
{
    PrintRenderer printer;
    PrizeWindow w(*c, printer);
    w.show();
    const QByteArray credit = readBytes(tc.dataFile(QStringLiteral("Credit.Dat")));
    printer.setDialogHook([this](QPrinter &) {
        ++dialogs;
        return false;
    });
    click(w, QStringLiteral("cmdPrint"));
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(QFile::exists(pdf)); // cancelled: nothing printed
    EXPECT_FALSE(printer.hasOpenDocument());

    printer.setDialogHook(toFile());
    click(w, QStringLiteral("cmdPrint"));
    EXPECT_EQ(dialogs, 2);
    const QByteArray bytes = readBytes(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(kc::test::pdfPageCount(bytes), 1);
    EXPECT_FALSE(printer.hasOpenDocument());
    EXPECT_EQ(readBytes(tc.dataFile(QStringLiteral("Credit.Dat"))), credit);
}

TEST_F(PrizeWindowTest, PrintendEndsADocumentLeftOpen)
{
    PrintRenderer printer;
    printer.setDialogHook(toFile());
    const PrintDocument doc = buildPrizeList(*c);
    ASSERT_TRUE(printer.beginDocument(doc.title()));
    printer.printPage(doc.pages().front());
    printer.printPage(doc.pages().front());
    EXPECT_TRUE(printer.hasOpenDocument());
    printer.endDocument();
    EXPECT_FALSE(printer.hasOpenDocument());
    const QByteArray bytes = readBytes(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(kc::test::pdfPageCount(bytes), 2);
    printer.endDocument(); // nothing open: nothing happens
    EXPECT_FALSE(printer.hasOpenDocument());
}

} // namespace
