#pragma once

#include <QString>

namespace kc {

enum class Icon { None, Question, Warning, Information, Critical };

// A Yes/No question as the system asks it.
struct Question
{
    QString text;
    QString title;
    Icon icon = Icon::Question;
    bool defaultNo = false;
};

// A message with an OK button (or a message-window text).
struct Message
{
    QString text;
    QString title;
    Icon icon = Icon::None;
};

// How the core asks and tells: each front end (windows, command line, tests)
// implements it. The core never opens a window itself.
class Prompter
{
public:
    virtual ~Prompter() = default;

    virtual bool ask(const Question &question) = 0;
    virtual void tell(const Message &message) = 0;
    // The message window (frmINFO, caption "Information").
    virtual void inform(const QString &text)
    {
        tell({text, QStringLiteral("Information"), Icon::Information});
    }

    // A message about a file just written; a front end that can show the file
    // offers to open it.
    virtual void tellFile(const Message &message, const QString &path)
    {
        Q_UNUSED(path);
        tell(message);
    }

    virtual void beginProgress(int total, const QString &caption)
    {
        Q_UNUSED(total);
        Q_UNUSED(caption);
    }
    virtual void advanceProgress(int done) { Q_UNUSED(done); }
    virtual void endProgress() { }
};

// Answers every question the same way and drops messages; for code paths
// that must never ask.
class SilentPrompter : public Prompter
{
public:
    explicit SilentPrompter(bool answer = false) : m_answer(answer) { }
    bool ask(const Question &) override { return m_answer; }
    void tell(const Message &) override { }

private:
    bool m_answer;
};

} // namespace kc
