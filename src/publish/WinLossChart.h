#pragma once

#include "publish/PrintDocument.h"

#include <QColor>

namespace kc {

class Contest;
struct Roster;

// The system colours the chart is drawn in, as a desktop's standard scheme
// has them; the same on screen and paper so that the marks read on both.
struct ChartColours
{
    QColor greyText {109, 109, 109};
    QColor buttonFace {240, 240, 240};
    QColor light {227, 227, 227}; // the surface behind the marks on screen
};

// 星取表: the banzuke as a table, east on the left and west on the right, with
// each confirmed day's mark. One set of drawing items serves screen and paper.
namespace winloss {
constexpr int kUnit = 170; // twips per column unit
constexpr int kRowHeight = 300;
constexpr int kUnits = 57;
constexpr int kPaperMargin = 800;
constexpr int width()
{
    return kUnits * kUnit;
}
// Rows of the banzuke plus the header row, and a little room under the last.
int height(const Roster &roster);
// The symbol and colour of a day's mark; no symbol for a value that is no mark.
QString symbol(int mark);
QColor colour(int mark, const ChartColours &colours);
} // namespace winloss

// Adds the chart to the current page of `doc`, its top-left corner at (left, top).
void drawWinLossChart(PrintDocument &doc, const Roster &roster, int currentDay, int left, int top,
                      const ChartColours &colours);
// The chart on the screen: no margins.
PrintDocument buildWinLossChartScreen(const Roster &roster, int currentDay,
                                      const ChartColours &colours);
// The printed chart: the title, then the chart inside the paper margins.
PrintDocument buildWinLossChart(const Roster &roster, int currentDay,
                                const ChartColours &colours = {});
PrintDocument buildWinLossChart(Contest &contest);

} // namespace kc
