#include "scoring/CompetitionStart.h"
#include "ScoringFixture.h"
#include "scoring/DayConfirmation.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

class CloseReception : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Contest &c = tc.open();
        c.rules().flag = 3;
        c.rules().pickCount = 2;
        c.saveRules();
        c.entries() = {makeEntry(QStringLiteral("甲"), {11, 12}, 20),
                       makeEntry(QStringLiteral("乙"), {13, 14}, 21)};
        c.saveEntries();
        c.rebuildEntryTable();
    }
    Contest &c() { return tc.contest(); }
    TempContest tc;
};

TEST_F(CloseReception, AnsweredNoChangesNothing)
{
    tc.prompter.answers = {false};
    EXPECT_EQ(closeReception(c()), PhaseOutcome::Declined);
    EXPECT_EQ(
        tc.prompter.questions.last(),
        QStringLiteral("受付を終了します。これ以後の変更は受け付けません。\r\nよろしいですか。"));
    EXPECT_EQ(c().rules().flag, 3);
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Entry.Bak"))));
}

TEST_F(CloseReception, IncompleteEntryIsRefused)
{
    c().entries()[1].picks[1] = kNoWrestler;
    c().saveEntries();
    const QByteArray credit = readBytes(tc.dataFile(QStringLiteral("Credit.Dat")));
    bool published = false;
    EXPECT_EQ(closeReception(c(), [&](Contest &) { published = true; }), PhaseOutcome::Refused);
    EXPECT_EQ(tc.prompter.messages.last(),
              QStringLiteral(
                  "登録データの中に、力士もしくは補充力士の選択されていないデータがあります。\r\n"
                  "登録フォームに戻り、訂正または削除を行ってください。"));
    EXPECT_EQ(c().rules().flag, 3);
    EXPECT_EQ(readBytes(tc.dataFile(QStringLiteral("Credit.Dat"))), credit);
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Entry.Bak"))));
    EXPECT_FALSE(published);
}

TEST_F(CloseReception, ClosesCopiesTheEntriesAndPublishes)
{
    writeBytes(tc.dataFile(QStringLiteral("Entry.Bak")), "old backup");
    bool published = false;
    EXPECT_EQ(closeReception(c(), [&](Contest &) { published = true; }), PhaseOutcome::Done);
    EXPECT_EQ(c().rules().flag, 5);
    EXPECT_EQ(RulesRecord::decode(readBytes(tc.dataFile(QStringLiteral("Credit.Dat")))).flag, 5);
    EXPECT_EQ(readBytes(tc.dataFile(QStringLiteral("Entry.Bak"))),
              readBytes(tc.dataFile(QStringLiteral("Entry.Dat"))));
    EXPECT_TRUE(published);
}

class RestartCompetition : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Contest &c = tc.open();
        prepareCompetition(c, 2, true, 1);
        installEntries(c,
                       {makeEntry(QStringLiteral("甲"), {11, 12}, 20),
                        makeEntry(QStringLiteral("乙"), {13, 14}, 21)});
        ScriptedRandom random;
        for (int d = 1; d <= 7; ++d) {
            setMarks(c, d, {{13, MarkGold}, {14, d == 2 ? MarkSilver : MarkLoss}});
            // 11 wins days 1 and 2 and withdraws on day 3.
            if (d <= 3)
                setMarks(c, d, {{11, d == 3 ? MarkAbsent : MarkWin}});
            ASSERT_EQ(confirmDay(c, d, random), ConfirmOutcome::Confirmed);
        }
        ASSERT_EQ(c.entries()[0].picks[0], 20);
    }
    Contest &c() { return tc.contest(); }
    TempContest tc;
};

TEST_F(RestartCompetition, KeepsResultsAndClearsEverythingElse)
{
    const Roster before = c().roster();
    EXPECT_EQ(restartCompetition(c()), PhaseOutcome::Done);
    EXPECT_TRUE(tc.prompter.lastQuestion.defaultNo);
    EXPECT_EQ(tc.prompter.lastQuestion.icon, Icon::Warning);
    EXPECT_TRUE(
        tc.prompter.questions.last().endsWith(QStringLiteral("処理を始めます。よろしいですか。")));

    const RulesRecord &r = c().rules();
    EXPECT_EQ(r.flag, 10);
    EXPECT_EQ(r.rulesStart, 1);
    EXPECT_EQ(r.currentDay, 0);
    EXPECT_EQ(RulesRecord::decode(readBytes(tc.dataFile(QStringLiteral("Credit.Dat")))), r);

    // Wins, losses and stars stay; absences become 黒星.
    const auto &marks = c().roster().wrestlers;
    EXPECT_EQ(marks[11].dayResult[1], MarkWin);
    EXPECT_EQ(marks[11].dayResult[2], MarkLoss);
    EXPECT_EQ(marks[11].dayResult[3], MarkLoss);
    EXPECT_EQ(marks[13].dayResult[4], MarkGold);
    EXPECT_EQ(marks[14].dayResult[1], MarkSilver);
    EXPECT_EQ(before.wrestlers[11].dayResult[2], MarkAbsentConfirmed);
    EXPECT_EQ(before.wrestlers[11].dayResult[3], MarkAbsentLater);
    const auto saved = readRecords<WrestlerRecord>(tc.dataFile(QStringLiteral("Rikishi.Dat")));
    EXPECT_EQ(saved[11].dayResult[2], MarkLoss);

    const EntryRecord &e = c().entries()[0];
    EXPECT_EQ(e.picks[0], 11);
    EXPECT_EQ(e.reserveList[0], 20);
    EXPECT_EQ(e.reserveList[1], 21);
    EXPECT_EQ(e.dayRank, (std::array<qint16, kDays> {}));
    EXPECT_EQ(e.dayTotal, (std::array<qint16, kDays> {}));
    EXPECT_EQ(e.totalScore, 0);
    EXPECT_EQ(readEntryFile(tc.dataFile(QStringLiteral("Entry.Dat"))), c().entries());

    EXPECT_EQ(rowValue(c(), 100, QStringLiteral("順位")).toInt(), 1);
    EXPECT_EQ(rowValue(c(), 101, QStringLiteral("順位")).toInt(), 2);
    EXPECT_EQ(rowValue(c(), 100, QStringLiteral("力士1")).toString(), c().roster().name(11));
    EXPECT_EQ(rowValue(c(), 101, QStringLiteral("合計")).toInt(), 0);
    EXPECT_EQ(rowValue(c(), 101, QStringLiteral("三")).toInt(), 0);

    const DailyRecords rec = c().daily();
    EXPECT_EQ(rec, DailyRecords::resetValues());
    RecordSet prize(c().database(), QStringLiteral("PRIZE"));
    for (prize.moveFirst(); !prize.eof(); prize.moveNext())
        EXPECT_EQ(prize.intValue(QStringLiteral("ID")), 0);

    // The days are confirmed again from day 1.
    ScriptedRandom random;
    setMarks(c(), 1, {});
    EXPECT_EQ(confirmDay(c(), 1, random), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c().entries()[0].dayTotal[0], 2);
}

TEST_F(RestartCompetition, AnsweredNoOrNoEntriesFileDoNothing)
{
    const QByteArray entry = readBytes(tc.dataFile(QStringLiteral("Entry.Dat")));
    tc.prompter.answers = {false};
    EXPECT_EQ(restartCompetition(c()), PhaseOutcome::Declined);
    EXPECT_EQ(c().rules().currentDay, 7);
    EXPECT_EQ(readBytes(tc.dataFile(QStringLiteral("Entry.Dat"))), entry);

    QFile::remove(tc.dataFile(QStringLiteral("Entry.Dat")));
    const int asked = int(tc.prompter.questions.size());
    EXPECT_EQ(restartCompetition(c()), PhaseOutcome::NotAvailable);
    EXPECT_EQ(tc.prompter.questions.size(), asked);
    EXPECT_EQ(c().rules().currentDay, 7);
}

} // namespace
