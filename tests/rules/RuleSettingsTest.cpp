#include "RulesTestSupport.h"

#include "rules/RuleSettings.h"
#include "store/Database.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

// Rules set before anyone registers, as the next-step button leads: the rank
// prizes come on as the field grows and are decided with the count at 賞位決定.
TEST(RuleSettings, RankPrizesSavedBeforeRegistrationComeOnWithTheField)
{
    TempContest tc;
    Contest &c = tc.open();
    const RuleSettings early = RuleSettings::of(c.rules(), c.participantCount());
    EXPECT_TRUE(early.prizes[1].on && early.prizes[1].waiting);
    ASSERT_TRUE(saveRules(c, early).done());

    registerParticipants(c, 7);
    const RuleSettings later = RuleSettings::of(c.rules(), c.participantCount());
    for (int i = 0; i <= 10; ++i)
        EXPECT_EQ(later.prizes[i].on && !later.prizes[i].waiting, i <= 3) << i;
    EXPECT_EQ(prizeTotal(later), 63000 + 15000);

    ASSERT_TRUE(decidePrizes(c, later).done());
    EXPECT_EQ(c.database().rowCount(QStringLiteral("PRIZE")), 4 + 6);
    EXPECT_GT(storedRules(tc).prizePoints[3], 0);
    EXPECT_LT(storedRules(tc).prizePoints[4], 0); // １０位 left out with 7 participants
}

TEST(RuleSettings, ValidateNamesTheFirstNumberThatDoesNotFit)
{
    TempContest tc;
    RuleSettings s = RuleSettings::of(tc.open().rules(), 0);
    EXPECT_TRUE(s.validate().isEmpty());
    s.silverStar = 70000;
    s.goldStar = 40000;
    EXPECT_EQ(s.validate(), QStringList {QStringLiteral("金星 の数値「40000」が大きすぎます。")});
    s.pickCount = 11;
    EXPECT_EQ(s.validate(), QStringList {QStringLiteral("選択力士の数が範囲外です。")});
}
