// What an action sees inside a unit of work, nesting, and what a commit costs.

#include "store/UnitOfWork.h"
#include "TestSupport.h"
#include "UnitOfWorkFaults.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>

namespace kc::test {
namespace {

class UnitOfWorkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        buildContest(m_dir.path(), 5);
        m_contest = std::make_unique<Contest>(m_dir.path(), m_prompter);
        m_contest->open();
    }
    Contest &c() { return *m_contest; }
    int rows() { return c().database().rowCount(QStringLiteral("entry00")); }

    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;
    std::unique_ptr<Contest> m_contest;
};

TEST_F(UnitOfWorkTest, ReadsSeeTheUnitsWritesWhileTheDiskWaitsForTheCommit)
{
    const Paths &p = c().paths();
    const QByteArray oldEntry = readBytes(p.entry);
    const QByteArray newEntry = QByteArray(EntryRecord::Size * 2, 'x');
    {
        UnitOfWork work(c());
        EXPECT_FALSE(work.joined());
        c().files().write(p.entry, newEntry);
        c().files().copy(p.entry, p.entryBak);
        c().files().remove(p.entryCsv);
        EXPECT_EQ(c().files().read(p.entryBak), newEntry);
        EXPECT_EQ(c().files().size(p.entry), newEntry.size());
        EXPECT_FALSE(c().files().exists(p.entryCsv));
        EXPECT_FALSE(c().files().read(p.entryCsv).has_value());
        // Nothing has reached the disk yet.
        EXPECT_EQ(readBytes(p.entry), oldEntry);
        EXPECT_FALSE(QFileInfo::exists(p.entryBak));
        EXPECT_TRUE(QFileInfo::exists(p.entryCsv));
        work.commit();
    }
    EXPECT_EQ(readBytes(p.entry), newEntry);
    EXPECT_EQ(readBytes(p.entryBak), newEntry);
    EXPECT_FALSE(QFileInfo::exists(p.entryCsv));
    EXPECT_FALSE(journalLeft(m_dir.path()));
}

TEST_F(UnitOfWorkTest, AUnitLeftWithoutCommitChangesNothing)
{
    const Paths &p = c().paths();
    const ContestPicture before = pictureOf(c());
    {
        UnitOfWork work(c());
        c().files().write(p.credit, QByteArray(RulesRecord::Size, 'z'));
        c().files().remove(p.entry);
        c().database().deleteAll(QStringLiteral("entry00"));
    }
    EXPECT_TRUE(pictureOf(c()) == before) << differences(pictureOf(c()), before).toStdString();
    EXPECT_EQ(c().files().read(p.credit), readBytes(p.credit));
    EXPECT_FALSE(journalLeft(m_dir.path()));
}

TEST_F(UnitOfWorkTest, WithoutAUnitAWriteGoesStraightToTheDisk)
{
    const QString path = c().paths().entryCsv;
    c().files().write(path, QByteArrayLiteral("now"));
    EXPECT_EQ(readBytes(path), QByteArrayLiteral("now"));
    EXPECT_FALSE(journalLeft(m_dir.path()));
}

TEST_F(UnitOfWorkTest, AnInnerUnitJoinsTheOuterAndOnlyTheOuterCommitWrites)
{
    const QString path = c().paths().entryCsv;
    const QByteArray old = readBytes(path);
    UnitOfWork outer(c());
    {
        UnitOfWork inner(c());
        EXPECT_TRUE(inner.joined());
        c().files().write(path, QByteArrayLiteral("inner"));
        c().database().deleteAll(QStringLiteral("PRIZE"));
        inner.commit();
    }
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(c().files().read(path), QByteArrayLiteral("inner"));
    EXPECT_EQ(c().database().transactionDepth(), 1);
    outer.commit();
    EXPECT_EQ(readBytes(path), QByteArrayLiteral("inner"));
    EXPECT_EQ(c().database().rowCount(QStringLiteral("PRIZE")), 0);
    EXPECT_EQ(c().database().transactionDepth(), 0);
}

TEST_F(UnitOfWorkTest, AnInnerUnitThatFailedMakesTheOuterCommitThrowAndUndoEverything)
{
    const ContestPicture before = pictureOf(c());
    {
        UnitOfWork outer(c());
        c().files().write(c().paths().entryCsv, QByteArrayLiteral("outer"));
        try {
            UnitOfWork inner(c());
            c().database().deleteAll(QStringLiteral("entry00"));
            throw StoreError(QStringLiteral("試験"));
        } catch (const StoreError &) {
            // The caller carries on as if the inner step were optional.
        }
        EXPECT_THROW(outer.commit(), StoreError);
    }
    EXPECT_TRUE(pictureOf(c()) == before) << differences(pictureOf(c()), before).toStdString();
    EXPECT_EQ(c().journal().depth(), 0);
    EXPECT_EQ(c().database().transactionDepth(), 0);
}

TEST_F(UnitOfWorkTest, ATransactionRolledBackInsideAUnitMakesItsCommitThrow)
{
    const ContestPicture before = pictureOf(c());
    {
        UnitOfWork work(c());
        c().files().write(c().paths().entryCsv, QByteArrayLiteral("half"));
        {
            Transaction tx(c().database());
            c().database().deleteAll(QStringLiteral("entry00"));
        }
        EXPECT_THROW(work.commit(), StoreError);
    }
    EXPECT_TRUE(pictureOf(c()) == before) << differences(pictureOf(c()), before).toStdString();
    // The next unit works normally.
    UnitOfWork next(c());
    c().files().write(c().paths().entryCsv, QByteArrayLiteral("next"));
    next.commit();
    EXPECT_EQ(readBytes(c().paths().entryCsv), QByteArrayLiteral("next"));
}

TEST_F(UnitOfWorkTest, AUnitCannotStartInsideADatabaseTransaction)
{
    // Its commit point would be the outer commit, after its files were moved.
    Transaction tx(c().database());
    EXPECT_THROW(UnitOfWork work(c()), StoreError);
    EXPECT_EQ(c().journal().depth(), 0);
}

TEST_F(UnitOfWorkTest, AFailedResetPutsTheStateBack)
{
    ASSERT_EQ(c().participantCount(), 5);
    auto store = std::make_unique<FaultyFileStore>();
    FaultyFileStore *disk = store.get();
    m_contest.reset();
    m_contest = std::make_unique<Contest>(m_dir.path(), m_prompter, std::move(store));
    c().open();
    disk->arm(1, FaultyFileStore::Mode::Fail); // the manifest cannot be written
    EXPECT_THROW(c().reset(), StoreError);
    EXPECT_EQ(c().rules().flag, 10) << "memory goes back with the disk";
    c().reload();
    EXPECT_EQ(c().rules().flag, 10);
    EXPECT_EQ(c().rules().currentDay, 3);
    EXPECT_EQ(c().participantCount(), 5);
    EXPECT_EQ(rows(), 5);
    EXPECT_EQ(c().entryTable().count(), 5);
    EXPECT_GT(c().roster().wrestlerCount, 0);
}

// Not a limit, a measurement: the benchmark of the scoring commands tracks it.
TEST(UnitOfWorkCost, ConfirmingADayOf300EntriesWritesTheSameBytesWithOrWithoutAUnit)
{
    QTemporaryDir dir;
    const QString base = dir.path() + QStringLiteral("/base");
    buildContest(base, 300);
    auto timeIt = [&](const QString &name, const std::function<void(Contest &)> &action) {
        const QString root = dir.path() + u'/' + name;
        copyFolder(base, root);
        SilentPrompter quiet;
        Contest c(root, quiet);
        c.open();
        QElapsedTimer t;
        t.start();
        constexpr int days = 10;
        for (int i = 0; i < days; ++i)
            action(c);
        const double ms = double(t.nsecsElapsed()) / 1e6 / days;
        std::cout << "[ cost     ] " << name.toStdString() << ": " << ms << " ms a day\n";
        ContestPicture p = pictureOf(c);
        c.close(false);
        return p;
    };
    const ContestPicture direct = timeIt(QStringLiteral("direct"), confirmDayWithoutUnit);
    const ContestPicture unit = timeIt(QStringLiteral("unit"), [](Contest &c) { confirmDay(c); });
    EXPECT_TRUE(direct == unit) << differences(direct, unit).toStdString();
    EXPECT_FALSE(journalLeft(dir.path() + QStringLiteral("/unit")));
}

} // namespace
} // namespace kc::test
