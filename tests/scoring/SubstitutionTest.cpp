#include "scoring/Substitution.h"
#include "EntryTestSupport.h"
#include "ScoringFixture.h"
#include "scoring/CompetitionStart.h"
#include "scoring/DayConfirmation.h"
#include "scoring/ProgressCounter.h"
#include "store/Database.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

using Queue = std::array<qint16, 10>;

TEST(ReserveList, WrapsFromTheLastWrestlerToTheFirstSekiwake)
{
    Roster roster;
    roster.installDefault(); // 40 wrestlers, 7 above sekiwake
    EntryRecord e = makeEntry(QStringLiteral("甲"), {7, 9, 30}, 39);
    buildReserveList(e, roster, true);
    EXPECT_EQ(e.reserveList, (Queue {39, 8, 10, 11, 12, 13, 14, 15, 16, 17}));

    e = makeEntry(QStringLiteral("乙"), {21, 22, 25}, 20);
    buildReserveList(e, roster, true);
    EXPECT_EQ(e.reserveList, (Queue {20, 23, 24, 26, 27, 28, 29, 30, 31, 32}));

    buildReserveList(e, roster, false);
    EXPECT_EQ(e.reserveList, (Queue {43, 43, 43, 43, 43, 43, 43, 43, 43, 43}));

    // No reserve chosen: no candidates past the banzuke.
    e = makeEntry(QStringLiteral("丙"), {21}, kNoWrestler);
    buildReserveList(e, roster, true);
    EXPECT_EQ(e.reserveList, (Queue {43, 43, 43, 43, 43, 43, 43, 43, 43, 43}));
}

// The queue rule alone, without a contest: slots beyond the pick count are
// left alone, and an absent candidate is skipped.
TEST(SubstituteRule, OnlyCountedSlotsTakeTheQueue)
{
    EntryRecord e = makeEntry(QStringLiteral("甲"), {11, 12, 13}, 20);
    e.reserveList = {20, 21, 22, 43, 43, 43, 43, 43, 43, 43};
    const auto out = substitute({e}, {12, 13, 20}, 2);
    EXPECT_EQ(out[0].picks[1], 21);
    EXPECT_EQ(out[0].picks[2], 13);
    EXPECT_EQ(out[0].reserveList, (Queue {22, 43, 43, 43, 43, 43, 43, 43, 43, 43}));
}

class Substitution : public ::testing::Test
{
protected:
    void start(bool useReserve, std::vector<EntryRecord> entries)
    {
        Contest &c = tc.open();
        prepareCompetition(c, 3, useReserve);
        installEntries(c, std::move(entries));
    }
    ConfirmOutcome confirm(int day, std::initializer_list<std::pair<int, int>> marks)
    {
        setMarks(c(), day, marks);
        return confirmDay(c(), day, random);
    }
    Contest &c() { return tc.contest(); }

    TempContest tc;
    ScriptedRandom random;
};

TEST_F(Substitution, CandidateAbsentTheSameDayIsSkipped)
{
    start(true, {makeEntry(QStringLiteral("甲"), {11, 12, 13}, 20)}); // queue 20, 21, 22 …
    ASSERT_EQ(confirm(2, {}), ConfirmOutcome::Refused); // day 1 first
    ASSERT_EQ(confirm(1, {{12, MarkAbsent}, {20, MarkAbsent}}), ConfirmOutcome::Confirmed);
    const EntryRecord &e = c().entries()[0];
    EXPECT_EQ(e.picks[1], 21);
    EXPECT_EQ(e.reserveList, (Queue {22, 23, 24, 25, 26, 27, 28, 29, 43, 43}));
    EXPECT_EQ(e.enteredPicks[1], 12);
    EXPECT_EQ(rowValue(c(), 100, QStringLiteral("力士2")).toString(), c().roster().name(21));
    EXPECT_EQ(c().rules().flag, 11);
    EXPECT_EQ(RulesRecord::decode(readBytes(tc.dataFile(QStringLiteral("Credit.Dat")))).flag, 11);

    // The absent wrestler scored nothing that day; the substitute scores from the next.
    EXPECT_EQ(e.dayPickPoints[1], 0);
    ASSERT_EQ(confirm(2, {{21, MarkWin}}), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c().entries()[0].dayPickPoints[10 + 1], 2);
}

TEST_F(Substitution, ReserveWithdrawingFirstLeavesTheQueue)
{
    start(true, {makeEntry(QStringLiteral("甲"), {11, 12, 13}, 20)});
    ASSERT_EQ(confirm(1, {{20, MarkAbsent}}), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c().entries()[0].picks[0], 11);
    EXPECT_EQ(c().entries()[0].reserveList[0], 21);
    ASSERT_EQ(confirm(2, {{13, MarkAbsent}}), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c().entries()[0].picks[2], 21);
}

TEST_F(Substitution, TwoSlotsTheSameDayTakeTheQueueInSlotOrder)
{
    start(true, {makeEntry(QStringLiteral("甲"), {13, 11, 12}, 20)});
    ASSERT_EQ(confirm(1, {{11, MarkAbsent}, {13, MarkAbsent}}), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c().entries()[0].picks[0], 20);
    EXPECT_EQ(c().entries()[0].picks[1], 21);
}

TEST_F(Substitution, TenSubstitutionsExhaustTheQueue)
{
    start(true, {makeEntry(QStringLiteral("甲"), {11, 12, 13}, 20)}); // queue 20..29
    // Slot 1's wrestler and each substitute withdraw in turn.
    int inSlot = 11;
    for (int d = 1; d <= 11; ++d) {
        ASSERT_EQ(confirm(d, {{inSlot, MarkAbsent}}), ConfirmOutcome::Confirmed) << d;
        inSlot = c().entries()[0].picks[0];
    }
    EXPECT_EQ(inSlot, kNoWrestler);
    EXPECT_EQ(rowValue(c(), 100, QStringLiteral("力士1")).toString(), QString());
    ASSERT_EQ(confirm(12, {{12, MarkAbsent}}), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c().entries()[0].picks[1], kNoWrestler);
    EXPECT_EQ(c().entries()[0].picks[2], 13);
}

TEST_F(Substitution, WithoutReserveNoSlotChanges)
{
    start(false, {makeEntry(QStringLiteral("甲"), {11, 12, 13})});
    ASSERT_EQ(confirm(1, {{11, MarkAbsent}}), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c().entries()[0].picks[0], 11);
    EXPECT_EQ(c().rules().flag, 10);
    EXPECT_EQ(c().roster().wrestlers[11].dayResult[1], MarkAbsentLater);
    // Returning: with UseReserve 0 his marks can be changed again and he scores.
    EXPECT_EQ(confirm(2, {{11, MarkWin}}), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c().entries()[0].dayTotal[1], 3);
}

// 予備力士 shows the reserve as registered through a substitution, a rebuild
// of the table at start-up and 取組結果の変更.
TEST_F(Substitution, ReserveColumnKeepsTheRegisteredReserve)
{
    start(true,
          {makeEntry(QStringLiteral("甲"), {11, 12, 13}, 20),
           makeEntry(QStringLiteral("乙"), {14, 15, 16}, 25)});
    const QString reserve = c().roster().name(20);
    const auto column
        = [&] { return rowValue(c(), 100, QStringLiteral("予備力士")).toString().trimmed(); };
    ASSERT_EQ(confirm(1, {{12, MarkAbsent}}), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c().entries()[0].reserveList[0], 21); // the queue moved on
    EXPECT_EQ(column(), reserve);

    tc.close();
    {
        Database db; // the table loses a row: the next start rebuilds it
        db.open(tc.dataFile(QStringLiteral("kch.kch")));
        db.exec(QStringLiteral("DELETE FROM entry00 WHERE \"ID\" = 101"));
    }
    tc.open();
    EXPECT_EQ(column(), reserve);
    tc.prompter.answers = {true};
    ASSERT_EQ(restartCompetition(c()), PhaseOutcome::Done);
    EXPECT_EQ(column(), reserve);
    expectMirror(c());
}

} // namespace
