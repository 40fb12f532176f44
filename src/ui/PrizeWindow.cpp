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
    m_titleLabel = makeTitleLabel(QStringLiteral("結　果　発　表"), this);
    layout->addWidget(m_titleLabel);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DataGrid1"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Read-only: Tab goes on to the next control instead of the next cell.
    m_grid->setTabKeyNavigation(false);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_model = new QStandardItemModel(0, 6, this);
    for (int c = 0; c < 6; ++c)
        m_model->setHorizontalHeaderItem(c, new QStandardItem(QString::fromUtf16(kCaptions[c])));
    m_grid->setModel(m_model);
    m_grid->setColumnHidden(5, true);
    const double pixelsPerTwip = logicalDpiX() / 1440.0;
    int width = 0;
    for (int c = 0; c < 5; ++c) {
        const int px = int(kWidths[c] * pixelsPerTwip + 0.5);
        m_grid->setColumnWidth(c, px);
        width += px;
    }
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->setMinimumSize(width + m_grid->verticalHeader()->sizeHint().width() + 30, 420);
    layout->addWidget(m_grid);

    auto *buttons = new QHBoxLayout;
    m_printButton = new QPushButton(QStringLiteral("印刷"), this);
    m_printButton->setObjectName(QStringLiteral("cmdPrint"));
    m_previewButton = new QPushButton(QStringLiteral("印刷プレビュー"), this);
    m_previewButton->setObjectName(QStringLiteral("cmdPreview"));
    m_closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    m_closeButton->setObjectName(QStringLiteral("Command1"));
    for (QPushButton *b : {m_printButton, m_previewButton, m_closeButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->insertStretch(0);
    layout->addLayout(buttons);
    connect(m_printButton, &QPushButton::clicked, this, &PrizeWindow::printClicked);
    connect(m_previewButton, &QPushButton::clicked, this, &PrizeWindow::previewClicked);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::accept);

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
