#include "cli/Cli.h"

#include "online/UploadPassword.h"
#include "online/Uploader.h"

#include <QFileInfo>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace kc::cli {

namespace {

struct UploadOptions
{
    QString to, key, cacert;
    bool all = false, dryRun = false;
};

UploadOptions parseOptions(const QStringList &args, bool config)
{
    UploadOptions o;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        auto value = [&]() -> QString {
            if (i + 1 >= args.size() || args[i + 1].startsWith(QStringLiteral("--")))
                throw UsageError {QStringLiteral("%1 の後に値を指定してください。").arg(a)};
            return args[++i];
        };
        if (a == u"--to")
            o.to = value();
        else if (a == u"--key")
            o.key = QFileInfo(value()).absoluteFilePath();
        else if (a == u"--cacert")
            o.cacert = QFileInfo(value()).absoluteFilePath();
        else if (a == u"--all" && !config)
            o.all = true;
        else if (a == u"--dry-run" && !config)
            o.dryRun = true;
        else
            throw UsageError {QStringLiteral("upload%1 の引数が正しくありません: %2")
                                  .arg(config ? QStringLiteral(" config") : QString(), a)};
    }
    return o;
}

// The password typed on the terminal without echo; none without a terminal.
std::optional<QString> passwordFromTerminal(const UploadTarget &target, QTextStream &err)
{
    if (!isatty(STDIN_FILENO))
        return std::nullopt;
    err << QStringLiteral("%1 のパスワード（ユーザー %2）: ").arg(target.host, target.user)
        << Qt::flush;
    termios saved {};
    tcgetattr(STDIN_FILENO, &saved);
    termios quiet = saved;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    char line[1024] = {};
    const bool read = std::fgets(line, sizeof line, stdin) != nullptr;
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    err << Qt::endl;
    QString password = QString::fromLocal8Bit(line);
    std::fill(std::begin(line), std::end(line), '\0');
    while (password.endsWith(u'\n') || password.endsWith(u'\r'))
        password.chop(1);
    if (!read || password.isEmpty())
        return std::nullopt;
    return password;
}

class TerminalUploadProgress : public UploadProgress
{
public:
    explicit TerminalUploadProgress(QTextStream &err) : m_err(err) { }
    ~TerminalUploadProgress() override
    {
        if (m_files > 0)
            m_err << Qt::endl;
    }
    void begin(int files, qint64 bytes) override
    {
        m_files = files;
        m_bytes = bytes;
    }
    void fileDone(const QString &, int files, qint64 bytes) override
    {
        m_err << QStringLiteral("\rアップロード中  %1/%2 ファイル  %3/%4 KB\x1b[K")
                     .arg(files)
                     .arg(m_files)
                     .arg(bytes / 1024)
                     .arg(m_bytes / 1024)
              << Qt::flush;
    }

private:
    QTextStream &m_err;
    int m_files = 0;
    qint64 m_bytes = 0;
};

std::optional<UploadTarget> chosenTarget(CommandContext &ctx, const UploadOptions &o)
{
    std::optional<UploadTarget> target;
    if (!o.to.isEmpty()) {
        QString refusal;
        target = UploadTarget::fromText(o.to, refusal);
        if (!target)
            throw UsageError {refusal};
    } else {
        target = loadUploadSettings(ctx.contest).target;
        if (!target) {
            ctx.err << QStringLiteral("アップロード先が設定されていません。upload config --to "
                                      "URL で設定するか、--to URL を指定してください。")
                    << Qt::endl;
            return std::nullopt;
        }
    }
    if (!o.key.isEmpty())
        target->keyFile = o.key;
    if (!o.cacert.isEmpty())
        target->caFile = o.cacert;
    if (const QString why = target->refusal(); !why.isEmpty()) {
        ctx.err << why << Qt::endl;
        return std::nullopt;
    }
    return target;
}

int upload(CommandContext &ctx, const UploadOptions &o)
{
    const auto target = chosenTarget(ctx, o);
    if (!target)
        return ExitRefused;
    if (o.dryRun) {
        LocalTree tree = scanPages(ctx.contest.paths().html);
        if (const QString why = uploadRefusal(ctx.contest, *target, tree); !why.isEmpty()) {
            ctx.err << why << Qt::endl;
            return ExitRefused;
        }
        const UploadPlan plan = planUpload(
            std::move(tree), UploadManifest::load(ctx.contest).files(target->address()), o.all);
        for (const LocalFile &f : plan.send)
            ctx.out << QStringLiteral("送信 %1 %2").arg(f.path).arg(f.bytes.size()) << Qt::endl;
        for (const QString &path : plan.remove)
            ctx.out << QStringLiteral("削除 %1").arg(path) << Qt::endl;
        for (const QString &path : plan.refused)
            ctx.err << QStringLiteral("送りません（html/ の外を指すリンクか送れない名前）: %1")
                           .arg(path)
                    << Qt::endl;
        ctx.out << QStringLiteral("%1 へ送るファイル %2（%3 バイト）、削除 %4、変更なし %5")
                       .arg(target->address())
                       .arg(plan.send.size())
                       .arg(plan.bytes())
                       .arg(plan.remove.size())
                       .arg(plan.unchanged)
                << Qt::endl;
        return ExitOk;
    }
    if (target->sendsPasswordInClear())
        ctx.err << PlainFtpWarning << Qt::endl;
    const QString address = target->address();
    QTextStream &err = ctx.err;
    PasswordSource password = [address, target = *target, &err]() -> std::optional<QString> {
        if (auto p = uploadPassword::fromEnvironment())
            return p;
        if (auto p = uploadPassword::fromKeyring(address))
            return p;
        return passwordFromTerminal(target, err);
    };
    TerminalUploadProgress terminal(ctx.err);
    const UploadOutcome outcome = uploadPages(ctx.contest, *target, o.all, password,
                                              isatty(STDERR_FILENO) ? &terminal : nullptr);
    (outcome.ok() ? ctx.out : ctx.err) << outcome.summary(*target) << Qt::endl;
    return outcome.ok() ? ExitOk : ExitDataError;
}

int uploadCommand(CommandContext &ctx)
{
    return upload(ctx, parseOptions(ctx.args, false));
}

int configCommand(CommandContext &ctx)
{
    const UploadOptions o = parseOptions(ctx.args, true);
    if (o.to.isEmpty())
        throw UsageError {QStringLiteral("使い方: upload config --to URL [--key FILE] "
                                         "[--cacert FILE]")};
    QString refusal;
    auto target = UploadTarget::fromText(o.to, refusal);
    if (!target)
        throw UsageError {refusal};
    target->keyFile = o.key;
    target->caFile = o.cacert;
    if (const QString why = target->refusal(); !why.isEmpty()) {
        ctx.err << why << Qt::endl;
        return ExitRefused;
    }
    UploadSettings settings = loadUploadSettings(ctx.contest);
    settings.target = target;
    saveUploadSettings(ctx.contest, settings);
    if (target->sendsPasswordInClear())
        ctx.err << PlainFtpWarning << Qt::endl;
    ctx.out << QStringLiteral("公開設定を保存しました: %1").arg(target->address()) << Qt::endl;
    return ExitOk;
}

} // namespace

int uploadAfterPublish(CommandContext &ctx)
{
    return upload(ctx, UploadOptions {});
}

void addUploadCommands(std::vector<Command> &commands)
{
    commands.push_back(
        {{QStringLiteral("upload")},
         QStringLiteral("[--to URL] [--all] [--dry-run] [--key FILE] [--cacert FILE]"),
         QStringLiteral("アップロード: html/ の変更したファイルを公開先へ"),
         false,
         uploadCommand});
    commands.push_back({{QStringLiteral("upload"), QStringLiteral("config")},
                        QStringLiteral("--to URL [--key FILE] [--cacert FILE]"),
                        QStringLiteral("公開設定: アップロード先を保存"),
                        false,
                        configCommand});
}

} // namespace kc::cli
