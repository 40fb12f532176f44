#include "ui/PrizeWindow.h"
#include "ui/ActionRunner.h"
#include "ui/Fonts.h"

#include "publish/PrizeListReport.h"
#include "store/Contest.h"
#include "store/RecordSet.h"
#include "store/StoreError.h"
#include "ui/PrintRenderer.h"

#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace kc::ui {

namespace {
const char16_t *const kCaptions[]
    = {u"　　賞　　位", u"　しこな", u"ID", u"　取得点", u"賞位ﾎﾟｲﾝﾄ", u"表示順"};
const int kWidths[] = {1800, 1600, 600, 900, 1000, 0};
} // namespace

int PrizeWindow::columnTwips(int column)
{
    return column >= 0 && column < 6 ? kWidths[column] : 0;
}

PrizeWindow::PrizeWindow(Contest &contest, PrintRenderer &printer, QWidget *parent)
    : QDialog(parent), m_contest(contest), m_printer(printer)
{
    setObjectName(QStringLiteral("frmPrize"));
    setWindowTitle(QStringLiteral("結果発表"));
    auto *layout = new QVBoxLayout(this);
    Label1 = makeTitleLabel(QStringLiteral("結　果　発　表"), this);
    layout->addWidget(Label1);

    DataGrid1 = new QTableView(this);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Read-only: Tab goes on to the next control instead of the next cell.
    DataGrid1->setTabKeyNavigation(false);
    DataGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_model = new QStandardItemModel(0, 6, this);
    for (int c = 0; c < 6; ++c)
        m_model->setHorizontalHeaderItem(c, new QStandardItem(QString::fromUtf16(kCaptions[c])));
    DataGrid1->setModel(m_model);
    DataGrid1->setColumnHidden(5, true);
    const double pixelsPerTwip = logicalDpiX() / 1440.0;
    int width = 0;
    for (int c = 0; c < 5; ++c) {
        const int px = int(kWidths[c] * pixelsPerTwip + 0.5);
        DataGrid1->setColumnWidth(c, px);
        width += px;
    }
    DataGrid1->verticalHeader()->setDefaultSectionSize(DataGrid1->fontMetrics().height() + 6);
    DataGrid1->setMinimumSize(width + DataGrid1->verticalHeader()->sizeHint().width() + 30, 420);
    layout->addWidget(DataGrid1);

    auto *buttons = new QHBoxLayout;
    cmdPrint = new QPushButton(QStringLiteral("印刷"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPreview = new QPushButton(QStringLiteral("印刷プレビュー"), this);
    cmdPreview->setObjectName(QStringLiteral("cmdPreview"));
    Command1 = new QPushButton(QStringLiteral("閉じる"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    for (QPushButton *b : {cmdPrint, cmdPreview, Command1}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->insertStretch(0);
    layout->addLayout(buttons);
    connect(cmdPrint, &QPushButton::clicked, this, &PrizeWindow::printClicked);
    connect(cmdPreview, &QPushButton::clicked, this, &PrizeWindow::previewClicked);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);

    load();
}

void PrizeWindow::load()
{
    m_model->removeRows(0, m_model->rowCount());
    RecordSet rs(m_contest.database(), QStringLiteral("PRIZE"));
    rs.setSort(QStringLiteral("表示順 ASC"));
    const QStringList columns
        = {QStringLiteral("賞位"), QStringLiteral("しこな"),   QStringLiteral("ID"),
           QStringLiteral("得点"), QStringLiteral("ポイント"), QStringLiteral("表示順")};
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        QList<QStandardItem *> row;
        for (int c = 0; c < 6; ++c) {
            auto *item = new QStandardItem;
            item->setData(rs.value(columns[c]), Qt::DisplayRole);
            if (c >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            row << item;
        }
        m_model->appendRow(row);
    }
}

void PrizeWindow::printClicked()
{
    runAction(m_contest, [this] { m_printer.print(buildPrizeList(m_contest)); });
}

void PrizeWindow::previewClicked()
{
    runAction(m_contest, [this] { m_printer.preview(buildPrizeList(m_contest)); });
}

} // namespace kc::ui
