// A stop of the process at every write of an action, and at every write of
// the start-up that finishes it: the next start-up always finds the contest
// wholly before or wholly after the action, byte for byte.

#include "TestSupport.h"
#include "UnitOfWorkFaults.h"
#include "scoring/StartUp.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kc::test {
namespace {

using Mode = FaultyFileStore::Mode;

const QString kFinished = QStringLiteral(
    "前回、処理の途中でプログラムが終了していたため、その処理を最後まで行いました。");
const QString kUndone = QStringLiteral("前回、処理の途中でプログラムが終了していたため、"
                                       "その処理を取り消し、処理の前の状態に戻しました。");

const QString kFinishedAfterFailure = QStringLiteral(
    "直前の処理は書き込みの途中で失敗しましたが、記録が残っていたため最後まで行いました。");

// Opens the folder as the next start-up would and pictures it.
ContestPicture startUp(const QString &root, ScriptedPrompter &seen)
{
    Contest c(root, seen);
    c.open();
    ContestPicture p = pictureOf(c);
    c.close(false);
    return p;
}

class UnitOfWorkCrash : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_work.isValid());
        m_template = m_work.path() + QStringLiteral("/template");
        buildContest(m_template, 40);
        ScriptedPrompter seen;
        m_before = startUp(m_template, seen);
        ASSERT_TRUE(seen.messages.isEmpty()) << seen.messages.join(u'\n').toStdString();
    }

    QString freshCopy(const QString &name)
    {
        const QString dir = m_work.path() + u'/' + name;
        copyFolder(m_template, dir);
        return dir;
    }

    ContestPicture afterOf(const std::function<void(Contest &)> &action)
    {
        const QString dir = freshCopy(QStringLiteral("after"));
        {
            SilentPrompter yes(true);
            Contest c(dir, yes);
            c.open();
            action(c);
            c.close(false);
        }
        ScriptedPrompter seen;
        return startUp(dir, seen);
    }

    // Runs the action stopping at its k-th disk write, for every k until it
    // runs through; returns how many writes the action made.
    int stopAtEveryWrite(Mode mode, const std::function<void(Contest &)> &action,
                         const ContestPicture &after)
    {
        for (int k = 1; k < 100; ++k) {
            SCOPED_TRACE(testing::Message()
                         << "stop " << (mode == Mode::StopBefore ? "before" : "after") << " write "
                         << k);
            const QString dir = freshCopy(QStringLiteral("run-%1-%2").arg(int(mode)).arg(k));
            auto store = std::make_unique<FaultyFileStore>();
            FaultyFileStore *disk = store.get();
            bool stopped = false;
            QStringList ops;
            {
                SilentPrompter yes(true);
                Contest c(dir, yes, std::move(store));
                c.open();
                disk->arm(k, mode);
                try {
                    action(c);
                } catch (const ProcessStopped &) {
                    stopped = true;
                }
                ops = disk->ops;
                // The Contest is dropped here as it stands: nothing more reaches the disk.
            }
            // Write 1 is the manifest; the database commit comes after it.
            const bool committed = !stopped || k > 1;
            ScriptedPrompter seen;
            const ContestPicture found = startUp(dir, seen);
            const ContestPicture &expected = committed ? after : m_before;
            EXPECT_TRUE(found == expected) << (committed ? "after: " : "before: ")
                                           << differences(found, expected).toStdString();
            EXPECT_FALSE(journalLeft(dir));
            // Nothing to tell when nothing was written yet or everything was done.
            const bool untouched = k == 1 && mode == Mode::StopBefore;
            const bool done = mode == Mode::StopAfter
                && ops.last().startsWith(QStringLiteral("remove "))
                && ops.last().endsWith(QStringLiteral(".kcj"));
            if (!stopped || untouched || done)
                EXPECT_TRUE(seen.messages.isEmpty());
            else
                EXPECT_EQ(seen.messages, QStringList {committed ? kFinished : kUndone});
            ScriptedPrompter again;
            EXPECT_TRUE(startUp(dir, again) == found);
            EXPECT_TRUE(again.messages.isEmpty()) << "the message is shown once";
            if (!stopped) {
                EXPECT_TRUE(ops.first().startsWith(QStringLiteral("write "))
                            && ops.first().endsWith(QStringLiteral(".kcj")))
                    << ops.join(u',').toStdString();
                EXPECT_TRUE(ops.last().startsWith(QStringLiteral("remove "))
                            && ops.last().endsWith(QStringLiteral(".kcj")));
                return k - 1;
            }
        }
        ADD_FAILURE() << "the action never ran through";
        return 0;
    }

    QTemporaryDir m_work;
    QString m_template;
    ContestPicture m_before;
};

TEST_F(UnitOfWorkCrash, ConfirmDayIsWhollyBeforeOrAfterWhereverTheProcessStops)
{
    const auto action = [](Contest &c) { confirmDay(c); };
    const ContestPicture after = afterOf(action);
    ASSERT_FALSE(after == m_before);
    ASSERT_EQ(after.files.count(QStringLiteral("Entry.Csv")), 0u);
    // Manifest, six files, one removal, the manifest's removal.
    EXPECT_EQ(stopAtEveryWrite(Mode::StopBefore, action, after), 9);
    EXPECT_EQ(stopAtEveryWrite(Mode::StopAfter, action, after), 9);
}

TEST_F(UnitOfWorkCrash, ResetIsWhollyBeforeOrAfterWhereverTheProcessStops)
{
    const auto action = [](Contest &c) { ASSERT_TRUE(c.reset()); };
    const ContestPicture after = afterOf(action);
    ASSERT_TRUE(after.entryRows.isEmpty());
    ASSERT_FALSE(after == m_before);
    EXPECT_GT(stopAtEveryWrite(Mode::StopBefore, action, after), 5);
    EXPECT_GT(stopAtEveryWrite(Mode::StopAfter, action, after), 5);
}

TEST_F(UnitOfWorkCrash, AStopWhileStartUpFinishesTheActionIsFinishedByTheNextStartUp)
{
    const ContestPicture after = afterOf([](Contest &c) { confirmDay(c); });
    // Stopped just after the database commit: every file is still to be moved.
    const QString pending = freshCopy(QStringLiteral("pending"));
    {
        auto store = std::make_unique<FaultyFileStore>();
        FaultyFileStore *disk = store.get();
        SilentPrompter quiet;
        Contest c(pending, quiet, std::move(store));
        c.open();
        disk->arm(2, Mode::StopBefore);
        EXPECT_THROW(confirmDay(c), ProcessStopped);
    }
    ASSERT_TRUE(journalLeft(pending));

    for (Mode mode : {Mode::StopBefore, Mode::StopAfter}) {
        for (int k = 1;; ++k) {
            SCOPED_TRACE(testing::Message() << "start-up stopped at write " << k);
            ASSERT_LT(k, 50);
            const QString dir
                = m_work.path() + QStringLiteral("/recover-%1-%2").arg(int(mode)).arg(k);
            copyFolder(pending, dir);
            auto store = std::make_unique<FaultyFileStore>();
            FaultyFileStore *disk = store.get();
            disk->arm(k, mode);
            ScriptedPrompter first;
            bool stopped = false;
            {
                Contest c(dir, first, std::move(store));
                try {
                    c.open();
                } catch (const ProcessStopped &) {
                    stopped = true;
                }
            }
            ScriptedPrompter seen;
            const ContestPicture found = startUp(dir, seen);
            EXPECT_TRUE(found == after) << differences(found, after).toStdString();
            EXPECT_FALSE(journalLeft(dir));
            // Told by the start-up that got as far as telling; told again only
            // when the stop came after the message but before the manifest went.
            if (first.messages.isEmpty())
                EXPECT_EQ(seen.messages, QStringList {kFinished});
            else
                EXPECT_EQ(first.messages, QStringList {kFinished});
            ScriptedPrompter third;
            startUp(dir, third);
            EXPECT_TRUE(third.messages.isEmpty());
            if (!stopped) {
                EXPECT_EQ(k - 1, 8); // seven files and the manifest's removal
                break;
            }
        }
    }
}

TEST_F(UnitOfWorkCrash, AFailedWriteLeavesTheDiskWhollyBeforeOrAfterAndReloadCatchesUp)
{
    const ContestPicture after = afterOf([](Contest &c) { confirmDay(c); });
    for (int k = 1;; ++k) {
        SCOPED_TRACE(testing::Message() << "write " << k << " fails");
        ASSERT_LT(k, 50);
        const QString dir = freshCopy(QStringLiteral("fail-%1").arg(k));
        auto store = std::make_unique<FaultyFileStore>();
        FaultyFileStore *disk = store.get();
        ScriptedPrompter prompter;
        Contest c(dir, prompter, std::move(store));
        c.open();
        disk->arm(k, Mode::Fail);
        bool failed = false;
        try {
            confirmDay(c);
        } catch (const StoreError &) {
            failed = true;
        }
        // What the front end does after a failed action.
        disk->arm(0, Mode::Fail);
        c.reload();
        const bool committed = k > 1;
        const ContestPicture &expected = committed ? after : m_before;
        const ContestPicture found = pictureOf(c);
        EXPECT_TRUE(found == expected) << differences(found, expected).toStdString();
        EXPECT_EQ(c.rules().currentDay, committed ? 4 : 3);
        EXPECT_EQ(c.entries().at(7).dayTotal[3], committed ? (7 * 7 + 4) % 23 : 0);
        EXPECT_EQ(c.daily().perfectCount(), committed ? 3 : 2);
        EXPECT_FALSE(journalLeft(dir));
        if (failed && committed)
            EXPECT_EQ(prompter.messages, QStringList {kFinishedAfterFailure});
        else
            EXPECT_TRUE(prompter.messages.isEmpty());
        c.close(false);
        ScriptedPrompter seen;
        EXPECT_TRUE(startUp(dir, seen) == expected);
        EXPECT_TRUE(seen.messages.isEmpty());
        if (!failed) {
            // The last write is the manifest's removal: its failure is not the action's.
            EXPECT_EQ(k - 1, 8);
            break;
        }
    }
}

TEST_F(UnitOfWorkCrash, AnActionThatThrowsHalfWayLeavesTheDiskAsItWas)
{
    for (int step = 1; step <= 6; ++step) {
        SCOPED_TRACE(testing::Message() << "thrown after step " << step);
        const QString dir = freshCopy(QStringLiteral("throw-%1").arg(step));
        ScriptedPrompter prompter;
        Contest c(dir, prompter);
        c.open();
        EXPECT_THROW(confirmDay(c,
                                [&](int n) {
                                    if (n == step)
                                        throw StoreError(QStringLiteral("試験"));
                                }),
                     StoreError);
        EXPECT_FALSE(journalLeft(dir));
        // Memory goes back with the disk, and a reload finds the same.
        for (bool reloaded : {false, true}) {
            if (reloaded)
                c.reload();
            EXPECT_EQ(c.rules().currentDay, 3);
            EXPECT_EQ(c.daily().perfectCount(), 2);
            EXPECT_EQ(c.roster().wrestlers[0].dayResult[3], 0);
        }
        EXPECT_TRUE(pictureOf(c) == m_before) << differences(pictureOf(c), m_before).toStdString();
        c.close(false);
    }
}

TEST_F(UnitOfWorkCrash, ARealProcessEndingAtEveryWriteOfConfirmDay)
{
    // The same stops as above in a child process that really ends: no
    // destructor runs, SQLite's open transaction is left to its own journal.
    const ContestPicture after = afterOf([](Contest &c) { confirmDay(c); });
    constexpr int kStoppedCode = 86;
    for (Mode mode : {Mode::StopBefore, Mode::StopAfter}) {
        for (int k = 1; k <= 9; ++k) {
            SCOPED_TRACE(testing::Message() << "process ends at write " << k);
            const QString dir = freshCopy(QStringLiteral("exit-%1-%2").arg(int(mode)).arg(k));
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                try {
                    auto store = std::make_unique<FaultyFileStore>();
                    FaultyFileStore *disk = store.get();
                    SilentPrompter quiet;
                    Contest c(dir, quiet, std::move(store));
                    c.open();
                    disk->exitOnStop(kStoppedCode);
                    disk->arm(k, mode);
                    confirmDay(c);
                } catch (...) {
                    ::_exit(1);
                }
                ::_exit(2);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status));
            ASSERT_EQ(WEXITSTATUS(status), kStoppedCode);
            ScriptedPrompter seen;
            const ContestPicture found = startUp(dir, seen);
            const ContestPicture &expected = k > 1 ? after : m_before;
            EXPECT_TRUE(found == expected) << differences(found, expected).toStdString();
            EXPECT_FALSE(journalLeft(dir));
            EXPECT_LE(seen.messages.size(), 1);
        }
    }
}

TEST_F(UnitOfWorkCrash, AStartEndedAtEveryCommitOfTheDatabaseRebuildLeavesThePrizeTableWhole)
{
    // The database lost after 賞位決定: the start-up rebuilds entry00, then
    // PRIZE. A process ending after any of its commits leaves the next start
    // to finish the table, whichever start created the database.
    const QString kRebuilt = QStringLiteral("賞位の表（PRIZE）を");
    auto lostDatabase = [&](const QString &name) {
        const QString dir = freshCopy(name);
        EXPECT_TRUE(QFile::remove(dir + QStringLiteral("/Data/kch.kch")));
        return dir;
    };
    auto start = [](const QString &dir, ScriptedPrompter &seen) {
        Contest c(dir, seen);
        openContest(c);
        ContestPicture p = pictureOf(c);
        c.close(false);
        return p;
    };
    ScriptedPrompter told;
    const ContestPicture whole = start(lostDatabase(QStringLiteral("whole")), told);
    ASSERT_TRUE(told.messages.join(u'\n').contains(kRebuilt));
    ASSERT_EQ(whole.prizeRows.size(), m_before.prizeRows.size());
    constexpr int kStoppedCode = 86;
    for (int k = 1;; ++k) {
        SCOPED_TRACE(testing::Message() << "start ends after commit " << k);
        ASSERT_LT(k, 20);
        const QString dir = lostDatabase(QStringLiteral("commit-%1").arg(k));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                SilentPrompter quiet;
                Contest c(dir, quiet);
                int commits = 0;
                c.database().setAfterCommit([&] {
                    if (++commits == k)
                        ::_exit(kStoppedCode);
                });
                openContest(c);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        ScriptedPrompter seen;
        const ContestPicture found = start(dir, seen);
        EXPECT_TRUE(found == whole) << differences(found, whole).toStdString();
        ScriptedPrompter again;
        EXPECT_TRUE(start(dir, again) == whole);
        EXPECT_TRUE(again.messages.isEmpty()) << again.messages.join(u'\n').toStdString();
        if (WEXITSTATUS(status) == 0) {
            EXPECT_TRUE(seen.messages.isEmpty());
            EXPECT_GE(k, 3) << "the tables, entry00 and PRIZE each commit";
            break;
        }
        ASSERT_EQ(WEXITSTATUS(status), kStoppedCode);
    }
}

} // namespace
} // namespace kc::test
