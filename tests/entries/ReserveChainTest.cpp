#include "EntryTestSupport.h"
#include "entries/EntryStore.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

std::array<qint16, kMaxPicks> picksOf(std::initializer_list<int> numbers)
{
    std::array<qint16, kMaxPicks> p;
    p.fill(kNoWrestler);
    int i = 0;
    for (int s : numbers)
        p[i++] = qint16(s);
    return p;
}

std::vector<int> asVector(const std::array<qint16, kMaxPicks> &a)
{
    return std::vector<int>(a.begin(), a.end());
}

class ReserveChainTest : public ::testing::Test
{
protected:
    void SetUp() override { roster.installDefault(); }
    Roster roster;
};

TEST_F(ReserveChainTest, SkipsThePicksBelowTheReserve)
{
    const auto chain = reserveChain(19, picksOf({20, 21}), roster);
    EXPECT_EQ(asVector(chain), (std::vector<int> {19, 22, 23, 24, 25, 26, 27, 28, 29, 30}));
}

TEST_F(ReserveChainTest, WrapsToTheFirstWrestlerBelowTheOzeki)
{
    ASSERT_EQ(roster.topRankCount(), 7);
    const auto chain = reserveChain(36, picksOf({20, 21, 22, 23, 24, 25, 26}), roster);
    EXPECT_EQ(asVector(chain), (std::vector<int> {36, 37, 38, 39, 7, 8, 9, 10, 11, 12}));
}

TEST_F(ReserveChainTest, WrappingSkipsPicksAndTheSecondPassCatchesWhatTheFirstMissed)
{
    // After a match the scan resumes at pick slot 1, so the pick in slot 0
    // (wrestler 8) is only seen by the second pass.
    const auto chain = reserveChain(36, picksOf({8, 7, 12, 13, 14, 15, 16}), roster);
    EXPECT_EQ(asVector(chain), (std::vector<int> {36, 37, 38, 39, 9, 10, 11, 17, 18, 19}));
}

TEST_F(ReserveChainTest, ARosterWithNothingLeftBelowTheOzekiStillEnds)
{
    roster.wrestlerCount = 9; // numbers 7 and 8 are the only ones below the ōzeki
    const auto chain = reserveChain(8, picksOf({1, 7, 8}), roster);
    EXPECT_EQ(chain[0], 8);
}

TEST(StoreEntryTest, CopiesTheFormAndBuildsTheChain)
{
    Roster roster;
    roster.installDefault();
    RulesRecord rules = RulesRecord::firstRunDefaults();
    EntryForm f = formWith(QStringLiteral("若葉山"),
                           {QStringLiteral("30"), QStringLiteral("31"), QStringLiteral("29"),
                            QStringLiteral("33"), QStringLiteral("34"), QStringLiteral("35"),
                            QStringLiteral("36")},
                           QStringLiteral("29"));
    f.reserve = QStringLiteral("28");
    f.furigana = QStringLiteral("ﾜｶﾊﾞﾔﾏ");
    f.memberName = QStringLiteral("山田太郎");
    f.mail = QStringLiteral("taro@example.jp");
    const EntryRecord e = storeEntry(f, rules, roster);
    EXPECT_EQ(e.shikona, QStringLiteral("若葉山"));
    EXPECT_EQ(e.memberName, QStringLiteral("山田太郎"));
    EXPECT_EQ(asVector(e.picks), (std::vector<int> {20, 21, 19, 23, 24, 25, 26, 43, 43, 43}));
    EXPECT_EQ(e.enteredPicks, e.picks);
    EXPECT_EQ(e.reserve, 18);
    EXPECT_EQ(asVector(e.reserveList), (std::vector<int> {18, 22, 27, 28, 29, 30, 31, 32, 33, 34}));

    rules.useReserve = 0;
    const EntryRecord noReserve = storeEntry(f, rules, roster);
    EXPECT_EQ(noReserve.reserve, kNoWrestler);
    EXPECT_EQ(asVector(noReserve.reserveList), std::vector<int>(10, kNoWrestler));
}

} // namespace
