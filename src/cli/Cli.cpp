#include "cli/Cli.h"

#include "publish/PdfRenderer.h"
#include "scoring/StartUp.h"

#include "store/StoreError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <sys/stat.h>

namespace kc::cli {

bool TerminalPrompter::ask(const Question &question)
{
    m_err << question.text << Qt::endl;
    bool answer = false;
    switch (m_mode) {
    case AnswerMode::Yes:
        answer = true;
        m_err << QStringLiteral("→ はい (--yes)") << Qt::endl;
        break;
    case AnswerMode::No:
        m_err << QStringLiteral("→ いいえ (--no)") << Qt::endl;
        break;
    case AnswerMode::Ask:
        if (m_in) {
            m_err << (question.defaultNo ? QStringLiteral("[y/N] ") : QStringLiteral("[y/N] "))
                  << Qt::flush;
            const QString line = m_in->readLine().trimmed().toLower();
            answer = line == u"y" || line == u"yes" || line == u"はい";
        } else {
            m_err << QStringLiteral("→ いいえ（端末がないため）") << Qt::endl;
        }
        break;
    }
    if (!answer)
        m_answeredNo = true;
    return answer;
}

void TerminalPrompter::tell(const Message &message)
{
    ++m_messages;
    m_err << message.text << Qt::endl;
}

void TerminalPrompter::inform(const QString &text)
{
    ++m_messages;
    m_err << text << Qt::endl;
}

void CommandContext::printJson(const QJsonValue &value)
{
    const QJsonDocument doc
        = value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    out << QString::fromUtf8(doc.toJson(QJsonDocument::Indented));
}

std::vector<Command> allCommands()
{
    std::vector<Command> commands;
    addStoreCommands(commands);
    addBanzukeCommands(commands);
    addEntryCommands(commands);
    addRulesCommands(commands);
    addResultCommands(commands);
    addDemoCommands(commands);
    addReportCommands(commands);
    addPublishCommands(commands);
    addChartCommands(commands);
    addUploadCommands(commands);
    return commands;
}

std::vector<std::pair<QString, QString>> keyValues(const QStringList &args)
{
    std::vector<std::pair<QString, QString>> out;
    for (const QString &a : args) {
        const qsizetype eq = a.indexOf(u'=');
        if (eq <= 0)
            throw UsageError {QStringLiteral("KEY=VALUE の形ではありません: %1").arg(a)};
        out.emplace_back(a.left(eq), a.mid(eq + 1));
    }
    return out;
}

int printToPdf(CommandContext &ctx, const QString &report,
               const std::function<PrintDocument(Contest &)> &build)
{
    if (ctx.args.size() != 2 || ctx.args[0] != u"--pdf")
        throw UsageError {QStringLiteral("使い方: print %1 --pdf FILE").arg(report)};
    QString path = QFileInfo(ctx.args[1]).absoluteFilePath();
    const QString why = pdfTargetRefusal(path, ctx.contest.paths().data);
    if (!why.isEmpty()) {
        ctx.err << QStringLiteral("%1 には書き込みません: %2。何も変更していません。")
                       .arg(QDir::toNativeSeparators(path), why)
                << Qt::endl;
        return ExitRefused;
    }
    // A link to a file: the file it names is replaced, the link stays.
    if (QFileInfo(path).isSymLink())
        path = QFileInfo(path).canonicalFilePath();
    PdfRenderer::writePdf(build(ctx.contest), path);
    ctx.out << QDir::toNativeSeparators(path) << Qt::endl;
    return ExitOk;
}

std::optional<QString> takeOption(QStringList &args, const QString &name)
{
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == name) {
            if (i + 1 >= args.size() || args[i + 1].trimmed().isEmpty())
                throw UsageError {QStringLiteral("%1 には値を指定してください。").arg(name)};
            const QString value = args[i + 1];
            args.remove(i, 2);
            return value;
        }
        if (args[i].startsWith(name + u'=')) {
            const QString value = args[i].mid(name.size() + 1);
            args.removeAt(i);
            if (value.trimmed().isEmpty())
                throw UsageError {QStringLiteral("%1 には値を指定してください。").arg(name)};
            return value;
        }
    }
    return std::nullopt;
}

QString pdfTargetRefusal(const QString &path, const QString &dataDir)
{
    const QFileInfo target(path);
    // Where the file would really land: the link's file, or the name in its real folder.
    QString real;
    if (target.isSymLink() || target.exists()) {
        if (!target.exists())
            return QStringLiteral("リンク先のファイルがありません");
        if (!target.isFile())
            return target.isDir() ? QStringLiteral("フォルダです")
                                  : QStringLiteral("通常のファイルではありません");
        struct stat st
        {
        };
        if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
            return QStringLiteral("通常のファイルではありません");
        real = target.canonicalFilePath();
    } else {
        QString folder = target.absolutePath();
        QString rest = target.fileName();
        // The nearest folder that exists, as the write creates the others.
        while (!QFileInfo::exists(folder) && QFileInfo(folder).absolutePath() != folder) {
            rest = QFileInfo(folder).fileName() + u'/' + rest;
            folder = QFileInfo(folder).absolutePath();
        }
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        real = (canonical.isEmpty() ? folder : canonical) + u'/' + rest;
    }
    const QString data = QFileInfo(dataDir).canonicalFilePath();
    const QString dataClean = data.isEmpty() ? QDir::cleanPath(dataDir) : data;
    if (real == dataClean || real.startsWith(dataClean + u'/'))
        return QStringLiteral(
            "コンテストの Data フォルダの中です（PDF は別の場所に指定してください）");
    return {};
}

int intArgument(const QString &text, const QString &what)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok)
        throw UsageError {QStringLiteral("%1 は整数で指定してください: %2").arg(what, text)};
    return v;
}

namespace {

QString helpText(const std::vector<Command> &commands)
{
    QString s = QStringLiteral(
        "使い方: kachikoshi [--dir DIR] [--yes | --no] [COMMAND [ARGUMENTS...]]\n"
        "        kachikoshi [--dir DIR] --support\n"
        "        kachikoshi --help | --version\n\n"
        "コマンドなしで起動するとメインウィンドウを開きます。\n\n"
        "オプション:\n"
        "  --dir DIR   コンテストフォルダ（Data/ と html/ を置く所）。既定: $KACHIKOSHI_DIR、\n"
        "              なければユーザーのデータフォルダ\n"
        "  --yes       すべての質問に「はい」で答える\n"
        "  --no        すべての質問に「いいえ」で答える\n"
        "  --json      一覧のコマンドで JSON を出力する\n"
        "  --support   メインウィンドウを保守用の「サポート」メニューを出して開く\n"
        "              （Ctrl+Shift+M でも出し入れできます）\n\n"
        "コマンド:\n");
    for (const Command &c : commands) {
        QString line = QStringLiteral("  ") + c.words.join(u' ');
        if (!c.usage.isEmpty())
            line += u' ' + c.usage;
        if (c.acceptsJson)
            line += QStringLiteral(" [--json]");
        s += line.leftJustified(40) + u' ' + c.summary + u'\n';
    }
    s += QStringLiteral("\n終了コード: 0 完了, 1 拒否, 2 使い方の誤り, 3 質問に「いいえ」, "
                        "4 ファイルまたはデータベースの読み書きの失敗（何も変更していません）, "
                        "5 処理は記録済みだがファイルを置き換えられなかった（次回の起動時に完了"
                        "します。やり直さないでください）\n");
    return s;
}

const QStringList kGlobalFlags {QStringLiteral("--yes"), QStringLiteral("--no"),
                                QStringLiteral("--json"), QStringLiteral("--support")};

} // namespace

bool wantsCommandLine(const QStringList &arguments)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        // An empty folder is a usage error, which the command line reports.
        if (a == u"--dir") {
            if (++i >= arguments.size() || arguments[i].trimmed().isEmpty())
                return true;
            continue;
        }
        if (a.startsWith(QStringLiteral("--dir=")) && a.mid(6).trimmed().isEmpty())
            return true;
        if (a.startsWith(QStringLiteral("--dir=")) || a == u"--support")
            continue;
        if (a == u"--yes" || a == u"--no")
            continue;
        return true; // a command, --help, --version, or something to complain about
    }
    return false;
}

bool commandRenders(const QStringList &arguments)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == u"--dir") {
            ++i;
            continue;
        }
        if (a.startsWith(u'-'))
            continue;
        return a == u"print"; // the first command word
    }
    return false;
}

int run(const QStringList &arguments, QTextStream &out, QTextStream &err, QTextStream *in,
        bool stdinIsTerminal)
{
    const std::vector<Command> commands = allCommands();
    QString dir;
    AnswerMode mode = AnswerMode::Ask;
    bool json = false;
    QStringList words;
    bool dirGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == u"--help" || a == u"-h") {
            out << helpText(commands);
            return ExitOk;
        }
        if (a == u"--version") {
            out << QStringLiteral("kachikoshi ") << QStringLiteral(KC_VERSION) << Qt::endl;
            return ExitOk;
        }
        if (a == u"--dir") {
            dir = i + 1 < arguments.size() ? arguments[++i] : QString();
            dirGiven = true;
        } else if (a.startsWith(QStringLiteral("--dir="))) {
            dir = a.mid(6);
            dirGiven = true;
        } else if (a == u"--yes") {
            mode = AnswerMode::Yes;
        } else if (a == u"--no") {
            mode = AnswerMode::No;
        } else if (a == u"--json") {
            json = true;
        } else if (a == u"--support") {
            // window-only option
        } else {
            words << a;
        }
    }
    // An empty folder name must not fall back to another contest.
    if (dirGiven && dir.trimmed().isEmpty()) {
        err << QStringLiteral("--dir にはフォルダを指定してください。") << Qt::endl;
        return ExitUsage;
    }
    if (words.isEmpty()) {
        err << QStringLiteral("コマンドを指定してください（kachikoshi --help）。") << Qt::endl;
        return ExitUsage;
    }
    // The longest matching command words win ("banzuke show" before "banzuke").
    const Command *match = nullptr;
    for (const Command &c : commands) {
        if (c.words.size() <= words.size() && words.mid(0, c.words.size()) == c.words
            && (!match || c.words.size() > match->words.size()))
            match = &c;
    }
    if (!match) {
        err << QStringLiteral("不明なコマンドです: %1（kachikoshi --help）").arg(words.join(u' '))
            << Qt::endl;
        return ExitUsage;
    }
    if (json && !match->acceptsJson) {
        err << QStringLiteral("%1 は --json に対応していません。").arg(match->words.join(u' '))
            << Qt::endl;
        return ExitUsage;
    }
    if (dir.isEmpty())
        dir = defaultContestDir();
    if (dir.isEmpty()) {
        err << noContestDirMessage() << Qt::endl;
        return ExitUsage;
    }
    if (match->words.first() == u"demo") {
        try {
            if (const auto refusal = demoRefusal(dir, words.mid(1))) {
                err << *refusal << Qt::endl;
                return ExitRefused;
            }
        } catch (const UsageError &e) {
            err << e.message << Qt::endl;
            return ExitUsage;
        }
    }
    if (!QDir().mkpath(dir)) {
        err << QStringLiteral("フォルダ %1 を作成できません。").arg(QDir::toNativeSeparators(dir))
            << Qt::endl;
        return ExitDataError;
    }
    TerminalPrompter prompter(mode, err,
                              (mode == AnswerMode::Ask && stdinIsTerminal) ? in : nullptr);
    try {
        Contest contest(dir, prompter);
        openContest(contest);
        CommandContext ctx {contest, prompter, out, err, words.mid(match->words.size()), json};
        const int code = match->run(ctx);
        contest.close(false);
        return code;
    } catch (const UsageError &e) {
        err << e.message << Qt::endl;
        return ExitUsage;
    } catch (const StoreError &e) {
        err << e.message() << Qt::endl;
        return e.isCompletesLater() ? ExitCompletesLater : ExitDataError;
    }
}

} // namespace kc::cli
