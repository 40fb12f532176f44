#include "TestSupport.h"

#include "publish/WinLossChart.h"
#include "store/Roster.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kc {
namespace {

using test::textAt;

int rowY(int r)
{
    return (r + 1) * winloss::kRowHeight + 50;
}

int markX(int day, bool west)
{
    const int i = day - 1;
    return (i + 7) * winloss::kUnit + 50 + (i > 4 ? winloss::kUnit : 0)
        + (i > 9 ? winloss::kUnit : 0) + (west ? 25 * winloss::kUnit : 0);
}

// The default roster: five ōzeki (a third row with an east name only) and an
// odd count of maegashira (the last row has no west wrestler).
TEST(WinLossChart, DefaultRosterRowsMarksAndColours)
{
    Roster roster;
    roster.installDefault();
    const BanzukeLayout layout = computeLayout(roster);
    const int row = layout.rankRows[0] + 2; // after the yokozuna rows
    const int eastOzeki3 = layout.slotAt[2 * row], westYokozuna = layout.slotAt[1];
    ASSERT_GE(eastOzeki3, 0);
    ASSERT_LT(layout.slotAt[2 * row + 1], 0);
    roster.wrestlers[eastOzeki3].dayResult
        = {MarkGold, MarkSilver, MarkAbsent, 5,       6,       MarkWin,
           MarkLoss, MarkWin,    MarkWin,    MarkWin, MarkLoss};
    roster.wrestlers[westYokozuna].dayResult[10] = MarkWin;
    const ChartColours colours;
    const PrintDocument doc = buildWinLossChartScreen(roster, 11, colours);

    const QColor yellow(255, 255, 0), blue(0, 0, 255), grey(108, 108, 108);
    const struct
    {
        int day;
        QString symbol;
        QColor colour;
    } marks[] = {{1, QStringLiteral("★"), yellow},
                 {2, QStringLiteral("★"), blue},
                 {3, QStringLiteral("-"), grey},
                 {5, QStringLiteral("-"), grey},
                 {6, QStringLiteral("○"), colours.greyText},
                 {11, QStringLiteral("●"), colours.greyText}};
    for (const auto &m : marks) {
        const PrintItem *item = textAt(doc, markX(m.day, false), rowY(row));
        ASSERT_NE(item, nullptr) << "day " << m.day;
        EXPECT_EQ(item->text, m.symbol) << "day " << m.day;
        EXPECT_EQ(item->colour, m.colour) << "day " << m.day;
    }
    // Day 11 sits two gaps further right than day 1 + 10 units.
    EXPECT_EQ(markX(11, false) - markX(1, false), 12 * winloss::kUnit);
    EXPECT_NE(textAt(doc, markX(11, true), rowY(0)), nullptr); // the west yokozuna
    EXPECT_EQ(textAt(doc, 200 + 50 * winloss::kUnit, rowY(row)), nullptr); // no west ōzeki
    EXPECT_EQ(textAt(doc, markX(12, false), rowY(row)), nullptr); // day 12 not confirmed

    // The chart stops after the last maegashira row.
    int lastY = 0;
    for (const PrintItem &i : doc.pages()[0].items)
        if (i.kind == PrintItem::Kind::Text)
            lastY = std::max(lastY, i.y);
    EXPECT_EQ(lastY, rowY(layout.rows - 1));
    ASSERT_NE(textAt(doc, 200, lastY), nullptr);
    EXPECT_EQ(textAt(doc, 200, lastY)->text, layout.names[2 * (layout.rows - 1)]);
    EXPECT_EQ(winloss::height(roster), (layout.rows + 1) * winloss::kRowHeight + 50);
}

TEST(WinLossChart, PrintCommandWritesOnePage)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("c")),
                  pdf = dir.filePath(QStringLiteral("h.pdf"));
    ASSERT_EQ(test::runExe({QStringLiteral("--dir"), folder, QStringLiteral("demo"),
                            QStringLiteral("--entries"), QStringLiteral("3")})
                  .code,
              0);
    const test::CliResult r
        = test::runExe({QStringLiteral("--dir"), folder, QStringLiteral("print"),
                        QStringLiteral("chart"), QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(test::pdfPageCount(test::readBytes(pdf)), 1);
}

} // namespace
} // namespace kc
