// What start-up does with what a stopped process left in Data/.journal.

#include "TestSupport.h"
#include "UnitOfWorkFaults.h"
#include "store/RecordFile.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

namespace kc::test {
namespace {

using Mode = FaultyFileStore::Mode;

class JournalTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_work.isValid());
        m_root = m_work.path() + QStringLiteral("/contest");
        buildContest(m_root, 12);
        m_before = startUp(m_root);
    }

    ContestPicture startUp(const QString &root)
    {
        m_seen = ScriptedPrompter();
        Contest c(root, m_seen);
        c.open();
        ContestPicture p = pictureOf(c);
        c.close(false);
        return p;
    }

    // Runs the action and stops the process at its k-th write.
    void stopAt(const QString &root, int k, Mode mode, const std::function<void(Contest &)> &action)
    {
        auto store = std::make_unique<FaultyFileStore>();
        FaultyFileStore *disk = store.get();
        SilentPrompter quiet(true);
        Contest c(root, quiet, std::move(store));
        c.open();
        disk->arm(k, mode);
        EXPECT_THROW(action(c), ProcessStopped);
    }

    QString manifestIn(const QString &root)
    {
        const QDir dir(root + QStringLiteral("/Data/.journal"));
        const QStringList names = dir.entryList({QStringLiteral("*.kcj")}, QDir::Files);
        return names.size() == 1 ? dir.filePath(names.first()) : QString();
    }

    QTemporaryDir m_work;
    QString m_root;
    ContestPicture m_before;
    ScriptedPrompter m_seen;
};

TEST_F(JournalTest, HalfWrittenAndUncommittedManifestsAreDroppedAndTheOrganiserToldOnce)
{
    const QString folder = m_root + QStringLiteral("/Data/.journal/");
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    writeBytes(folder + id + QStringLiteral(".kcj"), QByteArrayLiteral("not a manifest"));
    writeBytes(folder + id + QStringLiteral(".kcj.Xy12Ab"), QByteArray(100, '\0'));
    const ContestPicture found = startUp(m_root);
    EXPECT_TRUE(found == m_before) << differences(found, m_before).toStdString();
    ASSERT_EQ(m_seen.messages.size(), 1);
    EXPECT_TRUE(m_seen.messages.first().contains(QStringLiteral("取り消し")));
    EXPECT_FALSE(journalLeft(m_root));
    startUp(m_root);
    EXPECT_TRUE(m_seen.messages.isEmpty());
}

TEST_F(JournalTest, TheStartUpMessageJoinsTheOtherRepairsInOneMessage)
{
    stopAt(m_root, 2, Mode::StopBefore, [](Contest &c) { confirmDay(c); });
    // A mirror that no longer matches Entry.Dat is a second repair.
    {
        QSqlDatabase db
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("side"));
        db.setDatabaseName(m_root + QStringLiteral("/Data/kch.kch"));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("DELETE FROM entry00 WHERE ID = 111")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("side"));
    startUp(m_root);
    ASSERT_EQ(m_seen.messages.size(), 1);
    EXPECT_EQ(m_seen.messages.first().count(u'\n'), 1);
    EXPECT_TRUE(m_seen.messages.first().contains(QStringLiteral("最後まで行いました")));
    EXPECT_FALSE(journalLeft(m_root));
}

TEST_F(JournalTest, ADamagedCommittedManifestStopsStartUpAndTouchesNoFile)
{
    stopAt(m_root, 2, Mode::StopBefore, [](Contest &c) { confirmDay(c); });
    const QString manifest = manifestIn(m_root);
    ASSERT_FALSE(manifest.isEmpty());
    QByteArray bytes = readBytes(manifest);
    bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x5a);
    writeBytes(manifest, bytes);
    try {
        startUp(m_root);
        ADD_FAILURE() << "start-up went on with a damaged manifest";
    } catch (const StoreError &e) {
        EXPECT_TRUE(e.message().contains(QFileInfo(manifest).fileName())) << e.what();
    }
    // The data files are still those before the action, and the manifest is kept.
    for (const auto &[name, content] : m_before.files)
        EXPECT_EQ(readBytes(m_root + QStringLiteral("/Data/") + name), content)
            << name.toStdString();
    EXPECT_TRUE(QFileInfo::exists(manifest));
}

TEST_F(JournalTest, AContestFolderMovedAfterTheStopIsFinishedWhereItNowIs)
{
    QTemporaryDir afterDir;
    copyFolder(m_root, afterDir.path());
    {
        SilentPrompter quiet;
        Contest c(afterDir.path(), quiet);
        c.open();
        confirmDay(c);
        c.close(false);
    }
    const ContestPicture after = startUp(afterDir.path());

    stopAt(m_root, 2, Mode::StopBefore, [](Contest &c) { confirmDay(c); });
    const QString moved = m_work.path() + QStringLiteral("/moved");
    ASSERT_TRUE(QDir().rename(m_root, moved));
    const ContestPicture found = startUp(moved);
    EXPECT_TRUE(found == after) << differences(found, after).toStdString();
    EXPECT_FALSE(QDir(m_root).exists()) << "nothing written at the old place";
}

TEST_F(JournalTest, ConvertingOlderEntryFilesIsWhollyDoneOrNotAtAll)
{
    // Entry.Dat and Entry.Bak in the 342-byte layout, as an older version left them.
    {
        SilentPrompter quiet;
        Contest c(m_root, quiet);
        c.open();
        std::vector<LegacyEntryRecord> entries, bak;
        for (int k = 0; k < c.participantCount(); ++k) {
            LegacyEntryRecord old;
            old.shikona = c.entries()[k].shikona;
            for (int i = 0; i < 10; ++i) {
                old.ints[i] = c.entries()[k].picks[i];
                old.ints[10 + i] = kNoWrestler;
            }
            old.ints[65] = qint16(k);
            old.ints[80] = qint16(k);
            entries.push_back(old);
            old.ints[0] = qint16((k + 5) % 40); // registered differently from current
            bak.push_back(old);
        }
        c.close(false);
        writeBytes(c.paths().entry, recordfile::encodeAll<LegacyEntryRecord>(entries));
        writeBytes(c.paths().entryBak, recordfile::encodeAll<LegacyEntryRecord>(bak));
    }
    QTemporaryDir clean;
    copyFolder(m_root, clean.path());
    const ContestPicture converted = startUp(clean.path());
    ASSERT_EQ(converted.files.at(QStringLiteral("Entry.Bak")).size(), 12 * EntryRecord::Size);
    const auto first = EntryRecord::decode(
        converted.files.at(QStringLiteral("Entry.Dat")).left(EntryRecord::Size));
    ASSERT_EQ(first.enteredPicks[0], 5) << "registered picks come from the old Entry.Bak";

    for (Mode mode : {Mode::StopBefore, Mode::StopAfter}) {
        for (int k = 1;; ++k) {
            SCOPED_TRACE(testing::Message() << "start-up stopped at write " << k);
            ASSERT_LT(k, 20);
            QTemporaryDir run;
            copyFolder(m_root, run.path());
            auto store = std::make_unique<FaultyFileStore>();
            FaultyFileStore *disk = store.get();
            disk->arm(k, mode);
            bool stopped = false;
            {
                SilentPrompter quiet;
                Contest c(run.path(), quiet, std::move(store));
                try {
                    c.open();
                } catch (const ProcessStopped &) {
                    stopped = true;
                }
            }
            // Either the old files are still whole (and converted now) or the new ones are.
            const ContestPicture found = startUp(run.path());
            EXPECT_TRUE(found == converted) << differences(found, converted).toStdString();
            EXPECT_FALSE(journalLeft(run.path()));
            if (!stopped)
                break;
        }
    }
}

TEST_F(JournalTest, AManifestLeftByAFailedCommitIsSettledBeforeTheNextWrite)
{
    // Write 3 is a file of the action (after the commit point); write 9 the
    // manifest's removal, whose failure the action does not report.
    for (int k : {3, 9}) {
        SCOPED_TRACE(testing::Message() << "write " << k << " fails");
        QTemporaryDir run;
        copyFolder(m_root, run.path());
        auto store = std::make_unique<FaultyFileStore>();
        FaultyFileStore *disk = store.get();
        ScriptedPrompter prompter;
        {
            Contest c(run.path(), prompter, std::move(store));
            c.open();
            disk->arm(k, Mode::Fail);
            if (k == 3)
                EXPECT_THROW(confirmDay(c), StoreError);
            else
                EXPECT_NO_THROW(confirmDay(c));
            ASSERT_TRUE(journalLeft(run.path()));
            // A later single-file write, without reload(): the old manifest
            // goes first, so it can never be put back over this.
            c.files().write(c.paths().entryCsv, QByteArrayLiteral("later"));
            EXPECT_FALSE(journalLeft(run.path()));
            c.close(false);
        }
        const ContestPicture found = startUp(run.path());
        EXPECT_TRUE(m_seen.messages.isEmpty());
        EXPECT_EQ(found.files.at(QStringLiteral("Entry.Csv")), QByteArrayLiteral("later"));
        EXPECT_EQ(RulesRecord::decode(found.files.at(QStringLiteral("Credit.Dat"))).currentDay, 4);
    }
}

} // namespace
} // namespace kc::test
