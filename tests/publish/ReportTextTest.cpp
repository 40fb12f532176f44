#include "TestSupport.h"

#include "publish/BanzukeReport.h"
#include "publish/EntryListReport.h"
#include "publish/PdfRenderer.h"
#include "publish/PrizeListReport.h"
#include "publish/ResultListReport.h"
#include "publish/WinLossChart.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace kc;

// Every report of a contest with long, kanji and Latin names, read back from
// its PDF: the names come out as typed (no Kangxi radical for a kanji), no word
// lies within 5 mm of the paper's edge, and a name ends before the next column.
TEST(ReportText, NamesReadBackExactlyInsideTheirColumnsAndOffTheEdge)
{
    test::TempContest tc;
    const auto pdftotext = [](const QString &option, const QString &pdf) {
        QProcess p;
        p.start(u"pdftotext"_qs, {option, pdf, u"-"_qs});
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput()).replace(u"&apos;"_qs, u"'"_qs);
    };
    const QStringList rings {u"九月東山日力士大"_qs, u"O'Neil Smithers1"_qs, u"東山"_qs,
                             u"ID 30,000 Wxyz"_qs};
    const QStringList wrestlers {u"大日本龍玉"_qs, u"東山九月"_qs, u"O'Neil"_qs};
    for (const char *step :
         {"rename|20=大日本龍玉|21=東山九月|22=O'Neil", "rules|decide",
          "entry|add|--shikona|九月東山日力士大|--picks|20,21,22,34,35,36,37|--reserve|30",
          "entry|add|--shikona|O'Neil Smithers1|--picks|21,22,23,34,35,36,37|--reserve|31",
          "entry|add|--shikona|東山|--picks|22,23,24,34,35,36,37|--reserve|32",
          "entry|add|--shikona|ID 30,000 Wxyz|--picks|23,24,25,34,35,36,37|--reserve|33",
          "reception|close", "prizes|decide", "result|set|1|20=金|22=休", "result|confirm"})
        ASSERT_EQ(test::runCli(QStringList {u"--dir"_qs, tc.root(), u"--yes"_qs}
                               + QString::fromUtf8(step).split(u'|'))
                      .code,
                  0)
            << step;
    Contest &c = tc.open();
    const std::vector<PrizeListRow> prizes {
        {u"九月東山日力士大賞与賞与賞与賞与"_qs, rings[0], 100, 57, 30000},
        {u"十日目 賞"_qs, rings[1], 101, 9, 1000}};
    const QStringList prizeNames {prizes[0].prize, rings[0], rings[1]};
    const int U = winloss::kUnit, M = winloss::kPaperMargin;
    const std::vector<int> chart {M, M + 7 * U, M + 25 * U, M + 32 * U, M + 50 * U, M + 57 * U};
    const struct
    {
        const char *name;
        PrintDocument doc;
        QStringList names;
        std::vector<int> columns; // the column rules in twips, left to right
    } reports[] {
        {"banzuke", buildBanzukeReport(c), wrestlers, {900, 1550, 3000, 4050, 5350, 5900}},
        {"entries", buildEntryList(c), rings + wrestlers, {800, 1850, 2280, 3080, 3880, 4680}},
        {"results", buildResultList(c, ResultOrder::Rank), rings, {800, 1400, 2600, 3050}},
        {"prizes", buildPrizeList(u"場所"_qs, 10, prizes), prizeNames, {800, 3800, 5600, 6400}},
        {"chart", buildWinLossChart(c), wrestlers, chart},
    };
    const double mm = 72 / 25.4, margin = PdfRenderer::kEdgeMillimetres * mm;
    const QSizeF area((210 - 2 * PdfRenderer::kEdgeMillimetres) / 25.4 * 1440,
                      (297 - 2 * PdfRenderer::kEdgeMillimetres) / 25.4 * 1440);
    const QRegularExpression word(
        uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)<)re"_qs);
    for (const auto &r : reports) {
        SCOPED_TRACE(r.name);
        const QString pdf = tc.root() + u'/' + QString::fromLatin1(r.name) + u".pdf"_qs;
        test::writeBytes(pdf, PdfRenderer::toPdf(r.doc));
        const QString text = pdftotext(u"-layout"_qs, pdf).simplified();
        for (const QString &name : r.names)
            EXPECT_TRUE(text.contains(name)) << name.toStdString();
        EXPECT_FALSE(text.contains(QRegularExpression(u"[\u2F00-\u2FDF]"_qs)));
        const double scale = PdfRenderer::fitScale(r.doc, area);
        const QStringList firstWords
            = QStringList(r.names).replaceInStrings(QRegularExpression(u" .*"_qs), QString());
        for (auto it = word.globalMatch(pdftotext(u"-bbox"_qs, pdf)); it.hasNext();) {
            const auto w = it.next();
            const double x1 = w.captured(1).toDouble(), x2 = w.captured(3).toDouble();
            EXPECT_TRUE(x1 >= 5 * mm && w.captured(2).toDouble() >= 5 * mm && x2 <= (210 - 5) * mm
                        && w.captured(4).toDouble() <= (297 - 5) * mm)
                << w.captured(5).toStdString();
            if (!firstWords.contains(w.captured(5)))
                continue;
            for (std::size_t k = 0; k + 1 < r.columns.size(); ++k) {
                const double left = margin + r.columns[k] / 20.0 * scale;
                const double right = margin + r.columns[k + 1] / 20.0 * scale;
                if (x1 >= left && x1 < right) {
                    EXPECT_LT(x2, right) << w.captured(5).toStdString();
                }
            }
        }
    }
}
