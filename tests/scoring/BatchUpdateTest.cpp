#include "ScoringFixture.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

// The tally's passes write the entry table through RecordSet::updateAll.
TEST(BatchUpdate, WritesRowsWithDifferentChangedColumnsAndKeepsTheRest)
{
    TempContest tc;
    Contest &c = tc.open();
    prepareCompetition(c, 2, false);
    installEntries(c,
                   {makeEntry(QStringLiteral("甲"), {11, 12}),
                    makeEntry(QStringLiteral("乙"), {13, 14}),
                    makeEntry(QStringLiteral("丙"), {15, 16})});
    RecordSet &rs = c.entryTable();
    rs.setSort(QStringLiteral("ID ASC"));
    rs.moveTo(0);
    rs.setValue(QStringLiteral("合計"), 7);
    rs.moveTo(2);
    rs.setValue(QStringLiteral("順位"), 3);
    rs.setValue(QStringLiteral("しこな"), QStringLiteral("丙改"));
    rs.updateAll();

    RecordSet fresh(c.database(), QStringLiteral("entry00"));
    fresh.setSort(QStringLiteral("ID ASC"));
    fresh.moveTo(0);
    EXPECT_EQ(fresh.intValue(QStringLiteral("合計")), 7);
    EXPECT_EQ(fresh.textValue(QStringLiteral("しこな")), QStringLiteral("甲"));
    fresh.moveTo(1);
    EXPECT_EQ(fresh.intValue(QStringLiteral("合計")), 0);
    EXPECT_EQ(fresh.textValue(QStringLiteral("しこな")), QStringLiteral("乙"));
    fresh.moveTo(2);
    EXPECT_EQ(fresh.intValue(QStringLiteral("順位")), 3);
    EXPECT_EQ(fresh.textValue(QStringLiteral("しこな")), QStringLiteral("丙改"));
    EXPECT_EQ(fresh.intValue(QStringLiteral("合計")), 0);

    // Nothing changed since: a second call writes nothing and keeps the values.
    rs.updateAll();
    fresh.requery();
    fresh.moveTo(0);
    EXPECT_EQ(fresh.intValue(QStringLiteral("合計")), 7);

    // Inside a transaction that is rolled back, the batch is undone with it.
    {
        Transaction tx(c.database());
        rs.moveTo(1);
        rs.setValue(QStringLiteral("合計"), 99);
        rs.updateAll();
    }
    fresh.requery();
    fresh.moveTo(1);
    EXPECT_EQ(fresh.intValue(QStringLiteral("合計")), 0);
}

} // namespace
