#include "publish/WinLossChart.h"

#include "store/Contest.h"
#include "store/Roster.h"

namespace kc {

namespace {
const QString kFont = QStringLiteral("ＭＳ 明朝");
constexpr int kLastRow = 21;
constexpr int kGap = 30; // between a name's end and the column's edge
} // namespace

namespace winloss {

int height(const Roster &roster)
{
    return (computeLayout(roster).rows + 1) * kRowHeight + 50;
}

QString symbol(int mark)
{
    switch (mark) {
    case MarkLoss:
        return QStringLiteral("●");
    case MarkWin:
        return QStringLiteral("○");
    case MarkSilver:
    case MarkGold:
        return QStringLiteral("★");
    case 4:
    case 5:
    case 6:
        return QStringLiteral("-");
    default:
        return QString();
    }
}

QColor colour(int mark, const ChartColours &colours)
{
    switch (mark) {
    case MarkSilver:
        return QColor(0, 0, 255);
    case MarkGold:
        return QColor(255, 255, 0);
    case 4:
    case 5:
    case 6:
        return QColor(108, 108, 108);
    default:
        return colours.greyText;
    }
}

} // namespace winloss

void drawWinLossChart(PrintDocument &doc, const Roster &roster, int currentDay, int left, int top,
                      const ChartColours &colours)
{
    using namespace winloss;
    const int U = kUnit, H = kRowHeight;
    const BanzukeLayout layout = computeLayout(roster);
    const int R = layout.rows;
    const int bottom = top + (R + 1) * H;
    doc.setFont(kFont, false);

    doc.box(left, top, left + kUnits * U, top + H, colours.greyText, true);
    for (const auto &[from, to] : {std::pair {0, 7}, std::pair {25, 32}, std::pair {50, 57}})
        doc.box(left + from * U, top + H, left + to * U, bottom, colours.buttonFace, true);
    for (int k = 0; k <= R; ++k)
        doc.line(left, top + k * H, left + kUnits * U, top + k * H, Qt::white);
    for (int x : {0, 25 * U, 32 * U})
        doc.line(left + x, top, left + x, bottom, Qt::black);

    doc.setColour(Qt::white);
    doc.text(left + 9 * U + 500, top + 50, 11, QStringLiteral("東"));
    doc.text(left + 27 * U, top + 50, 11, QStringLiteral("番付"));
    doc.text(left + 40 * U + 500, top + 50, 11, QStringLiteral("西"));

    const int days = std::clamp(currentDay, 0, int(kDays));
    // The marks of one position, starting at column x0 for the first day.
    const auto marks = [&](int position, int x0, int y) {
        const int slot = layout.slotAt[position];
        if (slot < 0)
            return;
        for (int i = 0; i < days; ++i) {
            const int mark = roster.wrestlers[slot].dayResult[i];
            const QString s = symbol(mark);
            if (s.isEmpty())
                continue;
            const int x = x0 + (i + 7) * U + 50 + (i > 4 ? U : 0) + (i > 9 ? U : 0);
            doc.setColour(colour(mark, colours));
            if (mark == MarkGold) // yellow on light grey: the edge makes it read
                doc.outlinedText(x, y, 10, s);
            else
                doc.text(x, y, 10, s);
        }
    };
    for (int r = 0; r <= kLastRow && 2 * r + 1 < kRosterSlots; ++r) {
        const int y = top + (r + 1) * H + 50;
        const QString &east = layout.names[2 * r];
        const QString &west = layout.names[2 * r + 1];
        doc.setColour(Qt::black);
        const bool anyone = layout.slotAt[2 * r] >= 0 || layout.slotAt[2 * r + 1] >= 0;
        if (anyone && !layout.labels[r].isEmpty())
            doc.text(left + 400 + 25 * U, y, 11, layout.labels[r], left + 32 * U - kGap);
        if (!east.isEmpty())
            doc.text(left + 200, y, 11, east, left + 7 * U - kGap);
        marks(2 * r, left, y);
        doc.setColour(Qt::black);
        if (!west.isEmpty())
            doc.text(left + 200 + 50 * U, y, 11, west, left + 57 * U - kGap);
        marks(2 * r + 1, left + 25 * U, y);
        if (r > 10 && west.isEmpty())
            break;
    }
    doc.setColour(Qt::black);
}

PrintDocument buildWinLossChartScreen(const Roster &roster, int currentDay,
                                      const ChartColours &colours)
{
    PrintDocument doc(QStringLiteral("星取表"));
    drawWinLossChart(doc, roster, currentDay, 0, 0, colours);
    return doc;
}

PrintDocument buildWinLossChart(const Roster &roster, int currentDay, const ChartColours &colours)
{
    PrintDocument doc(QStringLiteral("星取表"));
    doc.setFont(kFont, false);
    doc.text(5000, 300, 14, QStringLiteral("星  取  表"));
    drawWinLossChart(doc, roster, currentDay, winloss::kPaperMargin, winloss::kPaperMargin,
                     colours);
    return doc;
}

PrintDocument buildWinLossChart(Contest &contest)
{
    return buildWinLossChart(contest.roster(), contest.rules().currentDay);
}

} // namespace kc
