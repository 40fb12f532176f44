#include "TestSupport.h"

#include "publish/BanzukeReport.h"
#include "publish/EntryListReport.h"
#include "publish/PdfRenderer.h"
#include "publish/PrizeListReport.h"
#include "publish/ResultListReport.h"
#include "publish/WinLossChart.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace kc;

namespace {

struct Word
{
    double x1, y1, x2, y2;
    QString text;
};

struct PdfText
{
    double width = 0, height = 0;
    std::vector<Word> words;
    QString text; // the words as pdftotext -layout reads them, blanks run together
};

QString pdftotext(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

PdfText readPdf(const QByteArray &pdf, const QString &path)
{
    test::writeBytes(path, pdf);
    PdfText out;
    const QString xml = pdftotext({QStringLiteral("-bbox"), path, QStringLiteral("-")});
    const QRegularExpression page(
        QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)")re"));
    const auto m = page.match(xml);
    out.width = m.captured(1).toDouble();
    out.height = m.captured(2).toDouble();
    const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = word.globalMatch(xml); it.hasNext();) {
        const auto w = it.next();
        out.words.push_back({w.captured(1).toDouble(), w.captured(2).toDouble(),
                             w.captured(3).toDouble(), w.captured(4).toDouble(),
                             w.captured(5).replace(QStringLiteral("&apos;"), QStringLiteral("'"))});
    }
    out.text = pdftotext({QStringLiteral("-layout"), path, QStringLiteral("-")})
                   .replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
    return out;
}

void setUpContest(const QString &dir)
{
    const auto run = [&](QStringList args) {
        const auto r = test::runCli(QStringList {u"--dir"_qs, dir, u"--yes"_qs} + args);
        ASSERT_EQ(r.code, 0) << args.join(u' ').toStdString() << r.err.toStdString();
    };
    run({u"rename"_qs, u"20=大日本龍玉"_qs, u"21=東山九月"_qs, u"22=O'Neil"_qs});
    run({u"rules"_qs, u"decide"_qs});
    const QString names[] {u"九月東山日力士大"_qs, u"O'Neil Smithers1"_qs, u"東山"_qs,
                           u"ID 30,000 Wxyz"_qs};
    for (int i = 0; i < 4; ++i)
        run({u"entry"_qs, u"add"_qs, u"--shikona"_qs, names[i], u"--picks"_qs,
             QStringLiteral("%1,%2,%3,34,35,36,37").arg(20 + i).arg(21 + i).arg(22 + i),
             u"--reserve"_qs, QString::number(30 + i)});
    run({u"reception"_qs, u"close"_qs});
    run({u"prizes"_qs, u"decide"_qs});
    run({u"result"_qs, u"set"_qs, u"1"_qs, u"20=金"_qs, u"21=銀"_qs, u"22=休"_qs});
    run({u"result"_qs, u"confirm"_qs});
}

} // namespace

// Every report of a contest with long, kanji and Latin names, read back from
// its PDF: the names come out as typed (no Kangxi radicals for the kanji), no
// word within 5 mm of the paper's edge, and each name ends before the next
// column's rule.
TEST(ReportText, NamesReadBackExactlyInsideTheirColumnsAndOffTheEdge)
{
    test::TempContest tc;
    setUpContest(tc.root());
    Contest &c = tc.open();
    const QStringList rings {u"九月東山日力士大"_qs, u"O'Neil Smithers1"_qs, u"東山"_qs,
                             u"ID 30,000 Wxyz"_qs};
    const QStringList wrestlers {u"大日本龍玉"_qs, u"東山九月"_qs, u"O'Neil"_qs};
    std::vector<PrizeListRow> prizes(2);
    prizes[0] = {u"九月東山日力士大賞与賞与賞与賞与"_qs, rings[0], 100, 57, 30000};
    prizes[1] = {u"十日目 賞"_qs, rings[1], 101, 9, 1000};
    const int U = winloss::kUnit, M = winloss::kPaperMargin;
    const struct
    {
        const char *name;
        PrintDocument doc;
        QStringList names;
        std::vector<int> columns; // rules in twips, left to right
    } reports[] {
        {"banzuke", buildBanzukeReport(c), wrestlers, {900, 1550, 3000, 4050, 5350, 5900}},
        {"entries", buildEntryList(c), rings + wrestlers, {800, 1850, 2280, 3080, 3880, 4680}},
        {"results", buildResultList(c, ResultOrder::Rank), rings, {800, 1400, 2600, 3050}},
        {"results-by-id", buildResultList(c, ResultOrder::Id), rings, {800, 1400, 2600, 3050}},
        {"prizes",
         buildPrizeList(u"場所"_qs, 10, prizes),
         QStringList {prizes[0].prize, rings[0], rings[1]},
         {800, 3800, 5600, 6400}},
        {"chart",
         buildWinLossChart(c),
         wrestlers,
         {M, M + 7 * U, M + 25 * U, M + 32 * U, M + 50 * U, M + 57 * U}},
    };
    const double edge = 5 / 25.4 * 72; // 5 mm in points
    const double margin = PdfRenderer::kEdgeMillimetres / 25.4 * 72;
    const QSizeF area((210 - 2 * PdfRenderer::kEdgeMillimetres) / 25.4 * 1440,
                      (297 - 2 * PdfRenderer::kEdgeMillimetres) / 25.4 * 1440);
    for (const auto &r : reports) {
        SCOPED_TRACE(r.name);
        const PdfText pdf = readPdf(PdfRenderer::toPdf(r.doc),
                                    tc.root() + u'/' + QString::fromLatin1(r.name) + u".pdf"_qs);
        ASSERT_FALSE(pdf.words.empty());
        for (const QString &name : r.names)
            EXPECT_TRUE(pdf.text.contains(name)) << name.toStdString();
        for (const QChar ch : pdf.text)
            EXPECT_FALSE(ch.unicode() >= 0x2F00 && ch.unicode() <= 0x2FDF) << int(ch.unicode());
        const double scale = PdfRenderer::fitScale(r.doc, area);
        for (const Word &w : pdf.words) {
            EXPECT_TRUE(w.x1 >= edge && w.y1 >= edge && w.x2 <= pdf.width - edge
                        && w.y2 <= pdf.height - edge)
                << w.text.toStdString() << " at " << w.x1 << "," << w.y1;
            const bool isName = std::any_of(r.names.begin(), r.names.end(), [&](const QString &n) {
                return n.split(u' ').first() == w.text;
            });
            if (!isName)
                continue;
            for (std::size_t k = 0; k + 1 < r.columns.size(); ++k) {
                const double left = margin + r.columns[k] / 20.0 * scale;
                const double right = margin + r.columns[k + 1] / 20.0 * scale;
                if (w.x1 >= left && w.x1 < right) {
                    EXPECT_LT(w.x2, right) << w.text.toStdString();
                }
            }
        }
    }
}

// A gold star is yellow; on a black-and-white printer it still shows its edge.
TEST(ReportText, GoldStarReadsWithoutColour)
{
    PrintDocument doc;
    doc.setFont(u"ＭＳ 明朝"_qs);
    doc.setColour(QColor(255, 255, 0));
    doc.outlinedText(200, 200, 10, u"★"_qs);
    doc.text(600, 200, 10, u"★"_qs);
    QImage img(100, 50, QImage::Format_Grayscale8); // 10 twips a pixel
    img.fill(Qt::white);
    {
        QPainter p(&img);
        PdfRenderer::paintPage(p, doc.pages().front(), 144, 144);
    }
    const auto darkest = [&](int x1) {
        int d = 255;
        for (int y = 20; y < 40; ++y)
            for (int x = x1; x < x1 + 20; ++x)
                d = std::min(d, qGray(img.pixel(x, y)));
        return d;
    };
    EXPECT_LT(darkest(20), 100); // the edge
    EXPECT_GT(darkest(60), 180); // yellow alone is nearly white
}
