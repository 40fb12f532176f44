#pragma once

#include "Printers.h"
#include "store/Contest.h"
#include "store/Prompter.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <memory>

namespace kc {
class PrintDocument;
struct PrintItem;
} // namespace kc

namespace kc::test {

// Records every question and message; answers from a script (default Yes).
class ScriptedPrompter : public Prompter
{
public:
    bool ask(const Question &q) override
    {
        questions << q.text;
        lastQuestion = q;
        if (answers.empty())
            return defaultAnswer;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void tell(const Message &m) override { messages << m.text; }
    void inform(const QString &text) override { informs << text; }
    void beginProgress(int total, const QString &) override { progressTotal = total; }
    void advanceProgress(int done) override { progressDone = done; }

    std::deque<bool> answers;
    bool defaultAnswer = true;
    QStringList questions, messages, informs;
    Question lastQuestion;
    int progressTotal = 0, progressDone = 0;
};

// A contest in a temporary folder.
class TempContest
{
public:
    TempContest();
    QString root() const { return m_dir.path(); }
    QString dataFile(const QString &name) const
    {
        return m_dir.path() + QStringLiteral("/Data/") + name;
    }
    // Opens (or re-opens) a Contest on the folder.
    Contest &open();
    void close();
    Contest &contest() { return *m_contest; }
    ScriptedPrompter prompter;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Contest> m_contest;
};

QByteArray readBytes(const QString &path);
// Every file of a folder (not below it) by name, the lock file left out.
QMap<QString, QByteArray> snapshotFiles(const QString &dir);
// Pages of a PDF document (its /Type /Page objects).
int pdfPageCount(const QByteArray &pdf);
void writeBytes(const QString &path, const QByteArray &bytes);
// A little-endian 16-bit number written into a record's bytes.
void setI16(QByteArray &bytes, int offset, qint16 value);
// The text item of a document's first page at (x, y), or null.
const PrintItem *textAt(const PrintDocument &doc, int x, int y);

// Runs the command line in-process; returns the exit code with what it printed.
struct CliResult
{
    int code;
    QString out;
    QString err;
};
CliResult runCli(const QStringList &args);

} // namespace kc::test

namespace kc::test {

// Runs the real program (KC_EXE) as a separate process without a display (no
// DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM); code -1 when it crashed, did not
// finish in two minutes, or KC_EXE is not set.
CliResult runExe(const QStringList &args);
// Skips a test of the real program when not run through ctest.
#define KC_SKIP_WITHOUT_EXE()                                                                      \
    if (qEnvironmentVariable("KC_EXE").isEmpty())                                                  \
    GTEST_SKIP() << "KC_EXE not set (run through ctest)"

} // namespace kc::test
