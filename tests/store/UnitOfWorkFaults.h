#pragma once

// A disk layer that stops the "process" or fails at the k-th write, and the
// helpers the unit-of-work tests share: a contest folder to start from, a
// 結果確定-sized action and a byte-for-byte picture of a contest.

#include "store/Contest.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <functional>
#include <map>
#include <unistd.h>

namespace kc::test {

// Thrown where the process would have died. Not a StoreError, so no code can
// mistake it for an ordinary failure and tidy up after it.
struct ProcessStopped
{
};

// Counts every write and removal. At the k-th: StopBefore dies before doing
// it, StopAfter dies just after, Fail throws a StoreError (a full disk, a
// denied write) and carries on. After a stop nothing more reaches the disk.
class FaultyFileStore : public FileStore
{
public:
    enum class Mode { StopBefore, StopAfter, Fail };

    // k counts from 1, from now; 0 never faults.
    void arm(int k, Mode mode)
    {
        m_count = 0;
        m_at = k;
        m_mode = mode;
        ops.clear();
    }
    // A stop ends the real process (_exit) instead of throwing; for forked children.
    void exitOnStop(int code) { m_exitCode = code; }
    bool stopped() const { return m_stopped; }
    int count() const { return m_count; }

    bool exists(const QString &path) const override { return m_disk.exists(path); }
    std::optional<QByteArray> read(const QString &path) const override { return m_disk.read(path); }
    void write(const QString &path, const QByteArray &bytes) override
    {
        op(QStringLiteral("write ") + QFileInfo(path).fileName(),
           [&] { m_disk.write(path, bytes); });
    }
    void remove(const QString &path) override
    {
        op(QStringLiteral("remove ") + QFileInfo(path).fileName(), [&] { m_disk.remove(path); });
    }
    void syncFolder(const QString &dir) override
    {
        if (m_stopped)
            throw ProcessStopped {};
        m_disk.syncFolder(dir);
    }

    QStringList ops; // what was attempted since arm(), in order

private:
    template<typename F> void op(const QString &what, F doIt)
    {
        if (m_stopped)
            throw ProcessStopped {};
        ops << what;
        if (++m_count == m_at) {
            switch (m_mode) {
            case Mode::StopBefore:
                stop();
            case Mode::StopAfter:
                doIt();
                stop();
            case Mode::Fail:
                throw StoreError(QStringLiteral("書き込みに失敗しました（試験）。"), what);
            }
        }
        doIt();
    }

    [[noreturn]] void stop()
    {
        m_stopped = true;
        if (m_exitCode >= 0)
            ::_exit(m_exitCode);
        throw ProcessStopped {};
    }

    DiskFileStore m_disk;
    int m_exitCode = -1;
    int m_count = 0;
    int m_at = 0;
    Mode m_mode = Mode::StopBefore;
    bool m_stopped = false;
};

// Every Data file byte for byte (the database file itself excepted) and the
// rows of entry00 and PRIZE.
struct ContestPicture
{
    std::map<QString, QByteArray> files;
    QStringList entryRows, prizeRows;
    bool operator==(const ContestPicture &) const = default;
};
ContestPicture pictureOf(Contest &contest);
// What differs, for a failure message.
QString differences(const ContestPicture &a, const ContestPicture &b);

void copyFolder(const QString &from, const QString &to);
bool journalLeft(const QString &root);

// A contest on day 3 with `entries` participants, PRIZE rows, Perfect.Dat and
// an Entry.Csv export, closed again.
void buildContest(const QString &root, int entries);

// 結果確定-sized: Credit.Dat, Rikishi.Dat, Perfect.Dat, Record.Dat, Entry.Dat,
// Entry.Bak copied from the new Entry.Dat, Entry.Csv removed, every entry00 row
// and every PRIZE row updated; all in one unit of work. `afterStep` runs after
// each of those steps (a test can make it throw).
void confirmDay(Contest &contest, const std::function<void(int)> &afterStep = {});
// The same writes without a unit of work (one database transaction).
void confirmDayWithoutUnit(Contest &contest);

} // namespace kc::test
