#include "cli/Cli.h"

#include <QDir>
#include <QJsonObject>

namespace kc::cli {

namespace {

int status(CommandContext &ctx)
{
    if (!ctx.args.isEmpty())
        throw UsageError {QStringLiteral("status に引数はありません: %1").arg(ctx.args.join(u' '))};
    Contest &c = ctx.contest;
    const RulesRecord &r = c.rules();
    if (ctx.json) {
        ctx.printJson(QJsonObject {
            {QStringLiteral("folder"), shownFolder(c.paths().root)},
            {QStringLiteral("flag"), r.flag},
            {QStringLiteral("rulesStart"), r.rulesStart},
            {QStringLiteral("currentDay"), r.currentDay},
            {QStringLiteral("participants"), c.participantCount()},
            {QStringLiteral("wrestlers"), c.roster().wrestlerCount},
            {QStringLiteral("bashoName"), c.roster().bashoName},
            {QStringLiteral("bashoCode"), c.roster().bashoCode},
        });
        return ExitOk;
    }
    QTextStream &o = ctx.out;
    o << QStringLiteral("コンテストフォルダ: ") << shownFolder(c.paths().root) << u'\n';
    o << QStringLiteral("フェーズ (Flag): ") << r.flag << u'\n';
    o << QStringLiteral("RulesStart: ") << r.rulesStart << u'\n';
    o << QStringLiteral("CurrentDay: ") << r.currentDay << u'\n';
    o << QStringLiteral("参加人数: ") << c.participantCount() << u'\n';
    o << QStringLiteral("力士数: ") << c.roster().wrestlerCount << u'\n';
    o << QStringLiteral("場所名: ") << c.roster().bashoName << u'\n';
    o << QStringLiteral("場所コード: ") << c.roster().bashoCode << Qt::endl;
    return ExitOk;
}

int reset(CommandContext &ctx)
{
    if (!ctx.args.isEmpty())
        throw UsageError {QStringLiteral("reset に引数はありません: %1").arg(ctx.args.join(u' '))};
    return ctx.askedResult(ctx.contest.reset());
}

} // namespace

void addStoreCommands(std::vector<Command> &commands)
{
    commands.push_back({{QStringLiteral("status")},
                        QString(),
                        QStringLiteral("フォルダ、フェーズ、確定日数、参加人数、力士数、場所名"),
                        true,
                        status});
    commands.push_back(
        {{QStringLiteral("reset")}, QString(), QStringLiteral("初期化（確認あり）"), false, reset});
}

} // namespace kc::cli
