#pragma once

#include "publish/PrintDocument.h"
#include "store/Contest.h"
#include "store/Prompter.h"

#include <QJsonValue>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kc::cli {

enum ExitCode {
    ExitOk = 0,
    ExitRefused = 1,
    ExitUsage = 2,
    ExitAnsweredNo = 3,
    ExitDataError = 4,
    ExitCompletesLater = 5
};

enum class AnswerMode { Ask, Yes, No };

// Questions go to standard error with their exact text; answered by --yes/--no,
// on the terminal, or No when there is no terminal.
class TerminalPrompter : public Prompter
{
public:
    TerminalPrompter(AnswerMode mode, QTextStream &err, QTextStream *in = nullptr)
        : m_mode(mode), m_err(err), m_in(in)
    {
    }
    bool ask(const Question &question) override;
    void tell(const Message &message) override;
    void inform(const QString &text) override;
    bool anyAnsweredNo() const { return m_answeredNo; }
    bool anyMessage() const { return m_messages > 0; }

private:
    AnswerMode m_mode;
    QTextStream &m_err;
    QTextStream *m_in;
    bool m_answeredNo = false;
    int m_messages = 0;
};

// Thrown by a command for a malformed argument (exit 2).
struct UsageError
{
    QString message;
};

struct CommandContext
{
    Contest &contest;
    TerminalPrompter &prompter;
    QTextStream &out;
    QTextStream &err;
    QStringList args; // after the command words
    bool json = false;

    // Prints a JSON document (compact keys in order given) on standard output.
    void printJson(const QJsonValue &value);
    // Exit code for an action that asked and may have been answered No.
    int askedResult(bool done) const { return done ? ExitOk : ExitAnsweredNo; }
};

struct Command
{
    QStringList words; // e.g. {"banzuke", "show"}
    QString usage; // arguments after the words
    QString summary; // one line, Japanese
    bool acceptsJson = false;
    std::function<int(CommandContext &)> run;
};

// Each area adds its commands here.
void addStoreCommands(std::vector<Command> &commands);
void addBanzukeCommands(std::vector<Command> &commands);
void addEntryCommands(std::vector<Command> &commands);
void addRulesCommands(std::vector<Command> &commands);
void addResultCommands(std::vector<Command> &commands);
void addDemoCommands(std::vector<Command> &commands);
void addReportCommands(std::vector<Command> &commands); // export, print
void addPublishCommands(std::vector<Command> &commands);
void addChartCommands(std::vector<Command> &commands);
void addUploadCommands(std::vector<Command> &commands);
// `publish … --upload`: the saved target, changed files only; exit 4 on failure.
int uploadAfterPublish(CommandContext &ctx);
// Why `demo` cannot fill the folder (it is not empty), checked before the contest
// opens; throws UsageError for malformed arguments, so nothing is created then either.
std::optional<QString> demoRefusal(const QString &dir, const QStringList &args);

std::vector<Command> allCommands();

// The whole command line (arguments without the program name). `stdinIsTerminal`
// decides how unanswered questions are taken.
int run(const QStringList &arguments, QTextStream &out, QTextStream &err, QTextStream *in,
        bool stdinIsTerminal);

// Whether the arguments name a command (or --help/--version), i.e. no window is wanted.
bool wantsCommandLine(const QStringList &arguments);

// Whether the command draws text (print, chart): it needs a QGuiApplication for its fonts.
bool commandRenders(const QStringList &arguments);

// Parses "KEY=VALUE" words; throws UsageError naming a malformed one.
std::vector<std::pair<QString, QString>> keyValues(const QStringList &args);
// Parses a whole number argument; throws UsageError.
int intArgument(const QString &text, const QString &what);
// `print REPORT --pdf FILE`: builds the document, writes the PDF atomically and
// prints its path; refuses (exit 1) a FILE the next function refuses; throws
// UsageError on other arguments.
int printToPdf(CommandContext &ctx, const QString &report,
               const std::function<PrintDocument(Contest &)> &build);
// Why a PDF may not be written at `path` (empty when it may): inside the
// contest's Data folder (links and folders resolved), or something that exists
// and is not a regular file or a link to one.
QString pdfTargetRefusal(const QString &path, const QString &dataDir);

} // namespace kc::cli
