#include "cli/Cli.h"
#include "publish/CsvExport.h"
#include "store/Phase.h"

#include <QDir>

namespace kc::cli {

namespace {

struct ExportKind
{
    const char16_t *word;
    CsvExport which;
    Action action;
    const char16_t *caption;
};

const ExportKind kExports[] {
    {u"entry", CsvExport::Entries, Action::ExportEntries, u"申込結果一覧（CSV)"},
    {u"result", CsvExport::Results, Action::ExportResults, u"集計結果出力(CSV)"},
    {u"prize", CsvExport::Prizes, Action::ExportResults, u"賞位発表(CSV)"},
};

int exportCommand(CommandContext &ctx)
{
    if (ctx.args.size() != 1)
        throw UsageError {QStringLiteral("使い方: export entry|result|prize")};
    for (const ExportKind &kind : kExports) {
        if (ctx.args[0] != QString::fromUtf16(kind.word))
            continue;
        // The window greys the menu item in the phases where it makes no sense.
        if (!Phase::of(ctx.contest.rules()).allows(kind.action)) {
            ctx.err << QStringLiteral("%1 は現在のフェーズでは出力できません（Flag = %2）。")
                           .arg(QString::fromUtf16(kind.caption))
                           .arg(ctx.contest.rules().flag)
                    << Qt::endl;
            return ExitRefused;
        }
        ctx.out << QDir::toNativeSeparators(exportCsv(ctx.contest, kind.which)) << Qt::endl;
        return ExitOk;
    }
    throw UsageError {
        QStringLiteral("出力の種類が不明です: %1（entry、result、prize）").arg(ctx.args[0])};
}

} // namespace

void addReportCommands(std::vector<Command> &commands)
{
    commands.push_back({{QStringLiteral("export")},
                        QStringLiteral("entry|result|prize"),
                        QStringLiteral("CSV 出力（Data/Entry.Csv、Result.Csv、Prize.Csv）"),
                        false,
                        exportCommand});
}

} // namespace kc::cli
