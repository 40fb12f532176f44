#include "cli/Cli.h"

#include "banzuke/BanzukeImport.h"
#include "banzuke/BanzukeRegistration.h"
#include "banzuke/Renaming.h"
#include "online/FetchSettings.h"
#include "online/HttpFetcher.h"
#include "online/ResultFetcher.h"
#include "store/Phase.h"
#include "store/Roster.h"
#include "store/UnitOfWork.h"

#include <QJsonArray>
#include <QJsonObject>

namespace kc::cli {

namespace {

int banzukeShow(CommandContext &ctx)
{
    if (!ctx.args.isEmpty())
        throw UsageError {
            QStringLiteral("banzuke show に引数はありません: %1").arg(ctx.args.join(u' '))};
    const Roster &roster = ctx.contest.roster();
    const BanzukeLayout layout = computeLayout(roster);
    QJsonArray rows;
    if (!ctx.json)
        ctx.out << QStringLiteral("%1（%2）  %3名  %4段\n")
                       .arg(roster.bashoName, roster.bashoCode)
                       .arg(roster.wrestlerCount)
                       .arg(layout.rows);
    for (int slot = 0; slot < roster.wrestlerCount && slot < kRosterSlots; ++slot) {
        const int pos = layout.positionOfSlot(slot);
        const int row = pos >= 0 ? pos / 2 : -1;
        // The label of the rank group's first row names the rank for every row of it.
        QString label = row >= 0 ? layout.labels[row] : QString();
        for (int r = row; label.isEmpty() && r > 0; --r)
            label = layout.labels[r - 1];
        const WrestlerRecord &w = roster.wrestlers[slot];
        QString marks;
        QJsonArray markArray;
        for (qint16 m : w.dayResult) {
            marks += QString::number(m);
            markArray.append(m);
        }
        const QString side
            = pos >= 0 ? (pos % 2 == 0 ? QStringLiteral("東") : QStringLiteral("西")) : QString();
        if (ctx.json) {
            rows.append(
                QJsonObject {{QStringLiteral("number"), slot + 10},
                             {QStringLiteral("name"), roster.name(slot)},
                             {QStringLiteral("initialName"), roster.initialNames[slot].trimmed()},
                             {QStringLiteral("rankCode"), w.rankCode},
                             {QStringLiteral("rank"), rankName(w.rankCode)},
                             {QStringLiteral("label"), label},
                             {QStringLiteral("row"), row + 1},
                             {QStringLiteral("side"), side},
                             {QStringLiteral("marks"), markArray}});
        } else {
            ctx.out << QStringLiteral("%1  %2 %3  %4 %5  %6段 %7  %8\n")
                           .arg(slot + 10)
                           .arg(roster.name(slot).leftJustified(6, QChar(0x3000)),
                                roster.initialNames[slot].trimmed().leftJustified(6, QChar(0x3000)))
                           .arg(w.rankCode)
                           .arg(label.leftJustified(3, QChar(0x3000)))
                           .arg(row + 1, 2)
                           .arg(side, marks);
        }
    }
    if (ctx.json)
        ctx.printJson(QJsonObject {{QStringLiteral("bashoName"), roster.bashoName},
                                   {QStringLiteral("bashoCode"), roster.bashoCode},
                                   {QStringLiteral("wrestlerCount"), roster.wrestlerCount},
                                   {QStringLiteral("rows"), layout.rows},
                                   {QStringLiteral("wrestlers"), rows}});
    else
        ctx.out.flush();
    return ExitOk;
}

int refuse(CommandContext &ctx, const QString &message)
{
    ctx.prompter.tell({message, QString(), Icon::Warning});
    return ExitRefused;
}

int banzukeSet(CommandContext &ctx)
{
    if (ctx.args.size() != 1)
        throw UsageError {QStringLiteral("banzuke set にはファイルを一つ指定してください。")};
    Contest &contest = ctx.contest;
    if (const QString refusal = Phase::of(contest.rules()).refusal(Action::RegisterBanzuke);
        !refusal.isEmpty())
        return refuse(ctx, refusal);
    BanzukeImport read = BanzukeImport::readFile(ctx.args.first());
    if (!read.ok)
        return refuse(ctx, read.message);
    if (!read.hasTitle) {
        read.record.bashoName = contest.roster().bashoName;
        read.record.bashoCode = contest.roster().bashoCode;
    }
    // The Latin names of a downloaded banzuke go with it; any other banzuke drops them.
    if (!registration::registerBanzuke(contest, read.record, read.counts, &read.english))
        return ExitAnsweredNo;
    const Roster &roster = contest.roster();
    ctx.out << QStringLiteral("番付を登録しました: %1（%2） %3名\n")
                   .arg(roster.bashoName, roster.bashoCode)
                   .arg(roster.wrestlerCount);
    ctx.out.flush();
    return ExitOk;
}

int banzukeFetch(CommandContext &ctx)
{
    QStringList args = ctx.args;
    const auto templateArg = takeOption(args, QStringLiteral("--url"));
    const auto bashoArg = takeOption(args, QStringLiteral("--basho"));
    if (!args.isEmpty())
        throw UsageError {QStringLiteral(
            "banzuke fetch [--url TEMPLATE] [--basho YYYYMM] の形で指定してください。")};
    if (templateArg) {
        if (const QString problem = FetchSettings::templateProblem(*templateArg);
            !problem.isEmpty())
            throw UsageError {QStringLiteral("--url: ") + problem};
    }
    if (bashoArg && bashoIdOf(*bashoArg, QString()) != bashoArg->trimmed())
        throw UsageError {QStringLiteral("--basho は 202609 のように年と月で指定してください: %1")
                              .arg(*bashoArg)};
    Contest &contest = ctx.contest;
    if (const QString refusal = Phase::of(contest.rules()).refusal(Action::RegisterBanzuke);
        !refusal.isEmpty())
        return refuse(ctx, refusal);
    FetchSettings settings = FetchSettings::load(contest);
    const QString address = templateArg ? templateArg->trimmed() : settings.banzukeTemplate;
    const QString basho = bashoArg ? bashoArg->trimmed() : upcomingBashoId(QDate::currentDate());
    const QUrl url = expandTemplate(address, basho, 1);
    ctx.err << QStringLiteral("取得中: %1").arg(url.toDisplayString()) << Qt::endl;
    HttpFetcher fetcher;
    FetchedBanzuke fetched = fetching::readBanzuke(fetcher.get(url));
    if (fetched.failure) {
        ctx.err << *fetched.failure << Qt::endl;
        return ExitDataError;
    }
    if (fetched.refusal)
        return refuse(ctx, *fetched.refusal);
    BanzukeImport &read = fetched.read;
    if (!read.hasTitle) {
        read.record.bashoName = contest.roster().bashoName;
        read.record.bashoCode = contest.roster().bashoCode;
    }
    UnitOfWork work(contest);
    if (!registration::registerBanzuke(contest, read.record, read.counts, &read.english))
        return ExitAnsweredNo;
    if (templateArg && settings.banzukeTemplate != address) {
        settings.banzukeTemplate = address;
        settings.save(contest);
    }
    work.commit();
    const Roster &roster = contest.roster();
    ctx.out << QStringLiteral("番付を登録しました: %1（%2） %3名\n")
                   .arg(roster.bashoName, roster.bashoCode)
                   .arg(roster.wrestlerCount)
            << fetching::sourceText(fetched.url, fetched.at) << Qt::endl;
    return ExitOk;
}

int renameNames(CommandContext &ctx)
{
    if (ctx.args.isEmpty())
        throw UsageError {QStringLiteral("rename には NUMBER=NAME を指定してください。")};
    Contest &contest = ctx.contest;
    std::vector<std::pair<int, QString>> wanted;
    for (const auto &[key, value] : keyValues(ctx.args)) {
        const int number = intArgument(key, QStringLiteral("力士番号"));
        const int slot = number - 10;
        if (slot < 0 || slot >= contest.roster().wrestlerCount || slot >= kNoWrestler)
            throw UsageError {QStringLiteral("力士番号 %1 は番付にありません（10〜%2）。")
                                  .arg(number)
                                  .arg(contest.roster().wrestlerCount + 9)};
        wanted.emplace_back(slot, value);
    }
    std::optional<QString> refusal;
    const bool saved = renaming::runRename(contest, [&](renaming::RenameSession &session) {
        auto typed = session.form().names;
        for (const auto &[slot, name] : wanted)
            typed[slot] = name;
        refusal = session.save(typed);
    });
    if (refusal)
        return refuse(ctx, *refusal);
    if (!saved)
        return ExitAnsweredNo;
    for (const auto &[slot, name] : wanted)
        ctx.out << QStringLiteral("%1  %2 → %3\n")
                       .arg(slot + 10)
                       .arg(contest.roster().initialNames[slot].trimmed(),
                            contest.roster().name(slot));
    ctx.out.flush();
    return ExitOk;
}

int renameClear(CommandContext &ctx)
{
    if (!ctx.args.isEmpty())
        throw UsageError {
            QStringLiteral("rename clear に引数はありません: %1").arg(ctx.args.join(u' '))};
    if (const QString refusal = Phase::of(ctx.contest.rules()).refusal(Action::DeleteRenameList);
        !refusal.isEmpty())
        return refuse(ctx, refusal);
    return ctx.askedResult(renaming::killList(ctx.contest));
}

int renameRestore(CommandContext &ctx)
{
    if (!ctx.args.isEmpty())
        throw UsageError {
            QStringLiteral("rename restore に引数はありません: %1").arg(ctx.args.join(u' '))};
    if (!renaming::recoverDefaultNames(ctx.contest))
        return ExitAnsweredNo;
    const Roster &roster = ctx.contest.roster();
    ctx.out << QStringLiteral("力士名を初期力士名に戻しました: %1（%2） %3名\n")
                   .arg(roster.bashoName, roster.bashoCode)
                   .arg(roster.wrestlerCount);
    ctx.out.flush();
    return ExitOk;
}

} // namespace

void addBanzukeCommands(std::vector<Command> &commands)
{
    commands.push_back({{QStringLiteral("banzuke"), QStringLiteral("show")},
                        QString(),
                        QStringLiteral("番付（番号、名前、初期名、地位、東西、15日の結果）"),
                        true,
                        banzukeShow});
    commands.push_back(
        {{QStringLiteral("banzuke"), QStringLiteral("set")},
         QStringLiteral("FILE"),
         QStringLiteral("番付登録と保存（テキスト、CSV: 地位,力士名、または番付の JSON）"),
         false,
         banzukeSet});
    commands.push_back({{QStringLiteral("banzuke"), QStringLiteral("fetch")},
                        QStringLiteral("[--url TEMPLATE] [--basho YYYYMM]"),
                        QStringLiteral("番付取得: 幕内の番付を Web から取得して登録（確認あり。"
                                       "既定は次の場所、--url は保存されます）"),
                        false,
                        banzukeFetch});
    commands.push_back({{QStringLiteral("rename")},
                        QStringLiteral("NUMBER=NAME ..."),
                        QStringLiteral("力士名の変更（名前を挙げない力士はそのまま）"),
                        false,
                        renameNames});
    commands.push_back({{QStringLiteral("rename"), QStringLiteral("clear")},
                        QString(),
                        QStringLiteral("力士名ﾌｧｲﾙの削除"),
                        false,
                        renameClear});
    commands.push_back(
        {{QStringLiteral("rename"), QStringLiteral("restore")},
         QString(),
         QStringLiteral("力士名を初期力士名に変更する: 既定の番付を登録し、Banzuke.Dat と "
                        "Rename.Dat を削除する（確認あり）"),
         false,
         renameRestore});
}

} // namespace kc::cli
