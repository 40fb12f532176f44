#include "scoring/Prizes.h"
#include "ScoringFixture.h"
#include "scoring/DayConfirmation.h"

#include <functional>
#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

struct PrizeRow
{
    QString name;
    int id;
    int score;
    qint64 points;
    bool operator==(const PrizeRow &) const = default;
};
test::Fields fieldsOf(const PrizeRow &r)
{
    return test::fields(KC_FIELD(r, name), KC_FIELD(r, id), KC_FIELD(r, score),
                        KC_FIELD(r, points));
}
KC_PRINT_FIELDS(PrizeRow)

PrizeRow prizeRow(Contest &c, qint64 order)
{
    RecordSet rs(c.database(), QStringLiteral("PRIZE"));
    rs.setFilter(QStringLiteral("表示順 = %1").arg(order));
    if (rs.eof())
        return {QStringLiteral("<none>"), -1, -1, -1};
    return {rs.textValue(QStringLiteral("しこな")), rs.intValue(QStringLiteral("ID")),
            rs.intValue(QStringLiteral("得点")), rs.value(QStringLiteral("ポイント")).toLongLong()};
}

class Prizes : public ::testing::Test
{
protected:
    void start(int tieRule, std::vector<EntryRecord> entries)
    {
        Contest &c = tc.open();
        RulesRecord &r = c.rules();
        // Rank prizes 1, 2, 3 only.
        for (int i = 3; i < kPrizeRows; ++i)
            r.prizePoints[i] = -std::abs(r.prizePoints[i]);
        prepareCompetition(c, 1, false, tieRule);
        installEntries(c, std::move(entries));
    }
    void confirmThrough(int last, const std::function<void(int)> &marks)
    {
        for (int d = c().rules().currentDay + 1; d <= last; ++d) {
            marks(d);
            ASSERT_EQ(confirmDay(c(), d, random), ConfirmOutcome::Confirmed) << d;
        }
    }
    Contest &c() { return tc.contest(); }

    TempContest tc;
    ScriptedRandom random;
};

TEST_F(Prizes, DayPrizeGoesToTheDaysTopEntry)
{
    start(1,
          {makeEntry(QStringLiteral("甲"), {11}), makeEntry(QStringLiteral("乙"), {12}),
           makeEntry(QStringLiteral("丙"), {13})});
    // Days 6 to 10 carry a day prize by default; day 5 does not.
    confirmThrough(7, [&](int d) {
        setMarks(c(), d, {{12, MarkWin}, {13, d == 6 ? MarkGold : MarkWin}});
    });
    EXPECT_EQ(prizeRow(c(), 1000005).id, -1);
    EXPECT_EQ(prizeRow(c(), 1000006), (PrizeRow {QStringLiteral("丙"), 102, 11, 2000}));
    // Equal best of day 7: the smaller ID.
    EXPECT_EQ(prizeRow(c(), 1000007).id, 101);
    EXPECT_EQ(prizeRow(c(), 1000007).score, 1);
    EXPECT_EQ(prizeRow(c(), 1000008).id, 0); // not yet
}

TEST_F(Prizes, MidPrizeFromTheFirstEightDaysOnly)
{
    start(1, {makeEntry(QStringLiteral("甲"), {11}), makeEntry(QStringLiteral("乙"), {12})});
    confirmThrough(8, [&](int d) {
        setMarks(c(), d, {{11, d <= 5 ? MarkWin : MarkLoss}, {12, MarkWin}});
    });
    const PrizeRow mid {QStringLiteral("乙"), 101, 8, 5000};
    EXPECT_EQ(prizeRow(c(), 1000000), mid);
    // 甲 overtakes after the middle day: the prize stays.
    confirmThrough(15, [&](int d) { setMarks(c(), d, {{11, MarkGold}, {12, MarkLoss}}); });
    EXPECT_EQ(prizeRow(c(), 1000000), mid);
    EXPECT_EQ(rowValue(c(), 100, QStringLiteral("中日計")).toInt(), 5);
}

TEST_F(Prizes, MidPrizeLotteryAmongTheTied)
{
    start(0,
          {makeEntry(QStringLiteral("甲"), {11}), makeEntry(QStringLiteral("乙"), {11}),
           makeEntry(QStringLiteral("丙"), {11}), makeEntry(QStringLiteral("丁"), {12})});
    random.fallback = 0.0;
    confirmThrough(7, [&](int d) { setMarks(c(), d, {{11, MarkWin}}); });
    // Day 8: eight tie draws, then the prize draw picks the second of three.
    random.values = {0, 0, 0, 0, 0, 0, 0, 0, 0.5};
    confirmThrough(8, [&](int d) { setMarks(c(), d, {{11, MarkWin}}); });
    EXPECT_EQ(random.values.size(), 0u);
    EXPECT_EQ(prizeRow(c(), 1000000).id, 101);
    EXPECT_EQ(prizeRow(c(), 1000000).score, 8);
}

TEST_F(Prizes, MidPrizeSmallestIdUnderTheIdRule)
{
    start(1,
          {makeEntry(QStringLiteral("甲"), {12}), makeEntry(QStringLiteral("乙"), {11}),
           makeEntry(QStringLiteral("丙"), {11})});
    confirmThrough(8, [&](int d) { setMarks(c(), d, {{11, MarkWin}}); });
    EXPECT_EQ(prizeRow(c(), 1000000).id, 101);
    EXPECT_EQ(random.draws, 0);
}

TEST_F(Prizes, RankPrizesAndFinalStandingsOnTheLastDay)
{
    start(1,
          {makeEntry(QStringLiteral("甲"), {11}), makeEntry(QStringLiteral("乙"), {12}),
           makeEntry(QStringLiteral("丙"), {13}), makeEntry(QStringLiteral("丁"), {14})});
    confirmThrough(14, [&](int d) {
        setMarks(
            c(), d,
            {{12, MarkWin}, {13, d % 2 ? MarkWin : MarkLoss}, {14, d < 3 ? MarkWin : MarkLoss}});
    });
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Ranking.Dat"))));
    EXPECT_EQ(prizeRow(c(), 1).id, 0);
    confirmThrough(15, [&](int d) { setMarks(c(), d, {{12, MarkWin}, {13, MarkWin}}); });

    // 乙 15, 丙 8, 丁 2, 甲 0.
    EXPECT_EQ(prizeRow(c(), 1), (PrizeRow {QStringLiteral("乙"), 101, 15, 30000}));
    EXPECT_EQ(prizeRow(c(), 2), (PrizeRow {QStringLiteral("丙"), 102, 8, 18000}));
    EXPECT_EQ(prizeRow(c(), 3), (PrizeRow {QStringLiteral("丁"), 103, 2, 10000}));
    EXPECT_EQ(prizeRow(c(), 5).id, -1); // switched off

    const auto ranking = readEntryFile(tc.dataFile(QStringLiteral("Ranking.Dat")));
    ASSERT_EQ(ranking.size(), 4u);
    const QStringList order {QStringLiteral("乙"), QStringLiteral("丙"), QStringLiteral("丁"),
                             QStringLiteral("甲")};
    for (int p = 0; p < 4; ++p) {
        const EntryRecord &e = ranking[p];
        EXPECT_EQ(e.shikona, order[p]);
        EXPECT_EQ(e.dayRank[14], p + 1);
        EXPECT_EQ(e.totalScore, 0);
        EXPECT_EQ(e.midScore, 0);
        EXPECT_EQ(e.dayTotal, (std::array<qint16, kDays> {}));
        EXPECT_EQ(e.dayWins, (std::array<qint16, kDays> {}));
        EXPECT_EQ(e.picks, e.enteredPicks);
    }
    EXPECT_GT(ranking[0].dayScoreRank[14], 0); // kept as it stands
}

} // namespace

// The winners as plain functions over a few entries.
TEST(PrizeWinners, MidPrizeAndFinalStandingsFromEntriesAlone)
{
    const struct
    {
        const char *name;
        std::vector<int> mids;
        int tieRule;
        double draw;
        int winner, draws;
    } cases[] {
        {"best mid score", {5, 9, 7}, 0, 0.9, 1, 0},
        {"smaller ID among the tied", {9, 5, 9}, 1, 0.9, 0, 0},
        {"draw among the tied in ID order", {9, 5, 9}, 0, 0.9, 2, 1},
    };
    for (const auto &t : cases) {
        SCOPED_TRACE(t.name);
        std::vector<EntryRecord> entries;
        for (int m : t.mids) {
            EntryRecord e = EntryRecord::cleared();
            e.midScore = qint16(m);
            e.dayRank[14] = qint16(10 - m); // rank follows the mid score here
            entries.push_back(e);
        }
        ScriptedRandom random;
        random.fallback = t.draw;
        const auto w = midPrizeWinner(entries, TieRule(t.tieRule), random);
        ASSERT_TRUE(w);
        EXPECT_EQ(w->entry, t.winner);
        EXPECT_EQ(w->score, t.mids[t.winner]);
        EXPECT_EQ(random.draws, t.draws);
        const std::vector<int> standings = finalStandings(entries, 15);
        for (size_t i = 1; i < standings.size(); ++i)
            EXPECT_LE(entries[standings[i - 1]].dayRank[14], entries[standings[i]].dayRank[14]);
    }
    ScriptedRandom random;
    EXPECT_FALSE(midPrizeWinner({}, TieRule::Lottery, random));
}
