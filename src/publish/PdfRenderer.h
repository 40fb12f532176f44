#pragma once

#include "publish/PrintDocument.h"

#include <QByteArray>
#include <QFont>

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

    // Paints one page on an active painter whose device has `dpiX` x `dpiY` dots per inch.
    static void paintPage(QPainter &painter, const PrintPage &page, double dpiX, double dpiY);
    // Paints every page of the document, starting a new device page between pages.
    static void paint(const PrintDocument &document, QPagedPaintDevice &device);

    // The document as a PDF (A4, no margins).
    static QByteArray toPdf(const PrintDocument &document);
    // Writes the PDF atomically; throws StoreError naming the file.
    static void writePdf(const PrintDocument &document, const QString &path);
};

} // namespace kc
