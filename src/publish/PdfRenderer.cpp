#include "publish/PdfRenderer.h"

#include "publish/Fonts.h"
#include "store/FileStore.h"
#include "store/StoreError.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
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
    // The Windows fonts are stood in for by the IPA fonts the set-up installs.
    const bool gothic = family.contains(QStringLiteral("ゴシック"))
        || family.contains(QStringLiteral("Gothic"), Qt::CaseInsensitive);
    const PrintFace face = gothic ? PrintFace::Gothic
        : isFixedPitch(family)    ? PrintFace::Mincho
                                  : PrintFace::PMincho;
    QFont font(printFamily(face));
    font.setStyleHint(gothic ? QFont::SansSerif : QFont::Serif);
    // Sizes are set in twips (1 point = 20 twips) because pages are painted in twips.
    font.setPixelSize(std::max(1, int(std::lround(points * 20))));
    font.setBold(bold);
    return font;
}

namespace {

// Whether the font itself keeps the cells: Latin at half a cell, kanji at a whole one.
bool fontKeepsCells(const QFont &font)
{
    const QFontMetricsF m(font);
    const double cell = font.pixelSize();
    return std::abs(m.horizontalAdvance(u'M') - cell / 2) < 0.5
        && std::abs(m.horizontalAdvance(u'i') - cell / 2) < 0.5
        && std::abs(m.horizontalAdvance(u'国') - cell) < 0.5;
}

// A text as it will be drawn: its font, its (perhaps cut) text and its width.
struct Fitted
{
    QFont font;
    QString text;
    bool cells = false; // one cell per character, drawn one by one
    double width = 0;
};

double widthOf(const Fitted &f, const QString &text)
{
    if (!f.cells)
        return QFontMetricsF(f.font).horizontalAdvance(text);
    double w = 0;
    const double cell = f.font.pixelSize();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size())
            ++i;
        w += isHalfWidth(text.at(i)) ? cell / 2 : cell;
    }
    return w;
}

Fitted fitted(const PrintItem &item, double points)
{
    Fitted f;
    f.font = PdfRenderer::fontFor(item.fontFamily, points, item.bold);
    f.cells = PdfRenderer::isFixedPitch(item.fontFamily) && !fontKeepsCells(f.font);
    f.text = item.text;
    f.width = widthOf(f, f.text);
    return f;
}

Fitted fit(const PrintItem &item)
{
    Fitted f = fitted(item, item.fontSize);
    const double room = item.right - item.x;
    if (item.right <= 0 || f.width <= room)
        return f;
    // Shrink in twentieths of a point (the font's step) down to the minimum.
    double points = std::max(PdfRenderer::kMinFitPoints,
                             std::floor(item.fontSize * room / f.width * 20) / 20);
    f = fitted(item, std::min(points, item.fontSize));
    while (f.width > room && points > PdfRenderer::kMinFitPoints) {
        points = std::max(PdfRenderer::kMinFitPoints, points - 0.05);
        f = fitted(item, points);
    }
    if (f.width <= room)
        return f;
    const QString ellipsis = QStringLiteral("…");
    QString text = f.text;
    while (!text.isEmpty() && widthOf(f, text + ellipsis) > room) {
        text.chop(text.size() > 1 && text.at(text.size() - 1).isLowSurrogate() ? 2 : 1);
    }
    f.text = text + ellipsis;
    f.width = widthOf(f, f.text);
    return f;
}

void drawText(QPainter &painter, const PrintItem &item)
{
    const Fitted f = fit(item);
    painter.setFont(f.font);
    const double baseline = item.y + QFontMetricsF(f.font).ascent();
    const auto draw = [&](const QPointF &at, const QString &text) {
        painter.setPen(item.colour);
        painter.drawText(at, text);
        if (!item.outlined)
            return;
        // A black edge round the colour: the mark reads without colour too,
        // and stays text for copying.
        QPainterPath path;
        path.addText(at, f.font, text);
        painter.setPen(QPen(Qt::black, f.font.pixelSize() / 20.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    };
    if (!f.cells) {
        draw(QPointF(item.x, baseline), f.text);
        return;
    }
    // A font without half-width Latin: one cell per character, half a cell
    // for a half-width one, so blank-padded numbers still line up.
    const double cell = f.font.pixelSize();
    double x = item.x;
    for (qsizetype i = 0; i < f.text.size(); ++i) {
        const QChar c = f.text.at(i);
        if (c.isHighSurrogate() && i + 1 < f.text.size()) {
            draw(QPointF(x, baseline), f.text.mid(i, 2));
            ++i;
            x += cell;
            continue;
        }
        const double w = isHalfWidth(c) ? cell / 2 : cell;
        if (c != u' ') // centred in its cell, as a fixed-pitch font draws it
            draw(QPointF(x + (w - QFontMetricsF(f.font).horizontalAdvance(c)) / 2, baseline),
                 QString(c));
        x += w;
    }
}

} // namespace

QRectF PdfRenderer::extent(const PrintDocument &document)
{
    QRectF all;
    for (const PrintPage &page : document.pages())
        for (const PrintItem &item : page.items) {
            QRectF r;
            if (item.kind == PrintItem::Kind::Text) {
                const Fitted f = fit(item);
                r = QRectF(item.x, item.y, f.width, QFontMetricsF(f.font).height());
            } else {
                r = QRectF(QPointF(item.x, item.y), QPointF(item.x2, item.y2)).normalized();
            }
            all = all.isNull() ? r : all.united(r);
        }
    return all;
}

double PdfRenderer::fitScale(const PrintDocument &document, const QSizeF &area)
{
    const QRectF used = extent(document);
    double scale = 1;
    if (used.right() > area.width() && used.right() > 0)
        scale = std::min(scale, area.width() / used.right());
    if (used.bottom() > area.height() && used.bottom() > 0)
        scale = std::min(scale, area.height() / used.bottom());
    return scale;
}

QPageLayout PdfRenderer::pageLayout(bool landscape)
{
    return QPageLayout(
        QPageSize(QPageSize::A4), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF(kEdgeMillimetres, kEdgeMillimetres, kEdgeMillimetres, kEdgeMillimetres),
        QPageLayout::Millimeter);
}

void PdfRenderer::paintPage(QPainter &painter, const PrintPage &page, double dpiX, double dpiY,
                            double scale)
{
    painter.save();
    painter.scale(scale * dpiX / kTwipsPerInch, scale * dpiY / kTwipsPerInch);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const PrintItem &item : page.items) {
        switch (item.kind) {
        case PrintItem::Kind::Text:
            drawText(painter, item);
            break;
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
    // The layout kept whole inside the printable area, made smaller where it is wider.
    const double scale = fitScale(
        document,
        QSizeF(device.width() * kTwipsPerInch / dpiX, device.height() * kTwipsPerInch / dpiY));
    for (int p = 0; p < document.pageCount(); ++p) {
        if (p > 0)
            device.newPage();
        paintPage(painter, document.pages()[p], dpiX, dpiY, scale);
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
        writer.setPageLayout(pageLayout(document.landscape()));
        paint(document, writer);
    }
    return bytes;
}

void PdfRenderer::writePdf(const PrintDocument &document, const QString &path)
{
    writeFileAtomically(path, toPdf(document));
}

} // namespace kc
