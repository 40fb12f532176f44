#include "cli/Cli.h"

#include "publish/Publisher.h"
#include "demo/DemoContest.h"

#include <QDir>

namespace kc::cli {

namespace {

DemoOptions demoOptions(const QStringList &args)
{
    DemoOptions options;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool entries = a == u"--entries", seed = a == u"--seed";
        if ((!entries && !seed) || i + 1 >= args.size())
            throw UsageError {
                QStringLiteral("demo [--entries N] [--seed S] の形で指定してください: %1").arg(a)};
        const QString value = args[++i];
        if (entries) {
            options.entries = intArgument(value, QStringLiteral("--entries"));
            if (options.entries < 1 || options.entries > kEntryCapacity)
                throw UsageError {QStringLiteral("--entries は 1 から %1 で指定してください: %2")
                                      .arg(kEntryCapacity)
                                      .arg(value)};
        } else {
            bool ok = false;
            options.seed = value.toULongLong(&ok);
            if (!ok)
                throw UsageError {
                    QStringLiteral("--seed は 0 以上の整数で指定してください: %1").arg(value)};
        }
    }
    return options;
}

int demo(CommandContext &ctx)
{
    const DemoOptions options = demoOptions(ctx.args);
    const QString why = buildDemoContest(ctx.contest, options);
    if (!why.isEmpty()) {
        ctx.err << why << Qt::endl;
        return ExitRefused;
    }
    const QString root = QDir::toNativeSeparators(ctx.contest.paths().root);
    ctx.out << QStringLiteral("デモのコンテストを作りました（参加者 %1 名、千秋楽まで確定）: %2")
                   .arg(ctx.contest.participantCount())
                   .arg(root)
            << Qt::endl;
    publisher::publishSite(ctx.contest);
    ctx.out << QStringLiteral("ページ: %1")
                   .arg(QDir::toNativeSeparators(ctx.contest.paths().html
                                                 + QStringLiteral("/Result.html")))
            << Qt::endl;
    return ExitOk;
}

} // namespace

std::optional<QString> demoRefusal(const QString &dir, const QStringList &args)
{
    demoOptions(args);
    const QDir d(dir);
    if (d.exists() && !d.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        return QStringLiteral("フォルダ %1 は空ではありません。デモは空のフォルダに作ります"
                              "（例: kachikoshi --dir ~/kachikoshi-demo demo）。")
            .arg(QDir::toNativeSeparators(dir));
    return std::nullopt;
}

void addDemoCommands(std::vector<Command> &commands)
{
    commands.push_back({{QStringLiteral("demo")},
                        QStringLiteral("[--entries N] [--seed S]"),
                        QStringLiteral("空のフォルダにデモのコンテスト（千秋楽まで確定）を作る"),
                        false,
                        demo});
}

} // namespace kc::cli
