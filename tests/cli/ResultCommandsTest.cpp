#include "ScoringFixture.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

// Wrestler numbers on the command line are slot + 10.
QString number(int slot)
{
    return QString::number(slot + 10);
}

class ResultCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Contest &c = tc.open();
        prepareCompetition(c, 3, true, 1);
        installEntries(c,
                       {makeEntry(QStringLiteral("甲"), {11, 12, 13}, 20),
                        makeEntry(QStringLiteral("乙"), {14, 15, 16}, 21)});
        tc.close();
    }
    CliResult cli(QStringList args)
    {
        return runCli(QStringList {QStringLiteral("--dir"), tc.root()} + args);
    }
    CliResult setDay(int day, const QStringList &marks)
    {
        return cli(
            QStringList {QStringLiteral("result"), QStringLiteral("set"), QString::number(day)}
            + marks);
    }
    // Enough wins for the sum check, plus the given marks.
    CliResult enterDay(int day, QStringList marks)
    {
        for (int w = 30; w < 37; ++w)
            marks.prepend(number(w) + QStringLiteral("=白"));
        return setDay(day, marks);
    }
    std::vector<WrestlerRecord> wrestlers() const
    {
        return readRecords<WrestlerRecord>(tc.dataFile(QStringLiteral("Rikishi.Dat")));
    }
    RulesRecord rules() const
    {
        return RulesRecord::decode(readBytes(tc.dataFile(QStringLiteral("Credit.Dat"))));
    }

    TempContest tc;
};

TEST_F(ResultCommands, SetRecordsMarksUnderTheWindowsLocks)
{
    CliResult r = setDay(1,
                         {number(11) + QStringLiteral("=白"), number(12) + QStringLiteral("=休"),
                          number(13) + QStringLiteral("=3"), number(14) + QStringLiteral("=銀")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    auto w = wrestlers();
    EXPECT_EQ(w[11].dayResult[0], MarkWin);
    EXPECT_EQ(w[12].dayResult[0], MarkAbsent);
    EXPECT_EQ(w[13].dayResult[0], MarkGold);
    EXPECT_EQ(w[14].dayResult[0], MarkSilver);

    EXPECT_EQ(enterDay(1, {}).code, 0);
    r = cli({QStringLiteral("--yes"), QStringLiteral("result"), QStringLiteral("confirm")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("  の休場を確定しますか。")));

    // Day 1 is confirmed; number 22 is a confirmed absence from then on.
    r = setDay(1, {number(11) + QStringLiteral("=黒")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("確定済の日の結果は変更できません。")))
        << r.err.toStdString();
    r = setDay(2, {number(12) + QStringLiteral("=白"), number(11) + QStringLiteral("=金")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("休場が確定しているため変更できません。")))
        << r.err.toStdString();
    w = wrestlers();
    EXPECT_EQ(w[12].dayResult[1], MarkAbsentLater);
    EXPECT_EQ(w[11].dayResult[1], MarkGold); // the unlocked one is kept
    EXPECT_EQ(w[11].dayResult[0], MarkWin);

    EXPECT_EQ(setDay(1, {QStringLiteral("99=白")}).code, 1);
    EXPECT_EQ(setDay(2, {number(11) + QStringLiteral("=5")}).code, 2);
    EXPECT_EQ(setDay(16, {number(11) + QStringLiteral("=白")}).code, 2);
    EXPECT_EQ(setDay(2, {number(11) + QStringLiteral("白")}).code, 2);
}

TEST_F(ResultCommands, ConfirmRefusalsAndAnswers)
{
    EXPECT_EQ(enterDay(1, {}).code, 0);
    CliResult r = cli({QStringLiteral("--yes"), QStringLiteral("result"), QStringLiteral("confirm"),
                       QStringLiteral("2")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("前日の取組結果が確定していません。")));
    r = cli({QStringLiteral("--no"), QStringLiteral("result"), QStringLiteral("confirm")});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(rules().currentDay, 0);
    // No terminal and no --yes: the question is taken as No.
    EXPECT_EQ(cli({QStringLiteral("result"), QStringLiteral("confirm")}).code, 3);
    r = cli({QStringLiteral("--yes"), QStringLiteral("result"), QStringLiteral("confirm"),
             QStringLiteral("1")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(rules().currentDay, 1);
    r = cli({QStringLiteral("--yes"), QStringLiteral("result"), QStringLiteral("confirm"),
             QStringLiteral("1")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("確定済です")));
}

TEST_F(ResultCommands, ReceptionCloseAndRestartFollowThePhase)
{
    CliResult r
        = cli({QStringLiteral("--yes"), QStringLiteral("reception"), QStringLiteral("close")});
    EXPECT_EQ(r.code, 1); // already competing

    Contest &c = tc.open();
    c.rules().flag = 3;
    c.entries()[1].picks[2] = kNoWrestler;
    c.saveRules();
    c.saveEntries();
    tc.close();
    r = cli({QStringLiteral("--yes"), QStringLiteral("reception"), QStringLiteral("close")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("選択されていないデータがあります。")));
    EXPECT_EQ(rules().flag, 3);

    Contest &c2 = tc.open();
    c2.entries()[1].picks[2] = 16;
    c2.saveEntries();
    tc.close();
    EXPECT_EQ(
        cli({QStringLiteral("--no"), QStringLiteral("reception"), QStringLiteral("close")}).code,
        3);
    r = cli({QStringLiteral("--yes"), QStringLiteral("reception"), QStringLiteral("close")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(rules().flag, 5);
    EXPECT_EQ(readBytes(tc.dataFile(QStringLiteral("Entry.Bak"))),
              readBytes(tc.dataFile(QStringLiteral("Entry.Dat"))));

    EXPECT_EQ(
        cli({QStringLiteral("--yes"), QStringLiteral("result"), QStringLiteral("restart")}).code,
        1);
    Contest &c3 = tc.open();
    c3.rules().flag = 12;
    c3.rules().currentDay = 2;
    c3.saveRules();
    tc.close();
    EXPECT_EQ(
        cli({QStringLiteral("--no"), QStringLiteral("result"), QStringLiteral("restart")}).code, 3);
    r = cli({QStringLiteral("--yes"), QStringLiteral("result"), QStringLiteral("restart")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(rules().flag, 10);
    EXPECT_EQ(rules().currentDay, 0);
}

// A whole tournament from the command line: 20 participants, absences on
// days 4 and 9, stars and streaks, confirmed day by day.
TEST(ResultEndToEnd, FifteenDaysFromTheCommandLine)
{
    TempContest tc;
    {
        Contest &c = tc.open();
        prepareCompetition(c, 5, true, 1);
        c.rules().streakMin = 3;
        c.saveRules();
        std::vector<EntryRecord> entries;
        for (int k = 0; k < 20; ++k) {
            const int base = 11 + (k * 3) % 20;
            entries.push_back(makeEntry(QStringLiteral("参加者%1").arg(k),
                                        {base, base + 1, base + 2, base + 4, k % 7}, base + 3));
        }
        installEntries(c, entries);
        tc.close();
    }
    auto cli = [&](QStringList args) {
        return runCli(QStringList {QStringLiteral("--dir"), tc.root(), QStringLiteral("--yes")}
                      + args);
    };
    auto markOf = [](int w, int d) -> QString {
        if ((w == 15 && d == 4) || (w == 20 && d == 9))
            return QStringLiteral("休");
        const int v = (w * 7 + d * 3) % 10;
        if (v < 4)
            return QStringLiteral("白");
        if (v == 4 && w >= 11)
            return QStringLiteral("金");
        if (v == 5 && w >= 7)
            return QStringLiteral("銀");
        return QStringLiteral("黒");
    };
    for (int d = 1; d <= 15; ++d) {
        QStringList set {QStringLiteral("result"), QStringLiteral("set"), QString::number(d)};
        for (int w = 0; w < 40; ++w) {
            // Confirmed absentees stay locked; the command would refuse them.
            if ((w == 15 && d > 4) || (w == 20 && d > 9))
                continue;
            set << number(w) + u'=' + markOf(w, d);
        }
        const CliResult s = cli(set);
        ASSERT_EQ(s.code, 0) << d << s.err.toStdString();
        const CliResult r = cli({QStringLiteral("result"), QStringLiteral("confirm")});
        ASSERT_EQ(r.code, 0) << d << r.err.toStdString();
    }
    EXPECT_EQ(cli({QStringLiteral("result"), QStringLiteral("confirm")}).code, 1);

    const RulesRecord rules
        = RulesRecord::decode(readBytes(tc.dataFile(QStringLiteral("Credit.Dat"))));
    EXPECT_EQ(rules.currentDay, 15);
    EXPECT_EQ(rules.flag, 19); // last substitution on day 9

    const auto wrestlers = readRecords<WrestlerRecord>(tc.dataFile(QStringLiteral("Rikishi.Dat")));
    EXPECT_EQ(wrestlers[15].dayResult[3], MarkAbsentConfirmed);
    EXPECT_EQ(wrestlers[15].dayResult[14], MarkAbsentLater);
    EXPECT_EQ(wrestlers[20].dayResult[8], MarkAbsentConfirmed);

    const auto entries = readEntryFile(tc.dataFile(QStringLiteral("Entry.Dat")));
    ASSERT_EQ(entries.size(), 20u);
    const DailyRecords rec
        = DailyRecords::decode(readBytes(tc.dataFile(QStringLiteral("Record.Dat"))));
    std::vector<int> ranks;
    for (int k = 0; k < 20; ++k) {
        const EntryRecord &e = entries[k];
        int total = 0, mid = 0;
        for (int d = 0; d < kDays; ++d) {
            total += e.dayTotal[d];
            mid += d < 8 ? e.dayTotal[d] : 0;
        }
        EXPECT_EQ(e.totalScore, total);
        EXPECT_EQ(e.midScore, mid);
        ranks.push_back(e.dayRank[14]);
        // No pick is still a confirmed absentee after his day.
        for (int s = 0; s < 5; ++s) {
            EXPECT_NE(e.picks[s], 15);
            EXPECT_NE(e.picks[s], 20);
        }
    }
    // 参加者1 picked number 25 (slot 15), absent from day 4: his reserve took the slot.
    EXPECT_EQ(entries[1].enteredPicks[1], 15);
    EXPECT_EQ(entries[1].picks[1], 17);
    std::vector<int> sorted = ranks;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(sorted[i], i + 1);
    for (int a = 0; a < 20; ++a)
        for (int b = 0; b < 20; ++b)
            if (entries[a].dayRank[14] < entries[b].dayRank[14]) {
                EXPECT_TRUE(entries[a].totalScore > entries[b].totalScore
                            || (entries[a].totalScore == entries[b].totalScore && a < b));
            }
    for (int d = 1; d <= 15; ++d) {
        int best = -1;
        for (const EntryRecord &e : entries)
            best = std::max<int>(best, e.dayTotal[d - 1]);
        EXPECT_EQ(rec.at(DailyRecords::TopScore, d), best) << d;
    }
    const auto perfect = readBytes(tc.dataFile(QStringLiteral("Perfect.Dat")));
    EXPECT_EQ(perfect.size(), qsizetype(rec.perfectCount()) * PerfectRecord::Size);

    const auto ranking = readEntryFile(tc.dataFile(QStringLiteral("Ranking.Dat")));
    ASSERT_EQ(ranking.size(), 20u);
    for (int p = 0; p < 20; ++p) {
        EXPECT_EQ(ranking[p].dayRank[14], p + 1);
        EXPECT_EQ(ranking[p].totalScore, 0);
        EXPECT_EQ(ranking[p].picks, ranking[p].enteredPicks);
    }

    Contest &c = tc.open();
    RecordSet prize(c.database(), QStringLiteral("PRIZE"));
    prize.setFilter(QStringLiteral("表示順 = 1"));
    ASSERT_FALSE(prize.eof());
    const int winner = prize.intValue(QStringLiteral("ID")) - 100;
    ASSERT_GE(winner, 0);
    EXPECT_EQ(entries[winner].dayRank[14], 1);
    EXPECT_EQ(prize.intValue(QStringLiteral("得点")), entries[winner].totalScore);
    EXPECT_EQ(rowValue(c, winner + 100, QStringLiteral("順位")).toInt(), 1);
    EXPECT_EQ(rowValue(c, winner + 100, QStringLiteral("千秋楽")).toInt(),
              entries[winner].dayTotal[14]);
}

} // namespace

// Closing the reception with nobody registered leaves a folder that opens again.
TEST(ReceptionClose, WithNobodyTheFolderStillOpens)
{
    QTemporaryDir dir;
    const QStringList at {QStringLiteral("--dir"), dir.path(), QStringLiteral("--yes")};
    ASSERT_EQ(runExe(at + QStringList {QStringLiteral("rules"), QStringLiteral("decide")}).code, 0);
    ASSERT_EQ(runExe(at + QStringList {QStringLiteral("reception"), QStringLiteral("close")}).code,
              0);
    const CliResult r = runExe(at + QStringList {QStringLiteral("status")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("フェーズ (Flag): 5"))) << r.out.toStdString();
}
