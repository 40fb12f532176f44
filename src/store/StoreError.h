#pragma once

#include <QString>
#include <stdexcept>

namespace kc {

// An I/O, database or data-format failure. `message` is the organiser-facing
// Japanese text and names the file concerned.
class StoreError : public std::runtime_error
{
public:
    explicit StoreError(const QString &message, const QString &file = QString())
        : std::runtime_error(message.toStdString()), m_message(message), m_file(file)
    {
    }
    const QString &message() const { return m_message; }
    const QString &file() const { return m_file; }

    // The action reached its commit point but a file could not be put in
    // place: it is recorded and completes at the next start.
    static StoreError completesLater(const QString &message, const QString &file)
    {
        StoreError e(message, file);
        e.m_completesLater = true;
        return e;
    }
    bool isCompletesLater() const { return m_completesLater; }

private:
    QString m_message;
    QString m_file;
    bool m_completesLater = false;
};

} // namespace kc
