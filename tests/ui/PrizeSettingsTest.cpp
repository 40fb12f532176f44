#include "RulesTestSupport.h"

#include "store/RecordSet.h"
#include "ui/RulesFormState.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;
using namespace kc::ui;

namespace {

class PrizeSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        c = &tc.open();
        registerParticipants(*c, 40);
    }
    TempContest tc;
    Contest *c = nullptr;
};

TEST_F(PrizeSettingsTest, RowAboveTheParticipantCountCannotBeSwitchedOn)
{
    RulesForm f = loadRulesForm(*c);
    setPrizeChecked(f, 8, true); // ５０位
    EXPECT_FALSE(f.prizes[8].on);
    EXPECT_EQ(f.prizeTotal, u"90,000");
    // A row with no rank stays off too.
    setPrizeChecked(f, 12, true);
    EXPECT_FALSE(f.prizes[12].on);
    setPrizeChecked(f, 7, false);
    EXPECT_FALSE(f.prizes[7].on);
    EXPECT_EQ(c->rules().prizePoints[7], 3000); // the contest changes only at 登録
    EXPECT_EQ(f.prizeTotal, u"87,000");
    EXPECT_EQ(f.perParticipant, u"2,175");
}

TEST_F(PrizeSettingsTest, TypedPointsCountOnlyWhileTheRowIsOn)
{
    RulesForm f = loadRulesForm(*c);
    f.prizes[1].points = QStringLiteral("20000");
    EXPECT_EQ(setPrizePoints(f, 1), 2);
    EXPECT_TRUE(f.prizes[1].on);
    EXPECT_EQ(f.prizeTotal, u"92,000");
    EXPECT_EQ(c->rules().prizePoints[1], 18000); // stored only by a save

    // Switching the row off refills its box from the stored value.
    setPrizeChecked(f, 1, false);
    EXPECT_EQ(f.prizes[1].points, u"18000");
    EXPECT_EQ(f.prizeTotal, u"72,000");

    // 0 typed switches a row off; the last row's Enter goes back to row 0.
    f.prizes[2].points = QStringLiteral("0");
    setPrizePoints(f, 2);
    EXPECT_FALSE(f.prizes[2].on);
    EXPECT_EQ(f.prizes[2].points, u"0");
    EXPECT_EQ(setPrizePoints(f, 21), 0);

    // A typed value not yet entered is counted by 再計算 only for a row that is on.
    f.prizes[0].points = QStringLiteral("31000");
    f.prizes[9].points = QStringLiteral("99999");
    const bool shade = f.darkShade;
    recalculate(f);
    EXPECT_NE(f.darkShade, shade);
    EXPECT_EQ(f.prizeTotal, u"63,000");
    recalculate(f);
    EXPECT_EQ(f.darkShade, shade);
}

TEST_F(PrizeSettingsTest, DayPrizesSwitchAndEnter)
{
    RulesForm f = loadRulesForm(*c);
    setDayPrizeChecked(f, 1, true);
    EXPECT_EQ(f.stored.dayPrizePoints[1], 2000);
    EXPECT_EQ(c->rules().dayPrizePoints[1], -2000); // the contest changes only at 登録
    EXPECT_EQ(f.prizeTotal, u"92,000");
    f.dayPrizes[2].points = QStringLiteral("1500");
    EXPECT_EQ(setDayPrizePoints(f, 2), 3);
    EXPECT_EQ(f.stored.dayPrizePoints[2], -1500); // off: kept negative
    EXPECT_EQ(setDayPrizePoints(f, 15), 0);
    f.dayPrizes[6].points = QStringLiteral("0"); // 0 leaves the stored value
    setDayPrizePoints(f, 6);
    EXPECT_EQ(f.stored.dayPrizePoints[6], 2000);
    EXPECT_EQ(f.prizeTotal, u"90,000");
}

TEST_F(PrizeSettingsTest, PrizeSaveStoresSignsNamesAndRanks)
{
    RulesForm f = loadRulesForm(*c);
    f.prizes[3].name = QStringLiteral("とても長い名前の賞位です（二十バイト超）");
    f.prizes[3].rank = QStringLiteral("6");
    f.prizes[4].on = false;
    f.dayPrizes[15].on = true;
    RulesRecord expected = c->rules();
    ASSERT_TRUE(saveRules(*c, settingsOf(f)).done());
    expected.prizeRanks[3] = 6;
    expected.prizeNames[3] = QStringLiteral("とても長い名前の賞位");
    expected.prizePoints[4] = -3000;
    expected.dayPrizePoints[15] = 2000;
    expected.prizeExtra = 0; // the defaults carry 1000
    // Row 8 waits for the field, not switched off; day 1 stays off.
    ASSERT_EQ(expected.prizePoints[8], 3000);
    ASSERT_EQ(expected.dayPrizePoints[1], -2000);
    EXPECT_FIELDS_EQ(c->rules(), expected);
    EXPECT_EQ(storedRules(tc).encode(), c->rules().encode());
}

TEST_F(PrizeSettingsTest, DecidePrizesRefusals)
{
    const QByteArray credit = readBytes(tc.dataFile(QStringLiteral("Credit.Dat")));
    RulesForm f = loadRulesForm(*c);
    f.prizes[2].rank = QStringLiteral("150");
    ActionResult res = decidePrizes(*c, settingsOf(f));
    EXPECT_EQ(res.outcome, Outcome::Refused);
    EXPECT_EQ(res.message,
              u"設定された150位は、参加人数(40)を上回っています。賞位の決定はできません");

    c->rules().flag = 1;
    res = decidePrizes(*c, settingsOf(loadRulesForm(*c)));
    EXPECT_EQ(res.message, u"参加者数が確定していません。");

    c->rules().flag = 5;
    c->rules().rulesStart = 1;
    res = decidePrizes(*c, settingsOf(loadRulesForm(*c)));
    EXPECT_EQ(res.message, u"決定済みです");
    EXPECT_EQ(tc.prompter.messages.size(), 3);
    EXPECT_TRUE(tc.prompter.questions.isEmpty());
    EXPECT_EQ(readBytes(tc.dataFile(QStringLiteral("Credit.Dat"))), credit);
    EXPECT_EQ(c->database().rowCount(QStringLiteral("PRIZE")), 0);
}

TEST_F(PrizeSettingsTest, RefusedSaveStopsDecidePrizes)
{
    const QByteArray credit = readBytes(tc.dataFile(QStringLiteral("Credit.Dat")));
    const QByteArray entries = readBytes(tc.dataFile(QStringLiteral("Entry.Dat")));
    RulesForm f = loadRulesForm(*c);
    f.pickCount = QStringLiteral("11");
    const ActionResult res = decidePrizes(*c, settingsOf(f));
    EXPECT_EQ(res.outcome, Outcome::Refused);
    EXPECT_EQ(res.message, u"選択力士の数が範囲外です。");
    EXPECT_EQ(c->rules().flag, 5);
    EXPECT_EQ(c->rules().rulesStart, 0);
    EXPECT_EQ(readBytes(tc.dataFile(QStringLiteral("Credit.Dat"))), credit);
    EXPECT_EQ(readBytes(tc.dataFile(QStringLiteral("Entry.Dat"))), entries);
    EXPECT_EQ(c->database().rowCount(QStringLiteral("PRIZE")), 0);
}

TEST_F(PrizeSettingsTest, DecidePrizesBuildsTheTableInOrder)
{
    RulesForm f = loadRulesForm(*c);
    tc.prompter.answers = {false};
    EXPECT_EQ(decidePrizes(*c, settingsOf(f)).outcome, Outcome::AnsweredNo);
    EXPECT_EQ(tc.prompter.questions.last(),
              u"決定以後の変更はできなくなります。\r\nよろしいですか。");
    EXPECT_EQ(c->rules().rulesStart, 0);

    c->rules().currentDay = 0;
    f.prizes[4].rank = QStringLiteral("12"); // １０位 now given to rank 12
    f.dayPrizes[15].on = true;
    ASSERT_TRUE(decidePrizes(*c, settingsOf(f)).done());
    EXPECT_EQ(c->rules().rulesStart, 1);
    EXPECT_EQ(c->rules().flag, 10);
    const RulesRecord r = storedRules(tc);
    EXPECT_EQ(r.rulesStart, 1);
    EXPECT_EQ(r.flag, 10);
    EXPECT_EQ(r.prizeRanks[4], 12);
    EXPECT_EQ(storedEntry(tc, 1), c->entries()[0]);

    RecordSet prize(c->database(), QStringLiteral("PRIZE"));
    prize.setSort(QStringLiteral("表示順 ASC"));
    QStringList names;
    QList<int> orders, points;
    for (prize.moveFirst(); !prize.eof(); prize.moveNext()) {
        names << prize.textValue(QStringLiteral("賞位"));
        orders << prize.intValue(QStringLiteral("表示順"));
        points << prize.intValue(QStringLiteral("ポイント"));
        EXPECT_EQ(prize.textValue(QStringLiteral("しこな")), u" ");
        EXPECT_EQ(prize.intValue(QStringLiteral("ID")), 0);
        EXPECT_EQ(prize.intValue(QStringLiteral("得点")), 0);
    }
    const QStringList expectedNames {
        QStringLiteral("優勝"),      QStringLiteral("準優勝"),    QStringLiteral("３位"),
        QStringLiteral("５位"),      QStringLiteral("１０位"),    QStringLiteral("１５位"),
        QStringLiteral("２０位"),    QStringLiteral("３０位"),    QStringLiteral("中日累計賞"),
        QStringLiteral("六日目 賞"), QStringLiteral("七日目 賞"), QStringLiteral("中日 賞"),
        QStringLiteral("九日目 賞"), QStringLiteral("十日目 賞"), QStringLiteral("千秋楽 賞")};
    EXPECT_EQ(names, expectedNames);
    EXPECT_EQ(orders,
              (QList<int> {1, 2, 3, 5, 12, 15, 20, 30, 1000000, 1000006, 1000007, 1000008, 1000009,
                           1000010, 1000015}));
    EXPECT_EQ(points.first(), 30000);
    EXPECT_EQ(points.last(), 2000);

    // Decided once only.
    EXPECT_EQ(decidePrizes(*c, settingsOf(loadRulesForm(*c))).message, u"決定済みです");
}

TEST_F(PrizeSettingsTest, RankPrizeZeroIsListedEvenWithoutPoints)
{
    RulesForm f = loadRulesForm(*c);
    f.prizes[0].points = QStringLiteral("0");
    ASSERT_TRUE(decidePrizes(*c, settingsOf(f)).done());
    RecordSet prize(c->database(), QStringLiteral("PRIZE"));
    prize.moveFirst();
    EXPECT_EQ(prize.textValue(QStringLiteral("賞位")), u"優勝");
    EXPECT_EQ(prize.intValue(QStringLiteral("ポイント")), 0);
}

} // namespace
