#include "ui/PrintRenderer.h"

#include "publish/PdfRenderer.h"
#include "store/StoreError.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace kc::ui {

PrintRenderer::PrintRenderer(QWidget *parent) : m_parent(parent) { }

PrintRenderer::~PrintRenderer()
{
    if (hasOpenDocument()) {
        try {
            endDocument();
        } catch (...) {
        }
    }
}

bool PrintRenderer::choosePrinter(QPrinter &printer)
{
    if (m_dialogHook)
        return m_dialogHook(printer);
    QPrintDialog dialog(&printer, m_parent);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    // No selection to print; copies and collation are the driver's.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    // The file printer stays: on this platform it is how a PDF is saved.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

QString PrintRenderer::defaultFile(const QString &title) const
{
    return m_fileNamer ? m_fileNamer(title) : QString();
}

void PrintRenderer::offerFile(QPrinter &printer) const
{
    // Without a printer the dialog can only print to a file: put it beside the
    // contest instead of the home folder. With one, the printer stays chosen.
    const QString file = defaultFile(printer.docName());
    if (!file.isEmpty() && QPrinterInfo::availablePrinterNames().isEmpty())
        printer.setOutputFileName(file);
}

namespace {

// The printer's own margins, or the ones that keep the paper's edge clear where they are smaller.
void keepOffTheEdge(QPrinter &printer)
{
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF least = layout.minimumMargins();
    const double edge = kc::PdfRenderer::kEdgeMillimetres;
    layout.setMargins(QMarginsF(std::max(edge, least.left()), std::max(edge, least.top()),
                                std::max(edge, least.right()), std::max(edge, least.bottom())));
    printer.setPageLayout(layout);
}

double scaleFor(const PrintDocument &document, QPrinter &printer)
{
    const QRectF area = printer.pageRect(QPrinter::Inch);
    return kc::PdfRenderer::fitScale(document, area.size() * 1440);
}

} // namespace

bool PrintRenderer::beginDocument(const QString &title, bool landscape)
{
    if (hasOpenDocument())
        endDocument();
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(title);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    offerFile(*printer);
    keepOffTheEdge(*printer);
    if (!choosePrinter(*printer))
        return false;
    keepOffTheEdge(*printer); // the printer chosen may cut more
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(printer.get()))
        throw StoreError(QStringLiteral("印刷を開始できません（%1）。").arg(printer->printerName()),
                         printer->outputFileName());
    m_printer = std::move(printer);
    m_painter = std::move(painter);
    m_pages = 0;
    return true;
}

void PrintRenderer::printPage(const PrintPage &page, double scale)
{
    if (!hasOpenDocument())
        return;
    if (m_pages > 0)
        m_printer->newPage();
    kc::PdfRenderer::paintPage(*m_painter, page, m_printer->logicalDpiX(), m_printer->logicalDpiY(),
                               scale);
    ++m_pages;
}

bool PrintRenderer::hasOpenDocument() const
{
    return m_painter && m_painter->isActive();
}

void PrintRenderer::endDocument()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
    m_printer.reset();
    m_pages = 0;
}

bool PrintRenderer::print(const PrintDocument &document)
{
    if (!beginDocument(document.title(), document.landscape()))
        return false;
    const double scale = scaleFor(document, *m_printer);
    for (const PrintPage &page : document.pages())
        printPage(page, scale);
    endDocument();
    return true;
}

void PrintRenderer::preview(const PrintDocument &document)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(document.title());
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(document.landscape() ? QPageLayout::Landscape
                                                    : QPageLayout::Portrait);
    keepOffTheEdge(printer);
    offerFile(printer);
    QPrintPreviewDialog dialog(&printer, m_parent);
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&document](QPrinter *p) { kc::PdfRenderer::paint(document, *p); });
    dialog.exec();
}

} // namespace kc::ui
