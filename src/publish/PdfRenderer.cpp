#include "publish/PdfRenderer.h"

#include "store/FileStore.h"
#include "store/StoreError.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>

namespace kc {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kPrinterDotsPerInch = 600.0; // what a draw width in dots is measured against

bool isHalfWidth(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F);
}

// A draw width in printer dots, never thinner than one dot of the device.
QPen penFor(const PrintItem &item, double dpi)
{
    QPen pen(item.colour);
    pen.setWidthF(std::max(std::max(1, item.drawWidth) * kTwipsPerInch / kPrinterDotsPerInch,
                           kTwipsPerInch / dpi));
    return pen;
}

} // namespace

bool PdfRenderer::isFixedPitch(const QString &family)
{
    return family == u"ＭＳ 明朝" || family == u"ＭＳ ゴシック" || family == u"MS Mincho"
        || family == u"MS Gothic";
}

QFont PdfRenderer::fontFor(const QString &family, double points, bool bold)
{
    // The Windows fonts are stood in for by the IPAex fonts the set-up installs.
    const bool gothic = family.contains(QStringLiteral("ゴシック"))
        || family.contains(QStringLiteral("Gothic"), Qt::CaseInsensitive);
    QFont font(gothic ? QStringLiteral("IPAexGothic") : QStringLiteral("IPAexMincho"));
    font.setStyleHint(gothic ? QFont::SansSerif : QFont::Serif);
    // Sizes are set in twips (1 point = 20 twips) because pages are painted in twips.
    font.setPixelSize(std::max(1, int(std::lround(points * 20))));
    font.setBold(bold);
    return font;
}

void PdfRenderer::paintPage(QPainter &painter, const PrintPage &page, double dpiX, double dpiY)
{
    painter.save();
    painter.scale(dpiX / kTwipsPerInch, dpiY / kTwipsPerInch);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const PrintItem &item : page.items) {
        switch (item.kind) {
        case PrintItem::Kind::Text: {
            const QFont font = fontFor(item.fontFamily, item.fontSize, item.bold);
            painter.setFont(font);
            painter.setPen(item.colour);
            const QFontMetricsF metrics(font);
            const double baseline = item.y + metrics.ascent();
            if (!isFixedPitch(item.fontFamily)) {
                painter.drawText(QPointF(item.x, baseline), item.text);
                break;
            }
            // One cell per character, half a cell for a half-width one, so
            // blank-padded numbers line up as on the printer.
            const double cell = item.fontSize * 20;
            double x = item.x;
            for (qsizetype i = 0; i < item.text.size(); ++i) {
                const QChar c = item.text.at(i);
                if (c.isHighSurrogate() && i + 1 < item.text.size()) {
                    painter.drawText(QPointF(x, baseline), item.text.mid(i, 2));
                    ++i;
                    x += cell;
                    continue;
                }
                if (c != u' ')
                    painter.drawText(QPointF(x, baseline), QString(c));
                x += isHalfWidth(c) ? cell / 2 : cell;
            }
            break;
        }
        case PrintItem::Kind::Line: {
            painter.setPen(penFor(item, dpiX));
            painter.drawLine(QPointF(item.x, item.y), QPointF(item.x2, item.y2));
            break;
        }
        case PrintItem::Kind::Box: {
            const QRectF rect
                = QRectF(QPointF(item.x, item.y), QPointF(item.x2, item.y2)).normalized();
            painter.setPen(penFor(item, dpiX));
            painter.setBrush(item.filled ? QBrush(item.colour) : QBrush(Qt::NoBrush));
            painter.drawRect(rect);
            painter.setBrush(Qt::NoBrush);
            break;
        }
        }
    }
    painter.restore();
}

void PdfRenderer::paint(const PrintDocument &document, QPagedPaintDevice &device)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw StoreError(QStringLiteral("印刷を開始できません。"), QString());
    const double dpiX = device.logicalDpiX();
    const double dpiY = device.logicalDpiY();
    for (int p = 0; p < document.pageCount(); ++p) {
        if (p > 0)
            device.newPage();
        paintPage(painter, document.pages()[p], dpiX, dpiY);
    }
    painter.end();
}

QByteArray PdfRenderer::toPdf(const PrintDocument &document)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setTitle(document.title());
        writer.setCreator(QStringLiteral("Kachikoshi Cup"));
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4),
                        document.landscape() ? QPageLayout::Landscape : QPageLayout::Portrait,
                        QMarginsF(0, 0, 0, 0)));
        paint(document, writer);
    }
    return bytes;
}

void PdfRenderer::writePdf(const PrintDocument &document, const QString &path)
{
    writeFileAtomically(path, toPdf(document));
}

} // namespace kc
