#include "publish/PrizeListReport.h"

#include "store/Contest.h"
#include "store/RecordSet.h"
#include "store/Text.h"

namespace kc {

namespace {
const QString kFont = QStringLiteral("ＭＳ 明朝");
constexpr double kSize = 11;
constexpr int kLeft = 800;
constexpr int kRight = 9000;
constexpr int kTop = 1400;
constexpr int kBand = 600;
constexpr int kGap = 40; // between a text's end and the next column's rule
const int kColumns[] {3800, 5600, 6400, 7200};
} // namespace

std::vector<PrizeListRow> readPrizeRows(Contest &contest)
{
    std::vector<PrizeListRow> rows;
    RecordSet rs(contest.database(), QStringLiteral("PRIZE"));
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        PrizeListRow row;
        row.prize = rs.textValue(QStringLiteral("賞位"));
        row.shikona = rs.textValue(QStringLiteral("しこな"));
        row.id = rs.intValue(QStringLiteral("ID"));
        row.score = rs.intValue(QStringLiteral("得点"));
        row.points = rs.value(QStringLiteral("ポイント")).toLongLong();
        rows.push_back(row);
    }
    return rows;
}

namespace prizelist {

QString title(const QString &bashoName, int currentDay)
{
    if (currentDay == 15)
        return bashoName + QStringLiteral("  各賞受賞者一覧 （最終版）               ");
    return bashoName + QStringLiteral("  各賞受賞者一覧　(") + QString::number(currentDay)
        + QStringLiteral("日目終了時点)");
}

QString pointsText(qint64 points)
{
    // Padded to seven characters, never cut: a larger number is printed whole.
    return formatThousands(points).rightJustified(7, u' ');
}

int scoreX(int score)
{
    const int digits = int(QString::number(score).size());
    return 6600 + 98 * std::max(0, 4 - digits);
}

} // namespace prizelist

PrintDocument buildPrizeList(const QString &bashoName, int currentDay,
                             const std::vector<PrizeListRow> &rows)
{
    PrintDocument doc(QStringLiteral("各賞受賞者一覧"));
    doc.setFont(kFont, false);
    doc.setDrawWidth(1);

    // Two prize lines to a band; one band more than half the row count.
    const int bands = cintClamped(double(rows.size()) / 2) + 1;
    const int bottom = kTop + kBand * bands;
    for (int b = 0; b < bands; ++b)
        doc.box(kLeft, kTop + kBand * b, kRight, kTop + kBand * (b + 1), Qt::black, false);
    for (int x : kColumns)
        doc.line(x, kTop, x, bottom);

    doc.text(2800, 830, kSize, prizelist::title(bashoName, currentDay), kPortraitRight);
    doc.text(2000, 1130, kSize, QStringLiteral("賞位名"));
    doc.text(4300, 1130, kSize, QStringLiteral("しこな"));
    doc.text(5800, 1130, kSize, QStringLiteral("ID"));
    doc.text(6600, 1130, kSize, QStringLiteral("得点"));
    doc.text(7500, 1130, kSize, QStringLiteral("賞位ﾎﾟｲﾝﾄ"));

    for (int k = 0; k < int(rows.size()); ++k) {
        const PrizeListRow &row = rows[k];
        const int y = 1430 + 300 * k;
        doc.text(1300, y, kSize, row.prize.left(16), kColumns[0] - kGap);
        if (row.id <= 99)
            continue; // no winner yet: the name only
        doc.text(5800, y, kSize, QString::number(row.id), kColumns[2] - kGap);
        doc.text(4100, y, kSize, row.shikona.trimmed(), kColumns[1] - kGap);
        doc.text(prizelist::scoreX(row.score), y, kSize, QString::number(row.score),
                 kColumns[3] - kGap);
        doc.text(7800, y, kSize, prizelist::pointsText(row.points), kRight - kGap);
    }
    return doc;
}

PrintDocument buildPrizeList(Contest &contest)
{
    return buildPrizeList(contest.roster().bashoName, contest.rules().currentDay,
                          readPrizeRows(contest));
}

} // namespace kc
