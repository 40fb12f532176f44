#include "scoring/Tally.h"
#include "ScoringFixture.h"
#include "scoring/DayConfirmation.h"
#include "scoring/ProgressCounter.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

// Scoring of one entry, straight from the marks.
class Scoring : public ::testing::Test
{
protected:
    void SetUp() override
    {
        roster.installDefault();
        rules = RulesRecord::firstRunDefaults();
        rules.pickCount = 3;
        rules.slotPoints = {5, 4, 3, 0, 0, 0, 0, 0, 0, 0};
        rules.streakMin = -4;
        entry = makeEntry(QStringLiteral("甲"), {20, 21, kNoWrestler});
    }
    void mark(int w, int day, int m) { roster.wrestlers[w].dayResult[day - 1] = qint16(m); }
    int slotPoints(int day, int slot) const { return entry.dayPickPoints[10 * (day - 1) + slot]; }

    Roster roster;
    RulesRecord rules;
    EntryRecord entry;
};

TEST_F(Scoring, LossesAbsencesAndEmptySlotsScoreNothing)
{
    for (int m : {MarkLoss, MarkAbsent, MarkAbsentConfirmed, MarkAbsentLater}) {
        mark(20, 1, m);
        mark(21, 1, m);
        mark(kNoWrestler, 1, MarkWin); // the empty slot never scores
        scoreEntryDay(entry, rules, roster, 1);
        EXPECT_EQ(entry.dayTotal[0], 0) << m;
        EXPECT_EQ(entry.dayWins[0], 0) << m;
        EXPECT_EQ(slotPoints(1, 0), 0) << m;
        EXPECT_EQ(slotPoints(1, 2), 0) << m;
    }
}

TEST_F(Scoring, MultiplierStars)
{
    rules.bonusType = 0;
    mark(20, 1, MarkGold);
    for (const auto &[g, expected] : {std::pair {3, 15}, {1, 5}, {0, 0}}) {
        rules.goldStarBonus = qint16(g);
        scoreEntryDay(entry, rules, roster, 1);
        EXPECT_EQ(slotPoints(1, 0), expected) << g;
        EXPECT_EQ(entry.dayTotal[0], expected) << g;
        EXPECT_EQ(entry.dayGoldBonus[0], expected - 5) << g;
        EXPECT_EQ(entry.dayWins[0], 1);
    }
    rules.silverStarBonus = 2;
    mark(21, 1, MarkSilver);
    scoreEntryDay(entry, rules, roster, 1);
    EXPECT_EQ(entry.daySilverBonus[0], 4);
    EXPECT_EQ(slotPoints(1, 1), 8);
}

TEST_F(Scoring, FixedStars)
{
    rules.bonusType = 1;
    rules.silverStarBonus = 5;
    rules.goldStarBonus = 10;
    mark(21, 1, MarkSilver); // slot worth 4
    mark(20, 1, MarkGold); // slot worth 5
    scoreEntryDay(entry, rules, roster, 1);
    EXPECT_EQ(slotPoints(1, 1), 9);
    EXPECT_EQ(slotPoints(1, 0), 15);
    EXPECT_EQ(entry.daySilverBonus[0], 5);
    EXPECT_EQ(entry.dayGoldBonus[0], 10);
    EXPECT_EQ(entry.dayTotal[0], 24);
}

TEST_F(Scoring, StreakFromTheRoster)
{
    rules.streakMin = 3;
    rules.streakBonus = 2;
    auto bonusDays = [&] {
        std::vector<int> days;
        for (int d = 1; d <= 9; ++d) {
            scoreEntryDay(entry, rules, roster, d);
            if (entry.dayStreakBonus[d - 1] > 0)
                days.push_back(d);
        }
        return days;
    };
    for (int d = 1; d <= 5; ++d)
        mark(20, d, MarkWin);
    EXPECT_EQ(bonusDays(), (std::vector<int> {3, 4, 5}));
    EXPECT_EQ(slotPoints(3, 0), 7);

    for (int breaker : {int(MarkLoss), int(MarkAbsentConfirmed)}) {
        for (int d = 1; d <= 9; ++d)
            mark(20, d, d == 4 ? breaker : MarkWin);
        EXPECT_EQ(bonusDays(), (std::vector<int> {3, 7, 8, 9})) << breaker;
    }

    // The streak belongs to the wrestler now in the slot, whoever held it before.
    entry.picks[0] = 22;
    for (int d = 1; d <= 3; ++d)
        mark(22, d, MarkWin);
    scoreEntryDay(entry, rules, roster, 3);
    EXPECT_EQ(entry.dayStreakBonus[2], 2);

    rules.streakMin = -3;
    EXPECT_TRUE(bonusDays().empty());
}

TEST(TieValue, LotteryNeverReachesAWholePoint)
{
    ScriptedRandom r;
    r.values = {0.99999999, 0.0, 0.49995};
    EXPECT_EQ(tieValue(TieRule::Lottery, 100, r), 9999);
    EXPECT_EQ(tieValue(TieRule::Lottery, 100, r), 0);
    EXPECT_EQ(tieValue(TieRule::Lottery, 100, r), 4999);
    EXPECT_EQ(tieValue(TieRule::SmallerIdFirst, 100, r), 9899);
    EXPECT_EQ(tieValue(TieRule::SmallerIdFirst, 101, r), 9898);
}

// The tally over a small field.
class TallyDay : public ::testing::Test
{
protected:
    void start(int pickCount, int tieRule, std::vector<EntryRecord> entries)
    {
        Contest &c = tc.open();
        prepareCompetition(c, pickCount, true, tieRule);
        installEntries(c, std::move(entries));
    }
    ConfirmOutcome confirm(int day, std::initializer_list<std::pair<int, int>> marks = {})
    {
        setMarks(c(), day, marks);
        return confirmDay(c(), day, random);
    }
    Contest &c() { return tc.contest(); }

    TempContest tc;
    ScriptedRandom random;
};

TEST_F(TallyDay, SmallerIdFirstOnEqualScoresEveryDay)
{
    // Identical picks: equal scores every day.
    start(2, 1,
          {makeEntry(QStringLiteral("甲"), {11, 12}, 20),
           makeEntry(QStringLiteral("乙"), {11, 12}, 20),
           makeEntry(QStringLiteral("丙"), {13, 14}, 20)});
    for (int d = 1; d <= 4; ++d) {
        ASSERT_EQ(confirm(d, {{11, d % 2 ? MarkWin : MarkLoss}, {13, MarkWin}, {14, MarkWin}}),
                  ConfirmOutcome::Confirmed);
        EXPECT_LT(c().entries()[0].dayRank[d - 1], c().entries()[1].dayRank[d - 1]) << d;
        EXPECT_LT(c().entries()[0].dayScoreRank[d - 1], c().entries()[1].dayScoreRank[d - 1]);
        EXPECT_EQ(c().daily().at(DailyRecords::TopEntry, d), 2);
    }
    EXPECT_EQ(random.draws, 0);
}

TEST_F(TallyDay, LotteryDrawsSeparatelyForDayAndOverall)
{
    start(2, 0,
          {makeEntry(QStringLiteral("甲"), {11, 12}, 20),
           makeEntry(QStringLiteral("乙"), {11, 12}, 20)});
    // Day ranking: 甲 0.1, 乙 0.9; overall: 甲 0.9, 乙 0.1 (stored order).
    random.values = {0.1, 0.9, 0.9, 0.1};
    ASSERT_EQ(confirm(1, {{11, MarkWin}}), ConfirmOutcome::Confirmed);
    EXPECT_EQ(random.draws, 4);
    const auto &e = c().entries();
    EXPECT_EQ(e[1].dayScoreRank[0], 1);
    EXPECT_EQ(e[0].dayScoreRank[0], 2);
    EXPECT_EQ(c().daily().at(DailyRecords::TopEntry, 1), 1);
    EXPECT_EQ(c().daily().at(DailyRecords::TopScore, 1), 2);
    EXPECT_EQ(e[0].dayRank[0], 1);
    EXPECT_EQ(e[1].dayRank[0], 2);

    // Equal draws still give distinct ranks.
    random.values.clear();
    random.fallback = 0.5;
    ASSERT_EQ(confirm(2, {{11, MarkWin}}), ConfirmOutcome::Confirmed);
    EXPECT_NE(e[0].dayRank[1], e[1].dayRank[1]);
    EXPECT_NE(e[0].dayScoreRank[1], e[1].dayScoreRank[1]);
    EXPECT_EQ(rowValue(c(), 100, QStringLiteral("順位")).toInt()
                  + rowValue(c(), 101, QStringLiteral("順位")).toInt(),
              3);
}

TEST_F(TallyDay, HighestDrawNeverTiesAPointAbove)
{
    start(1, 0,
          {makeEntry(QStringLiteral("甲"), {11}, 20), makeEntry(QStringLiteral("乙"), {12}, 20)});
    // 乙 has one point more; 甲 draws the top of the range, 乙 the bottom.
    random.values = {0.99999999, 0.0, 0.99999999, 0.0};
    c().rules().slotPoints[0] = 1;
    ASSERT_EQ(confirm(1, {{11, MarkLoss}, {12, MarkWin}}), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c().entries()[1].dayRank[0], 1);
    EXPECT_EQ(c().entries()[1].dayScoreRank[0], 1);
    EXPECT_EQ(rowValue(c(), 100, QStringLiteral("Dummy")).toLongLong(), 9999);
    EXPECT_EQ(rowValue(c(), 101, QStringLiteral("Dummy")).toLongLong(), 10000);
}

TEST_F(TallyDay, PerfectLogKinds)
{
    start(1, 1,
          {makeEntry(QStringLiteral("甲"), {11}, 20), makeEntry(QStringLiteral("乙"), {12}, 20)});
    ASSERT_EQ(confirm(1, {{11, MarkWin}, {12, MarkLoss}}), ConfirmOutcome::Confirmed);
    auto log = readRecords<PerfectRecord>(tc.dataFile(QStringLiteral("Perfect.Dat")));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], (PerfectRecord {0, 1, 1, 1, 0}));
    // With one pick a loss is "all but one won".
    EXPECT_EQ(log[1], (PerfectRecord {1, 1, 0, 2, 1}));
    EXPECT_EQ(c().daily().perfectCount(), 2);

    c().rules().pickCount = 3;
    c().entries()[0].picks = {11, 13, 14, 43, 43, 43, 43, 43, 43, 43};
    c().entries()[1].picks = {12, 15, 16, 43, 43, 43, 43, 43, 43, 43};
    // 甲: one win of three (nothing logged); 乙: none (kind 2).
    ASSERT_EQ(confirm(2, {{11, MarkWin}}), ConfirmOutcome::Confirmed);
    log = readRecords<PerfectRecord>(tc.dataFile(QStringLiteral("Perfect.Dat")));
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2].entryIndex, 1);
    EXPECT_EQ(log[2].day, 2);
    EXPECT_EQ(log[2].kind, 2);
    EXPECT_EQ(
        DailyRecords::decode(readBytes(tc.dataFile(QStringLiteral("Record.Dat")))).perfectCount(),
        3);
}

TEST_F(TallyDay, RiseAndFallRecords)
{
    start(1, 1,
          {makeEntry(QStringLiteral("甲"), {11}, 20), makeEntry(QStringLiteral("乙"), {12}, 20),
           makeEntry(QStringLiteral("丙"), {13}, 20)});
    c().daily() = DailyRecords::resetValues();
    c().saveDaily();
    ASSERT_EQ(confirm(1, {{11, MarkWin}}), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c().daily().at(DailyRecords::MaxRise, 1), 0);
    EXPECT_EQ(c().daily().at(DailyRecords::Riser, 1), -1);
    EXPECT_EQ(c().daily().at(DailyRecords::MaxFall, 1), 0);
    EXPECT_EQ(c().daily().at(DailyRecords::Faller, 1), -1);

    // Nobody moves: a fall of 0, taken by the worst-ranked entry.
    ASSERT_EQ(confirm(2, {}), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c().daily().at(DailyRecords::MaxFall, 2), 0);
    EXPECT_EQ(c().daily().at(DailyRecords::Faller, 2), 2);
    EXPECT_EQ(c().daily().at(DailyRecords::MaxRise, 2), 0);
    EXPECT_EQ(c().daily().at(DailyRecords::Riser, 2), -1);

    // 丙 wins on days 3 and 4: from 3rd to 2nd to 1st, 甲 falls from 1st to 2nd.
    ASSERT_EQ(confirm(3, {{13, MarkWin}}), ConfirmOutcome::Confirmed);
    ASSERT_EQ(confirm(4, {{13, MarkWin}}), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c().entries()[2].dayRank[3], 1);
    EXPECT_EQ(c().daily().at(DailyRecords::MaxRise, 4), 1);
    EXPECT_EQ(c().daily().at(DailyRecords::Riser, 4), 2);
    EXPECT_EQ(c().daily().at(DailyRecords::MaxFall, 4), 1);
    EXPECT_EQ(c().daily().at(DailyRecords::Faller, 4), 0);
}

TEST_F(TallyDay, TotalsGrowWithTheDaysAndMidStopsAtEight)
{
    start(1, 1, {makeEntry(QStringLiteral("甲"), {11}, 20)});
    for (int d = 1; d <= 10; ++d) {
        ASSERT_EQ(confirm(d, {{11, MarkWin}}), ConfirmOutcome::Confirmed);
        EXPECT_EQ(c().entries()[0].totalScore, d);
        EXPECT_EQ(c().entries()[0].midScore, std::min(d, 8));
    }
    EXPECT_EQ(rowValue(c(), 100, QStringLiteral("合計")).toInt(), 10);
    EXPECT_EQ(rowValue(c(), 100, QStringLiteral("中日計")).toInt(), 8);
    EXPECT_EQ(rowValue(c(), 100, QStringLiteral("十")).toInt(), 1);
}

} // namespace

// The tally as a plain function: three entries, one day, no database.
TEST(TallyEntries, RanksScoresAndLogsFromValuesAlone)
{
    struct Case
    {
        const char *name;
        int tieRule;
        std::vector<int> winners; // wrestlers who win day 1
        std::deque<double> draws; // day ranking, then overall, in row order
        const char *dayRanks, *ranks, *perfectKinds; // per entry
        int top, low;
    };
    const Case cases[] {
        {"smaller ID first", 1, {11, 13}, {}, "123", "123", "111", 0, 2},
        {"scores first", 1, {13, 14}, {}, "231", "231", "220", 2, 1},
        {"lottery per ranking",
         0,
         {11, 13},
         {0.1, 0.9, 0.5, 0.9, 0.1, 0.5},
         "312",
         "132",
         "111",
         1,
         0},
        {"equal draws keep row order", 0, {11, 13}, {}, "123", "123", "111", 0, 2},
    };
    for (const Case &t : cases) {
        SCOPED_TRACE(t.name);
        Roster roster;
        roster.installDefault();
        RulesRecord rules = RulesRecord::firstRunDefaults();
        rules.pickCount = 2;
        rules.slotPoints = {2, 1, 0, 0, 0, 0, 0, 0, 0, 0};
        rules.streakMin = -4;
        rules.tieRule = qint16(t.tieRule);
        for (int w : t.winners)
            roster.wrestlers[w].dayResult[0] = MarkWin;
        ScriptedRandom random;
        random.values = t.draws;
        ProgressCounter progress;
        const DayTally r = tallyEntries(
            {makeEntry(QStringLiteral("甲"), {11, 12}), makeEntry(QStringLiteral("乙"), {11, 12}),
             makeEntry(QStringLiteral("丙"), {13, 14})},
            rules, roster, DailyRecords::resetValues(), 1, {100, 101, 102}, random, progress);
        QString dayRanks, ranks, kinds;
        for (int k = 0; k < 3; ++k) {
            dayRanks += QString::number(r.entries[k].dayScoreRank[0]);
            ranks += QString::number(r.entries[k].dayRank[0]);
            kinds += QString::number(r.perfect[k].kind);
            EXPECT_EQ(r.rowRanks[k], r.entries[k].dayRank[0]);
            EXPECT_EQ(r.rowKeys[k] / 10000, r.entries[k].totalScore);
        }
        EXPECT_EQ(dayRanks, QString::fromLatin1(t.dayRanks));
        EXPECT_EQ(ranks, QString::fromLatin1(t.ranks));
        EXPECT_EQ(kinds, QString::fromLatin1(t.perfectKinds));
        EXPECT_EQ(r.daily.at(DailyRecords::TopEntry, 1), t.top);
        EXPECT_EQ(r.daily.at(DailyRecords::LowEntry, 1), t.low);
        EXPECT_EQ(r.daily.perfectCount(), 3);
        EXPECT_EQ(random.draws, t.tieRule == 1 ? 0 : 6);
        EXPECT_EQ(progress.base(), 15); // five passes
    }
}
