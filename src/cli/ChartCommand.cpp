#include "cli/Cli.h"

#include "publish/WinLossChart.h"

namespace kc::cli {

namespace {

int printChart(CommandContext &ctx)
{
    return printToPdf(ctx, QStringLiteral("chart"),
                      [](Contest &c) { return buildWinLossChart(c); });
}

} // namespace

void addChartCommands(std::vector<Command> &commands)
{
    commands.push_back({{QStringLiteral("print"), QStringLiteral("chart")},
                        QStringLiteral("--pdf FILE"),
                        QStringLiteral("星取表を PDF に出力"),
                        false,
                        printChart});
}

} // namespace kc::cli
