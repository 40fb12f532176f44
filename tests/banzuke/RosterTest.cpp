#include "TestSupport.h"

#include "store/RecordFile.h"
#include "store/Roster.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

TEST(RowCounts, HalfTheGroupRoundedUp)
{
    const int expected[] = {0, 1, 1, 2, 2, 3, 3, 4};
    for (int n = 0; n < 8; ++n)
        EXPECT_EQ(rowsForCount(n), expected[n]) << n;
}

TEST(DefaultRoster, FortyWrestlersOfTheSeptember2002Banzuke)
{
    Roster r;
    r.installDefault();
    EXPECT_EQ(r.wrestlerCount, 40);
    EXPECT_EQ(r.bashoName, QStringLiteral("平成14年　九月"));
    EXPECT_EQ(r.bashoCode, QStringLiteral("0209"));
    EXPECT_EQ(r.countOfRank(Yokozuna), 2);
    EXPECT_EQ(r.countOfRank(Ozeki), 5);
    EXPECT_EQ(r.countOfRank(Sekiwake), 2);
    EXPECT_EQ(r.countOfRank(Komusubi), 2);
    EXPECT_EQ(r.countOfRank(Maegashira), 29);
    EXPECT_EQ(r.topRankCount(), 7);
    for (int s = 0; s < 40; ++s)
        EXPECT_FALSE(r.name(s).isEmpty()) << s;
    EXPECT_EQ(r.wrestlers[40].name, QStringLiteral(" "));
    EXPECT_EQ(r.name(kNoWrestler), QString());
}

TEST(BanzukeLayoutTest, DefaultRosterLaysOutInTwentyOneRows)
{
    Roster r;
    r.installDefault();
    const BanzukeLayout l = computeLayout(r);
    EXPECT_EQ(l.rows, 21);
    EXPECT_EQ(l.labels[0], QStringLiteral("横綱"));
    EXPECT_EQ(l.labels[1], QStringLiteral("大関"));
    EXPECT_EQ(l.labels[2], QString());
    EXPECT_EQ(l.labels[3], QString());
    EXPECT_EQ(l.labels[4], QStringLiteral("関脇"));
    EXPECT_EQ(l.labels[5], QStringLiteral("小結"));
    for (int m = 1; m <= 15; ++m)
        EXPECT_EQ(l.labels[5 + m], QStringLiteral("前%1").arg(m));
    // The third ōzeki row has only an east side.
    EXPECT_EQ(l.numbers[6], 16);
    EXPECT_EQ(l.numbers[7], 999);
    EXPECT_EQ(l.names[7], QString());
    EXPECT_EQ(l.numbers[8], 17); // first sekiwake starts a new row
    // 29 maegashira: the last row has only an east side.
    EXPECT_EQ(l.numbers[40], 49);
    EXPECT_EQ(l.numbers[41], 999);
    EXPECT_EQ(l.positionOfSlot(6), 6);
    EXPECT_EQ(l.positionOfSlot(39), 40);
}

TEST(BanzukeLayoutTest, NoYokozunaStartsWithOzekiAndOddGroupsLeaveWestEmpty)
{
    Roster r;
    r.installDefault();
    BanzukeRecord b;
    b.bashoName = QStringLiteral("テスト");
    b.wrestlerCount = 6;
    const qint16 ranks[] = {3, 2, 2, 2, 0, 0};
    for (int i = 0; i < 6; ++i) {
        b.names[i] = QStringLiteral("力士%1").arg(i);
        b.rankCodes[i] = ranks[i];
    }
    r.loadBanzuke(b);
    const BanzukeLayout l = computeLayout(r);
    EXPECT_EQ(l.labels[0], QStringLiteral("大関"));
    EXPECT_EQ(l.labels[1], QStringLiteral("関脇"));
    EXPECT_EQ(l.labels[2], QString());
    EXPECT_EQ(l.labels[3], QStringLiteral("前1"));
    EXPECT_EQ(l.rows, 4);
    EXPECT_EQ(l.numbers[0], 10);
    EXPECT_EQ(l.numbers[1], 999);
    EXPECT_EQ(l.numbers[2], 11);
    EXPECT_EQ(l.numbers[4], 13);
    EXPECT_EQ(l.numbers[5], 999);
    EXPECT_EQ(l.numbers[6], 14);
    EXPECT_EQ(l.numbers[7], 15);
}

TEST(RosterLoad, StoredBanzukeBlanksTheRemainingSlotsAndRenamesApply)
{
    TempContest t;
    {
        Contest &c = t.open();
        BanzukeRecord b = c.roster().toBanzuke();
        b.wrestlerCount = 30;
        recordfile::writeAll<BanzukeRecord>(c.files(), c.paths().banzuke,
                                            std::vector<BanzukeRecord> {b});
        const std::vector<RenameRecord> renames
            = {{QStringLiteral("武蔵丸"), QStringLiteral("武蔵丸")},
               {QStringLiteral("魁皇"), QStringLiteral("魁皇改")},
               {QString(), QString()},
               {QStringLiteral("栃東"), QStringLiteral("無効")}};
        recordfile::writeAll<RenameRecord>(c.files(), c.paths().rename, renames);
        t.close();
    }
    Contest &c = t.open();
    EXPECT_EQ(c.roster().wrestlerCount, 30);
    EXPECT_EQ(c.roster().wrestlers[30].name, QStringLiteral(" "));
    EXPECT_EQ(c.roster().wrestlers[30].rankCode, 0);
    EXPECT_EQ(c.roster().name(3), QStringLiteral("魁皇改"));
    EXPECT_EQ(c.roster().initialNames[3].trimmed(), QStringLiteral("魁皇"));
    // The list ends at its first empty entry.
    EXPECT_EQ(c.roster().name(4), QStringLiteral("栃東"));
}
