#include "TestSupport.h"

#include "publish/PdfRenderer.h"
#include "publish/PrizeListReport.h"
#include "store/StoreError.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kc;

namespace {

// Whether any pixel of the rectangle (in twips) is dark, at 10 twips per pixel.
bool inkIn(const QImage &img, int x1, int y1, int x2, int y2)
{
    for (int y = y1 / 10; y <= y2 / 10; ++y)
        for (int x = x1 / 10; x <= x2 / 10; ++x)
            if (x < img.width() && y < img.height() && qGray(img.pixel(x, y)) < 128)
                return true;
    return false;
}

TEST(PdfRenderer, WritesRealPages)
{
    PrintDocument doc(QStringLiteral("試験"));
    doc.setFont(QStringLiteral("ＭＳ 明朝"));
    doc.text(1000, 1000, 11, QStringLiteral("一ページ目"));
    doc.newPage();
    doc.text(1000, 1000, 11, QStringLiteral("二ページ目"));
    doc.box(800, 1400, 9000, 2000, Qt::red, true);
    const QByteArray pdf = PdfRenderer::toPdf(doc);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(kc::test::pdfPageCount(pdf), 2);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.pdf"));
    PdfRenderer::writePdf(buildPrizeList(QStringLiteral("場所"), 15, {}), path);
    const QByteArray written = test::readBytes(path);
    EXPECT_TRUE(written.startsWith("%PDF"));
    EXPECT_EQ(kc::test::pdfPageCount(written), 1);
    EXPECT_THROW(PdfRenderer::writePdf(doc, dir.path()), StoreError);
}

TEST(PdfRenderer, PaintsItemsWhereTheyArePlaced)
{
    PrintDocument doc;
    doc.setFont(QStringLiteral("ＭＳ 明朝"));
    doc.text(2000, 1000, 11, QStringLiteral("賞位名"));
    doc.line(800, 3000, 9000, 3000);
    doc.box(1000, 4000, 2000, 5000, Qt::black, true);
    doc.box(3000, 4000, 4000, 5000, Qt::black, false);
    doc.setColour(QColor(255, 255, 0)); // a 金星: yellow alone vanishes in black and white
    doc.outlinedText(6000, 1000, 10, u"★"_qs);
    doc.text(7000, 1000, 10, u"★"_qs);

    QImage img(1000, 600, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        PdfRenderer::paintPage(p, doc.pages().front(), 144, 144); // 10 twips a pixel
    }
    // The text hangs below its position, starting at its x.
    EXPECT_TRUE(inkIn(img, 2000, 1000, 2000 + 3 * 220, 1000 + 220));
    EXPECT_FALSE(inkIn(img, 0, 0, 1900, 900));
    EXPECT_TRUE(inkIn(img, 5000, 2990, 5000, 3010));
    EXPECT_FALSE(inkIn(img, 5000, 3100, 5000, 3900));
    EXPECT_TRUE(inkIn(img, 1500, 4500, 1500, 4500)); // filled
    EXPECT_FALSE(inkIn(img, 3500, 4500, 3500, 4500)); // outline only
    EXPECT_TRUE(inkIn(img, 3000, 4500, 3000, 4500));
    EXPECT_TRUE(inkIn(img, 6000, 1000, 6200, 1200)); // its edge
    EXPECT_FALSE(inkIn(img, 7000, 1000, 7200, 1200));
}

TEST(PdfRenderer, FixedPitchFamiliesKeepPaddedNumbersAligned)
{
    EXPECT_TRUE(PdfRenderer::isFixedPitch(QStringLiteral("ＭＳ 明朝")));
    EXPECT_FALSE(PdfRenderer::isFixedPitch(QStringLiteral("ＭＳ Ｐ明朝")));
    // "  1,600" and "    999" end in the same cell: their last digits sit at the same x.
    auto lastInkColumn = [](const QString &text) {
        PrintDocument doc;
        doc.setFont(QStringLiteral("ＭＳ 明朝"));
        doc.text(1000, 1000, 11, text);
        QImage img(400, 200, QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            PdfRenderer::paintPage(p, doc.pages().front(), 144, 144);
        }
        int last = -1;
        for (int x = 0; x < img.width(); ++x)
            for (int y = 0; y < img.height(); ++y)
                if (qGray(img.pixel(x, y)) < 128)
                    last = x;
        return last;
    };
    const int a = lastInkColumn(QStringLiteral("  1,600"));
    const int b = lastInkColumn(QStringLiteral("    999"));
    ASSERT_GT(a, 0);
    EXPECT_NEAR(a, b, 3);
    EXPECT_NEAR(a, 100 + 7 * 11, 6); // seven half cells of 110 twips from x = 1000
}

} // namespace
