#include "cli/Cli.h"

#include "publish/Publisher.h"
#include "store/Phase.h"

#include <QDir>
#include <unistd.h>

namespace kc::cli {

namespace {

// Progress on standard error, one line rewritten in place; only on a terminal,
// so a scheduled job's log stays clean.
class TerminalProgress : public PublishProgress
{
public:
    explicit TerminalProgress(QTextStream &err) : m_err(err) { }
    void begin(int total) override { m_total = total; }
    void stage(const QString &caption) override
    {
        m_caption = caption;
        show(0);
    }
    void counter(int done) override
    {
        // Redrawing for every row would cost more than the pages.
        const int percent = m_total > 0 ? std::clamp(done * 100 / m_total, 0, 100) : 100;
        if (percent != m_percent)
            show(percent);
    }
    void end() override
    {
        if (m_shown) {
            show(100);
            m_err << Qt::endl;
        }
    }

private:
    void show(int percent)
    {
        m_percent = percent;
        m_shown = true;
        m_err << u'\r' << publisher::ProgressCaption << QStringLiteral("  ") << m_caption
              << QStringLiteral(" %1%").arg(percent, 3) << QStringLiteral("\x1b[K") << Qt::flush;
    }
    QTextStream &m_err;
    QString m_caption;
    int m_total = 0;
    int m_percent = -1;
    bool m_shown = false;
};

// Takes --upload out of the arguments; true when it was there.
bool takeUploadOption(CommandContext &ctx)
{
    return ctx.args.removeAll(QStringLiteral("--upload")) > 0;
}

// The pages go online after a publish that wrote them.
int thenUpload(CommandContext &ctx, bool upload, int code)
{
    return upload && code == ExitOk ? uploadAfterPublish(ctx) : code;
}

void noArguments(const CommandContext &ctx, const QString &command)
{
    if (!ctx.args.isEmpty())
        throw UsageError {
            QStringLiteral("%1 に引数はありません: %2").arg(command, ctx.args.join(u' '))};
}

QString htmlFolder(const CommandContext &ctx)
{
    return QDir::toNativeSeparators(ctx.contest.paths().html);
}

int publishAllPages(CommandContext &ctx)
{
    const bool upload = takeUploadOption(ctx);
    noArguments(ctx, QStringLiteral("publish"));
    if (const QString refusal = Phase::of(ctx.contest.rules()).refusal(Action::ExportResults);
        !refusal.isEmpty()) {
        ctx.err << refusal << Qt::endl;
        return ExitRefused;
    }
    TerminalProgress progress(ctx.err);
    const int pages
        = publisher::publishAll(ctx.contest, isatty(STDERR_FILENO) ? &progress : nullptr);
    ctx.out << QStringLiteral("%1 ページを書き出しました: %2").arg(pages).arg(htmlFolder(ctx))
            << Qt::endl;
    return thenUpload(ctx, upload, ExitOk);
}

int publishWholeSite(CommandContext &ctx)
{
    const bool upload = takeUploadOption(ctx);
    noArguments(ctx, QStringLiteral("publish all"));
    TerminalProgress progress(ctx.err);
    const int pages
        = publisher::publishSite(ctx.contest, isatty(STDERR_FILENO) ? &progress : nullptr);
    ctx.out << QStringLiteral("%1 ページを書き出しました: %2").arg(pages).arg(htmlFolder(ctx))
            << Qt::endl;
    return thenUpload(ctx, upload, ExitOk);
}

int publishEntryList(CommandContext &ctx)
{
    const bool upload = takeUploadOption(ctx);
    noArguments(ctx, QStringLiteral("publish entries"));
    TerminalProgress progress(ctx.err);
    if (!publisher::publishEntries(ctx.contest, isatty(STDERR_FILENO) ? &progress : nullptr)) {
        ctx.err << QStringLiteral("参加者が登録されていません。") << Qt::endl;
        return ExitRefused;
    }
    ctx.out << QStringLiteral("Entry.html と index.html を書き出しました: %1").arg(htmlFolder(ctx))
            << Qt::endl;
    return thenUpload(ctx, upload, ExitOk);
}

int publishRulesPage(CommandContext &ctx)
{
    const bool upload = takeUploadOption(ctx);
    noArguments(ctx, QStringLiteral("publish rules"));
    publisher::publishRules(ctx.contest);
    ctx.out << QStringLiteral("Rules.html と index.html を書き出しました: %1").arg(htmlFolder(ctx))
            << Qt::endl;
    return thenUpload(ctx, upload, ExitOk);
}

} // namespace

void addPublishCommands(std::vector<Command> &commands)
{
    commands.push_back({{QStringLiteral("publish")},
                        QStringLiteral("[--upload]"),
                        QStringLiteral("集計結果出力（HTML): 参加者ごとのページ、Prize.html、"
                                       "Records.html、Result.html、Result2.html、graph.html、"
                                       "index.html"),
                        false,
                        publishAllPages});
    commands.push_back({{QStringLiteral("publish"), QStringLiteral("all")},
                        QStringLiteral("[--upload]"),
                        QStringLiteral("サイト全体: publish のページ（受付終了の後）、Entry.html"
                                       "（参加者がいれば）、Rules.html（ルール決定の後）、"
                                       "index.html"),
                        false,
                        publishWholeSite});
    commands.push_back({{QStringLiteral("publish"), QStringLiteral("entries")},
                        QStringLiteral("[--upload]"),
                        QStringLiteral("参加者一覧出力（HTML): Entry.html と index.html"),
                        false,
                        publishEntryList});
    commands.push_back({{QStringLiteral("publish"), QStringLiteral("rules")},
                        QStringLiteral("[--upload]"),
                        QStringLiteral("ルールの説明のページ Rules.html と index.html"),
                        false,
                        publishRulesPage});
}

} // namespace kc::cli
