#include "cli/Cli.h"

#include "publish/PdfRenderer.h"
#include "publish/WinLossChart.h"

#include <QDir>
#include <QFileInfo>

namespace kc::cli {

namespace {

int printChart(CommandContext &ctx)
{
    if (ctx.args.size() != 2 || ctx.args[0] != u"--pdf")
        throw UsageError {QStringLiteral("使い方: print chart --pdf FILE")};
    const QString path = QFileInfo(ctx.args[1]).absoluteFilePath();
    PdfRenderer::writePdf(buildWinLossChart(ctx.contest), path);
    ctx.out << QDir::toNativeSeparators(path) << Qt::endl;
    return ExitOk;
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
