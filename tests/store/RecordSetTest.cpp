#include "store/RecordSet.h"
#include "store/Database.h"
#include "store/StoreError.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kc;

namespace {
class RecordSetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db.open(dir.path() + QStringLiteral("/kch.kch"));
        RecordSet rs(db, QStringLiteral("entry00"));
        // ID, 中日計, 順位, 三
        const int rows[][4] = {{100, 50, 3, 7}, {101, 80, 1, 2}, {102, 50, 2, 9}, {103, 10, 4, 7}};
        for (const auto &r : rows) {
            rs.addNew();
            rs.setValue(QStringLiteral("ID"), r[0]);
            rs.setValue(QStringLiteral("中日計"), r[1]);
            rs.setValue(QStringLiteral("順位"), r[2]);
            rs.setValue(QStringLiteral("三"), r[3]);
            rs.setValue(QStringLiteral("しこな"), QStringLiteral("参加者%1").arg(r[0]));
            rs.update();
        }
    }
    QList<int> ids(RecordSet &rs)
    {
        QList<int> out;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            out << rs.intValue(QStringLiteral("ID"));
        return out;
    }
    QTemporaryDir dir;
    Database db;
};
} // namespace

TEST_F(RecordSetTest, SortStringsOfTheSystem)
{
    RecordSet rs(db, QStringLiteral("entry00"));
    EXPECT_EQ(ids(rs), (QList<int> {100, 101, 102, 103}));
    rs.setSort(QStringLiteral("中日計 DESC,ID ASC"));
    EXPECT_EQ(ids(rs), (QList<int> {101, 100, 102, 103}));
    rs.setSort(QStringLiteral("順位 ASC"));
    EXPECT_EQ(ids(rs), (QList<int> {101, 102, 100, 103}));
    rs.setSort(QStringLiteral("順位 DESC"));
    EXPECT_EQ(ids(rs), (QList<int> {103, 100, 102, 101}));
    rs.setSort(QStringLiteral("三 DESC"));
    EXPECT_EQ(ids(rs).first(), 102);
    EXPECT_THROW(rs.setSort(QStringLiteral("四百 DESC")), StoreError);
    EXPECT_THROW(rs.setSort(QStringLiteral("ID SIDEWAYS")), StoreError);
    EXPECT_THROW(rs.setSort(QStringLiteral("ID; DROP TABLE entry00")), StoreError);
    // A refused sort leaves the previous one in place.
    EXPECT_EQ(rs.sort(), QStringLiteral("三 DESC"));
}

TEST_F(RecordSetTest, FilterByRankAndClear)
{
    RecordSet rs(db, QStringLiteral("entry00"));
    rs.setFilter(QStringLiteral("順位 = 3"));
    ASSERT_EQ(rs.count(), 1);
    EXPECT_EQ(rs.intValue(QStringLiteral("ID")), 100);
    rs.setFilter(QStringLiteral("順位 = 9"));
    EXPECT_EQ(rs.count(), 0);
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.value(QStringLiteral("ID")), StoreError);
    rs.setFilter(QString());
    EXPECT_EQ(rs.count(), 4);
    EXPECT_THROW(rs.setFilter(QStringLiteral("順位 = x")), StoreError);
}

TEST_F(RecordSetTest, UpdateDeleteAndRequeryReachTheDatabase)
{
    RecordSet rs(db, QStringLiteral("entry00"));
    rs.setSort(QStringLiteral("ID ASC"));
    rs.moveTo(1);
    rs.setValue(QStringLiteral("合計"), 321);
    rs.update();
    rs.moveTo(2);
    rs.remove();
    EXPECT_EQ(rs.count(), 3);

    RecordSet again(db, QStringLiteral("entry00"));
    again.setSort(QStringLiteral("ID ASC"));
    EXPECT_EQ(ids(again), (QList<int> {100, 101, 103}));
    again.moveTo(1);
    EXPECT_EQ(again.intValue(QStringLiteral("合計")), 321);
    EXPECT_EQ(again.textValue(QStringLiteral("しこな")), QStringLiteral("参加者101"));
    EXPECT_EQ(db.rowCount(QStringLiteral("entry00")), 3);
}

TEST_F(RecordSetTest, TransactionRollsBackWhenNotCommitted)
{
    {
        Transaction tx(db);
        db.deleteAll(QStringLiteral("entry00"));
        EXPECT_EQ(db.rowCount(QStringLiteral("entry00")), 0);
    }
    EXPECT_EQ(db.rowCount(QStringLiteral("entry00")), 4);
    {
        Transaction outer(db);
        {
            Transaction inner(db);
            db.deleteAll(QStringLiteral("PRIZE"));
            inner.commit(); // joins the outer one
        }
        db.deleteAll(QStringLiteral("entry00"));
        outer.commit();
    }
    EXPECT_EQ(db.rowCount(QStringLiteral("entry00")), 0);
}

TEST(DatabaseSchema, BothTablesWithTheirColumns)
{
    QTemporaryDir dir;
    Database db;
    db.open(dir.path() + QStringLiteral("/kch.kch"));
    EXPECT_FALSE(db.wasComplete());
    EXPECT_EQ(Database::entryColumns().size(), 33);
    EXPECT_EQ(Database::entryColumns().at(17), QStringLiteral("合計"));
    EXPECT_EQ(Database::entryColumns().at(18), QStringLiteral("順位"));
    EXPECT_EQ(Database::entryColumns().at(29), QStringLiteral("予備力士"));
    EXPECT_EQ(Database::entryColumns().at(32), QStringLiteral("シコ"));
    const QStringList tables = db.connection().tables();
    EXPECT_TRUE(tables.contains(QStringLiteral("entry00")));
    EXPECT_TRUE(tables.contains(QStringLiteral("PRIZE")));
    db.close();
    Database reopened;
    reopened.open(dir.path() + QStringLiteral("/kch.kch"));
    EXPECT_TRUE(reopened.wasComplete());
}
