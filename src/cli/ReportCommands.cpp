#include "cli/Cli.h"
#include "publish/BanzukeReport.h"
#include "publish/CsvExport.h"
#include "publish/EntryListReport.h"
#include "publish/ResultListReport.h"
#include "store/EntryTable.h"
#include "store/Phase.h"
#include "store/Records.h"

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

// Result.Csv's order, as the grid's 並替 buttons sort: rank order unless asked.
QString resultOrder(const QStringList &args)
{
    const QString usage = QStringLiteral("使い方: export result [--order id|rank|mid|total|day N]");
    if (args.isEmpty())
        return entrytable::byRank;
    if (args[0] != u"--order" || args.size() < 2)
        throw UsageError {usage};
    const QString &word = args[1];
    if (args.size() == 2) {
        if (word == u"id")
            return entrytable::byId;
        if (word == u"rank")
            return entrytable::byRank;
        if (word == u"mid")
            return entrytable::highestFirst(entrytable::column::midTotal);
        if (word == u"total")
            return entrytable::highestFirst(entrytable::column::total);
    }
    if (word == u"day" && args.size() == 3) {
        const int day = intArgument(args[2], QStringLiteral("day"));
        if (day < 1 || day > kDays)
            throw UsageError {
                QStringLiteral("day は 1 から 15 で指定してください: %1").arg(args[2])};
        return entrytable::highestFirst(entrytable::column::day(day));
    }
    throw UsageError {usage};
}

int exportCommand(CommandContext &ctx)
{
    if (ctx.args.isEmpty())
        throw UsageError {QStringLiteral("使い方: export entry|result|prize")};
    for (const ExportKind &kind : kExports) {
        if (ctx.args[0] != QString::fromUtf16(kind.word))
            continue;
        QString order;
        if (kind.which == CsvExport::Results)
            order = resultOrder(ctx.args.mid(1));
        else if (ctx.args.size() != 1)
            throw UsageError {
                QStringLiteral("使い方: export entry|result|prize（--order は result のみ）")};
        // The window greys the menu item in the phases where it makes no sense.
        if (const QString refusal = Phase::of(ctx.contest.rules()).refusal(kind.action);
            !refusal.isEmpty()) {
            ctx.err << refusal << Qt::endl;
            return ExitRefused;
        }
        ctx.out << QDir::toNativeSeparators(exportCsv(ctx.contest, kind.which, order)) << Qt::endl;
        return ExitOk;
    }
    throw UsageError {
        QStringLiteral("出力の種類が不明です: %1（entry、result、prize）").arg(ctx.args[0])};
}

struct PrintKind
{
    const char16_t *word;
    Action action;
    const char16_t *caption;
    std::function<PrintDocument(Contest &)> build;
};

int printCommand(CommandContext &ctx, const PrintKind &kind)
{
    const QString usage
        = QStringLiteral("使い方: print %1 --pdf FILE").arg(QString::fromUtf16(kind.word));
    if (ctx.args.size() != 2 || ctx.args[0] != u"--pdf")
        throw UsageError {usage};
    Contest &contest = ctx.contest;
    if (const QString refusal
        = Phase::of(contest.rules()).refusal(kind.action, contest.participantCount());
        !refusal.isEmpty()) {
        ctx.err << refusal << Qt::endl;
        return ExitRefused;
    }
    return printToPdf(ctx, QString::fromUtf16(kind.word), kind.build);
}

const std::vector<PrintKind> &printKinds()
{
    static const std::vector<PrintKind> kinds {
        {u"banzuke", Action::PrintBanzuke, u"番付表の出力(印刷)",
         [](Contest &c) { return buildBanzukeReport(c); }},
        {u"entries", Action::PrintEntries, u"参加者投票ﾘｽﾄ出力(印刷)",
         [](Contest &c) { return buildEntryList(c); }},
        {u"results", Action::PrintResults, u"集計結果出力・得点順(印刷)",
         [](Contest &c) { return buildResultList(c, ResultOrder::Rank); }},
        {u"results-by-id", Action::PrintResults, u"集計結果出力・受付順(印刷)",
         [](Contest &c) { return buildResultList(c, ResultOrder::Id); }},
    };
    return kinds;
}

} // namespace

void addReportCommands(std::vector<Command> &commands)
{
    commands.push_back({{QStringLiteral("export")},
                        QStringLiteral("entry|result|prize [--order id|rank|mid|total|day N]"),
                        QStringLiteral("CSV 出力（Data/Entry.Csv、Result.Csv、Prize.Csv）"),
                        false,
                        exportCommand});
    for (const PrintKind &kind : printKinds())
        commands.push_back({{QStringLiteral("print"), QString::fromUtf16(kind.word)},
                            QStringLiteral("--pdf FILE"),
                            QString::fromUtf16(kind.caption).remove(QStringLiteral("(印刷)"))
                                + QStringLiteral(" を PDF に出力"),
                            false,
                            [&kind](CommandContext &ctx) { return printCommand(ctx, kind); }});
}

} // namespace kc::cli
