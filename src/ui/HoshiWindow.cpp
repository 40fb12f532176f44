#include "ui/HoshiWindow.h"
#include "ui/ActionRunner.h"
#include "ui/Fonts.h"
#include "ui/PrintRenderer.h"

#include "publish/PdfRenderer.h"
#include "publish/WinLossChart.h"
#include "store/Contest.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kc::ui {

namespace {

// m_chart: paints the chart's items at the screen's resolution.
class ChartSurface : public QWidget
{
public:
    explicit ChartSurface(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Pic1"));
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, ChartColours().light);
        setPalette(p);
    }
    void setDocument(PrintDocument doc, int widthTwips, int heightTwips)
    {
        m_doc = std::move(doc);
        setFixedSize(int(widthTwips * logicalDpiX() / 1440.0 + 0.5),
                     int(heightTwips * logicalDpiY() / 1440.0 + 0.5));
        update();
    }
    const PrintDocument &document() const { return m_doc; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        if (m_doc.pageCount() > 0)
            PdfRenderer::paintPage(painter, m_doc.pages()[0], logicalDpiX(), logicalDpiY());
    }

private:
    PrintDocument m_doc;
};

} // namespace

HoshiWindow *HoshiWindow::open(Contest &contest, PrintRenderer &printer, QWidget *parent)
{
    if (parent)
        if (auto *open = parent->findChild<HoshiWindow *>(QStringLiteral("frmHoshi"))) {
            open->refresh();
            open->show();
            open->raise();
            open->activateWindow();
            return open;
        }
    auto *window = new HoshiWindow(contest, printer, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

HoshiWindow::HoshiWindow(Contest &contest, PrintRenderer &printer, QWidget *parent)
    : QWidget(parent, Qt::Window), m_contest(contest), m_printer(printer)
{
    setObjectName(QStringLiteral("frmHoshi"));
    setWindowTitle(QStringLiteral("星取表"));
    auto *layout = new QVBoxLayout(this);
    m_titleLabel = makeTitleLabel(QStringLiteral("星　　取　　表"), this);
    layout->addWidget(m_titleLabel);

    m_chart = new ChartSurface(this);
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(m_chart);
    scroll->setAlignment(Qt::AlignHCenter);
    scroll->setFrameShape(QFrame::NoFrame);
    layout->addWidget(scroll, 1);

    auto *buttons = new QHBoxLayout;
    m_printButton = new QPushButton(QStringLiteral("印刷"), this);
    m_printButton->setObjectName(QStringLiteral("cmdPrint"));
    m_previewButton = new QPushButton(QStringLiteral("印刷プレビュー"), this);
    m_previewButton->setObjectName(QStringLiteral("cmdPreview"));
    m_closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    m_closeButton->setObjectName(QStringLiteral("cmdClose"));
    buttons->addStretch();
    for (QPushButton *b : {m_printButton, m_previewButton, m_closeButton})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(m_printButton, &QPushButton::clicked, this, &HoshiWindow::printClicked);
    connect(m_previewButton, &QPushButton::clicked, this, &HoshiWindow::previewClicked);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);

    refresh();
    // The whole chart without scrolling where the screen allows it.
    resize(m_chart->width() + 60,
           m_chart->height() + m_titleLabel->sizeHint().height()
               + m_closeButton->sizeHint().height() + 70);
}

void HoshiWindow::refresh()
{
    const ChartColours colours;
    const Roster &roster = m_contest.roster();
    static_cast<ChartSurface *>(m_chart)->setDocument(
        buildWinLossChartScreen(roster, m_contest.rules().currentDay, colours), winloss::width(),
        winloss::height(roster));
}

void HoshiWindow::printClicked()
{
    runAction(m_contest, [this] { m_printer.print(buildWinLossChart(m_contest)); });
}

void HoshiWindow::previewClicked()
{
    runAction(m_contest, [this] { m_printer.preview(buildWinLossChart(m_contest)); });
}

} // namespace kc::ui
