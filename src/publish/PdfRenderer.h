#pragma once

#include "publish/PrintDocument.h"

#include <QByteArray>
#include <QFont>
#include <QPageLayout>
#include <QRectF>

class QPainter;
class QPagedPaintDevice;

namespace kc {

// Paints print documents with QPainter: on a printer (the windows), into a
// PDF (the command line), or on screen. Positions in twips become device units.
class PdfRenderer
{
public:
    // The font a family name of the printed reports stands for on this system.
    static QFont fontFor(const QString &family, double points, bool bold);
    // Whether the family lays out every character in a fixed cell (half-width
    // characters half a cell), as the reports' column alignment relies on.
    static bool isFixedPitch(const QString &family);

    // A fitted text is never drawn smaller than this.
    static constexpr double kMinFitPoints = 5.5;
    // Nothing is printed nearer the paper's edge: printers cut the outer few millimetres.
    static constexpr double kEdgeMillimetres = 6;

    // Paints one page on an active painter whose device has `dpiX` x `dpiY`
    // dots per inch, its twips made `scale` times as large.
    static void paintPage(QPainter &painter, const PrintPage &page, double dpiX, double dpiY,
                          double scale = 1);
    // The twips the document's items cover, from the origin, texts as fitted.
    static QRectF extent(const PrintDocument &document);
    // The scale (at most 1) that keeps the document inside `area` (twips).
    static double fitScale(const PrintDocument &document, const QSizeF &area);
    // A4 with the margins that keep every item off the paper's edge.
    static QPageLayout pageLayout(bool landscape);
    // Paints every page of the document, starting a new device page between pages.
    static void paint(const PrintDocument &document, QPagedPaintDevice &device);

    // The document as a PDF (A4, inside the edge margins).
    static QByteArray toPdf(const PrintDocument &document);
    // Writes the PDF atomically; throws StoreError naming the file.
    static void writePdf(const PrintDocument &document, const QString &path);
};

} // namespace kc
