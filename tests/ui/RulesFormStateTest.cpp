#include "Golden.h"
#include "RulesTestSupport.h"

#include "store/RecordSet.h"
#include "ui/RulesFormState.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace kc;
using namespace kc::test;
using namespace kc::ui;

namespace {

class RulesFormTest : public ::testing::Test
{
protected:
    void SetUp() override { c = &tc.open(); }
    TempContest tc;
    Contest *c = nullptr;
};

// The whole form as it opens, field by field, for a contest with the input's
// participants (none: every rank is above the count, so every row is off).
TEST(RulesFormGolden, FormOpensAsItsGoldenFile)
{
    for (const char *name : {"fresh-contest", "forty-participants"}) {
        const GoldenCase gc(QStringLiteral("rules-form"), QString::fromLatin1(name));
        TempContest tc;
        Contest &c = tc.open();
        if (const int n = gc.number(QStringLiteral("participants")))
            registerParticipants(c, n);
        const RulesForm f = loadRulesForm(c);
        gc.expect(QStringLiteral("form.txt"), fieldLines(fieldsOf(f)));
        EXPECT_EQ(f.unitLabel(), u"点");
        EXPECT_EQ(c.rules().prizePoints[8], 3000); // a waiting row keeps the organiser's switch
    }
}

// The count and the points boxes in one line, a closed box in brackets.
QString slotBoxes(const RulesForm &f)
{
    QStringList boxes {f.pickCount + u':'};
    for (int i = 0; i < kMaxPicks; ++i)
        boxes << (f.slotActive[i] ? f.slotPoints[i] : u'[' + f.slotPoints[i] + u']');
    return boxes.join(u' ');
}

TEST_F(RulesFormTest, PickCountEnterRestoresOrFills)
{
    RulesForm f = loadRulesForm(*c);
    f.pickCount = QStringLiteral("12"); // out of range: the stored count comes back
    setPickCount(f);
    EXPECT_EQ(slotBoxes(f), u"7: 7 6 5 4 3 2 1 [] [] []");
    f.pickCount = QStringLiteral("3"); // boxes 4..10 keep their old numbers, closed
    setPickCount(f);
    EXPECT_EQ(slotBoxes(f), u"3: 3 2 1 [4] [3] [2] [1] [] [] []");
    EXPECT_EQ(nextSlotBox(f, 0), 1);
    EXPECT_EQ(nextSlotBox(f, 2), 0);
    f.pickCount = QStringLiteral("10");
    setPickCount(f);
    EXPECT_EQ(slotBoxes(f), u"10: 10 9 8 7 6 5 4 3 2 1");
    EXPECT_EQ(nextSlotBox(f, 9), 0);

    // Typed without Enter: the focus still cycles among the boxes that exist.
    f.pickCount = QStringLiteral("0");
    EXPECT_EQ(nextSlotBox(f, 4), 0);
    f.pickCount = QStringLiteral("25");
    EXPECT_EQ(nextSlotBox(f, 9), 0);
}

TEST_F(RulesFormTest, SavedRulesReopenAsStored)
{
    RulesForm f = loadRulesForm(*c);
    f.streakOn = false; // txRwin keeps 4
    f.goldStar = QStringLiteral("0");
    f.silverStar = QStringLiteral("abc");
    f.simpleBonus = false;
    f.includeTopRanks = true;
    f.useReserve = false;
    f.streakBonus = QString();
    f.slotPoints[0] = QStringLiteral("2.5"); // rounds half to even
    f.slotPoints[1] = QStringLiteral("3.5");
    RulesRecord expected = c->rules();
    ASSERT_TRUE(saveRules(*c, settingsOf(f)).done());
    expected.streakMin = -4;
    expected.goldStarBonus = expected.silverStarBonus = expected.bonusType = 0;
    expected.includeTopRanks = 1;
    expected.useReserve = expected.streakBonus = 0;
    expected.slotPoints[0] = 2;
    expected.slotPoints[1] = 4;
    expected.prizeExtra = 0; // the defaults carry 1000
    EXPECT_FIELDS_EQ(c->rules(), expected);
    EXPECT_EQ(storedRules(tc).encode(), c->rules().encode());

    tc.close();
    c = &tc.open();
    const RulesForm g = loadRulesForm(*c);
    EXPECT_FALSE(g.streakOn);
    EXPECT_EQ(g.streakMin, u"4");
    EXPECT_EQ(g.goldStar, u"");
    EXPECT_EQ(g.silverStar, u"");
    EXPECT_EQ(g.streakBonus, u"");
    EXPECT_FALSE(g.simpleBonus);
    EXPECT_EQ(g.unitLabel(), u"倍");
}

TEST_F(RulesFormTest, StreakZeroReopensEmptyAndOff)
{
    RulesForm f = loadRulesForm(*c);
    f.streakOn = true;
    f.streakMin = QString();
    ASSERT_TRUE(saveRules(*c, settingsOf(f)).done());
    EXPECT_EQ(storedRules(tc).streakMin, 0);
    const RulesForm g = loadRulesForm(*c);
    EXPECT_FALSE(g.streakOn);
    EXPECT_EQ(g.streakMin, u"");
}

TEST_F(RulesFormTest, SavingZeroPicksIsAccepted)
{
    RulesForm f = loadRulesForm(*c);
    f.pickCount = QStringLiteral("0");
    const ActionResult res = saveRules(*c, settingsOf(f));
    EXPECT_TRUE(res.done());
    EXPECT_EQ(storedRules(tc).pickCount, 0);
    EXPECT_TRUE(tc.prompter.messages.isEmpty());
    const RulesForm g = loadRulesForm(*c);
    for (bool active : g.slotActive)
        EXPECT_FALSE(active);
}

TEST_F(RulesFormTest, PickCountOutOfRangeRefusesTheSave)
{
    const QByteArray before = readBytes(tc.dataFile(QStringLiteral("Credit.Dat")));
    const RulesRecord inMemory = c->rules();
    for (const char16_t *text : {u"11", u"-1", u"99999"}) {
        RulesForm f = loadRulesForm(*c);
        f.pickCount = QString::fromUtf16(text);
        f.goldStar = QStringLiteral("3");
        const ActionResult res = saveRules(*c, settingsOf(f));
        EXPECT_EQ(res.outcome, Outcome::Refused);
        EXPECT_EQ(res.message, u"選択力士の数が範囲外です。");
    }
    EXPECT_EQ(tc.prompter.messages.size(), 3);
    EXPECT_EQ(tc.prompter.messages.last(), u"選択力士の数が範囲外です。");
    EXPECT_EQ(readBytes(tc.dataFile(QStringLiteral("Credit.Dat"))), before);
    // Loading flips the signs of the prize rows in memory; the rule fields are untouched.
    EXPECT_EQ(c->rules().goldStarBonus, inMemory.goldStarBonus);
    EXPECT_EQ(c->rules().pickCount, inMemory.pickCount);
}

TEST_F(RulesFormTest, NumberTooLargeForItsFieldIsRefused)
{
    const QByteArray before = readBytes(tc.dataFile(QStringLiteral("Credit.Dat")));
    RulesForm f = loadRulesForm(*c);
    f.goldStar = QStringLiteral("40000");
    const ActionResult res = saveRules(*c, settingsOf(f));
    EXPECT_EQ(res.outcome, Outcome::Refused);
    EXPECT_EQ(res.message, u"金星 の数値「40000」が大きすぎます。");
    EXPECT_EQ(readBytes(tc.dataFile(QStringLiteral("Credit.Dat"))), before);
}

TEST_F(RulesFormTest, TieOptionReachesTheContestAtTheSave)
{
    RulesForm f = loadRulesForm(*c);
    selectTieRule(f, true);
    EXPECT_EQ(c->rules().tieRule, 0);
    EXPECT_EQ(storedRules(tc).tieRule, 0); // not saved until 登録
    selectBonusType(f, false);
    EXPECT_EQ(f.unitLabel(), u"倍");
    ASSERT_TRUE(saveRules(*c, settingsOf(f)).done());
    EXPECT_EQ(storedRules(tc).tieRule, 1);
    EXPECT_EQ(storedRules(tc).bonusType, 0);
}

TEST_F(RulesFormTest, DecideRulesAsksThenFixesThePhase)
{
    RulesForm f = loadRulesForm(*c);
    tc.prompter.answers = {false};
    EXPECT_EQ(decideRules(*c, settingsOf(f)).outcome, Outcome::AnsweredNo);
    EXPECT_EQ(c->rules().flag, 0);
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Entry.Dat"))));
    ASSERT_EQ(tc.prompter.questions.size(), 1);
    EXPECT_EQ(tc.prompter.questions[0],
              u"ルール決定後の変更はできなくなります。（賞位の設定を除く）\r\n"
              u"また、力士の名称変更もできなくなります　\r\n"
              u"よろしいですか。");
    EXPECT_EQ(tc.prompter.lastQuestion.icon, Icon::Question);
    EXPECT_TRUE(tc.prompter.lastQuestion.title.isEmpty());

    f.pickCount = QStringLiteral("5");
    setPickCount(f);
    EXPECT_TRUE(decideRules(*c, settingsOf(f)).done());
    EXPECT_EQ(c->rules().flag, 1);
    const RulesRecord r = storedRules(tc);
    EXPECT_EQ(r.flag, 1);
    EXPECT_EQ(r.pickCount, 5);
    EXPECT_EQ(r.slotPoints[0], 5);
    // Element 0 is written as record 1 with the slot value 42, without a participant.
    EXPECT_EQ(readBytes(tc.dataFile(QStringLiteral("Entry.Dat"))).size(), EntryRecord::Size);
    EntryRecord placeholder = EntryRecord::cleared();
    placeholder.picks[0] = 42;
    EXPECT_EQ(storedEntry(tc, 1), placeholder);
    EXPECT_TRUE(c->entries().empty());

    // Once decided, ルール決定 does nothing and asks nothing.
    EXPECT_EQ(decideRules(*c, settingsOf(loadRulesForm(*c))).outcome, Outcome::NotApplicable);
    EXPECT_EQ(tc.prompter.questions.size(), 2);

    // The placeholder is not taken for a participant at the next start.
    tc.close();
    c = &tc.open();
    EXPECT_EQ(c->participantCount(), 0);
    EXPECT_TRUE(loadRulesForm(*c).rulesLocked);
}

TEST_F(RulesFormTest, RefusedSaveStopsDecideRules)
{
    const QByteArray before = readBytes(tc.dataFile(QStringLiteral("Credit.Dat")));
    RulesForm f = loadRulesForm(*c);
    f.pickCount = QStringLiteral("11");
    const ActionResult res = decideRules(*c, settingsOf(f));
    EXPECT_EQ(res.outcome, Outcome::Refused);
    EXPECT_EQ(tc.prompter.messages, QStringList {QStringLiteral("選択力士の数が範囲外です。")});
    EXPECT_EQ(c->rules().flag, 0);
    EXPECT_EQ(readBytes(tc.dataFile(QStringLiteral("Credit.Dat"))), before);
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Entry.Dat"))));
}

TEST_F(RulesFormTest, DecideRulesLeavesARegisteredParticipantsPicks)
{
    registerParticipants(*c, 2, 0); // phase put back to 0 by the maintenance menu
    const EntryRecord first = c->entries()[0];
    EXPECT_TRUE(decideRules(*c, settingsOf(loadRulesForm(*c))).done());
    EXPECT_EQ(c->entries()[0], first);
    EXPECT_EQ(storedEntry(tc, 1), first);
    EXPECT_EQ(storedEntry(tc, 2), c->entries()[1]);
}

TEST_F(RulesFormTest, LocksAndTheOpeningTabFollowThePhase)
{
    // Flag, participants, opening; rules locked, prizes locked, opens on the prize tab.
    const struct
    {
        int flag, participants;
        RulesOpening opening;
        std::tuple<bool, bool, bool> expected;
    } rows[] {
        {0, 0, RulesOpening::Normal, {false, false, false}},
        {1, 0, RulesOpening::Normal, {true, false, false}},
        {5, 0, RulesOpening::Normal, {true, false, true}},
        {10, 0, RulesOpening::Normal, {true, true, false}},
        // The maintenance opening comes up as in phase 0.
        {10, 0, RulesOpening::RuleChange, {false, false, false}},
        {11, 40, RulesOpening::Normal, {true, true, false}},
    };
    for (const auto &row : rows) {
        if (row.participants)
            registerParticipants(*c, row.participants, row.flag);
        c->rules().flag = qint16(row.flag);
        const RulesForm f = loadRulesForm(*c, row.opening);
        EXPECT_EQ(std::tuple(f.rulesLocked, f.prizesLocked, f.openOnPrizeTab), row.expected)
            << "Flag " << row.flag;
    }
}

} // namespace
