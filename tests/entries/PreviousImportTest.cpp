#include "entries/PreviousImport.h"
#include "EntryTestSupport.h"
#include "entries/EntryRegistration.h"
#include "store/RecordSet.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

class PreviousImportTest : public ::testing::Test
{
protected:
    void SetUp() override { contest = &openDecidedContest(tc); }
    QString ranking() const { return tc.dataFile(QStringLiteral("Ranking.Dat")); }
    QString backup() const { return tc.dataFile(QStringLiteral("Entry.Bak")); }
    TempContest tc;
    Contest *contest = nullptr;
};

TEST_F(PreviousImportTest, FortyFiveParticipantsInRankOrder)
{
    writeEntryFile(ranking(), 45, QStringLiteral("順位"));
    const ImportResult r = importPrevious(*contest, ImportSource::Ranking);
    ASSERT_EQ(r.outcome, ImportResult::Imported);
    EXPECT_EQ(r.count, 45);
    EXPECT_EQ(tc.prompter.questions.last(),
              QStringLiteral("現在の投票内容を削除し、先場所の参加者を得点順に\n記入します。　"
                             "削除、追加はこの後に行ってください。\n　　よろしいですか。"));
    EXPECT_EQ(tc.prompter.lastQuestion.title, QStringLiteral("先場所ﾃﾞｰﾀの取り込み"));
    ASSERT_EQ(contest->participantCount(), 45);
    // The former winner gets the first ID; member data only, no picks or scores.
    const EntryRecord &first = contest->entries()[0];
    EXPECT_EQ(first.shikona, QStringLiteral("順位1"));
    EXPECT_EQ(first.memberName, QStringLiteral("会員1"));
    EXPECT_EQ(first.mail, QStringLiteral("m1@example.jp"));
    EXPECT_EQ(first.picks[0], kNoWrestler);
    EXPECT_EQ(first.reserve, kNoWrestler);
    EXPECT_EQ(first.totalScore, 0);
    EXPECT_EQ(first.dayRank[14], 0);
    EXPECT_EQ(contest->entries()[44].shikona, QStringLiteral("順位45"));
    EXPECT_EQ(contest->rules().flag, 3);
    expectMirror(*contest);

    RecordSet rs(contest->database(), QStringLiteral("entry00"));
    rs.setSort(QStringLiteral("ID ASC"));
    rs.moveLast();
    EXPECT_EQ(rs.intValue(QStringLiteral("ID")), 144);
    EXPECT_EQ(rs.textValue(QStringLiteral("力士1")), QStringLiteral(" "));
    EXPECT_EQ(rs.textValue(QStringLiteral("予備力士")), QStringLiteral(" "));

    // Phase 3 keeps both buttons off.
    EXPECT_EQ(importPrevious(*contest, ImportSource::Ids).outcome, ImportResult::Refused);
}

TEST_F(PreviousImportTest, IdOrderComesFromTheBackupWithTheCountOfTheRanking)
{
    writeEntryFile(ranking(), 5, QStringLiteral("順位"));
    writeEntryFile(backup(), 8, QStringLiteral("番号"));
    const ImportResult r = importPrevious(*contest, ImportSource::Ids);
    ASSERT_EQ(r.outcome, ImportResult::Imported);
    EXPECT_TRUE(tc.prompter.questions.last().startsWith(
        QStringLiteral("現在の投票内容を削除し、先場所の参加者をID順に\n")));
    ASSERT_EQ(contest->participantCount(), 5);
    EXPECT_EQ(contest->entries()[4].shikona, QStringLiteral("番号5"));
    expectMirror(*contest);
}

TEST_F(PreviousImportTest, MoreThanThreeHundredImportsTheFirstThreeHundred)
{
    writeEntryFile(ranking(), 301, QStringLiteral("順位"));
    ASSERT_EQ(importPrevious(*contest, ImportSource::Ranking).count, 300);
    EXPECT_EQ(contest->participantCount(), 300);
    EXPECT_EQ(contest->entries()[299].shikona, QStringLiteral("順位300"));
    expectMirror(*contest);
}

TEST_F(PreviousImportTest, UpdateBeforePicksAreTypedIsRefused)
{
    writeEntryFile(ranking(), 3, QStringLiteral("順位"));
    importPrevious(*contest, ImportSource::Ranking);
    EntryRegistration reg(*contest);
    EntryForm f = reg.formOf(0);
    EXPECT_TRUE(f.picks[0].isEmpty());
    EXPECT_TRUE(f.reserve.isEmpty());
    const auto r = reg.update(0, f);
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(r.message, QStringLiteral("力士が選択されていません。"));
    // With the picks typed it goes through.
    f = validForm(f.shikona);
    ASSERT_TRUE(reg.update(0, f).ok());
    EXPECT_EQ(contest->entries()[0].memberName, QString());
    expectMirror(*contest);
}

TEST_F(PreviousImportTest, MissingFileOrNoChangesNothing)
{
    EntryRegistration reg(*contest);
    EXPECT_EQ(importPrevious(*contest, ImportSource::Ranking).outcome, ImportResult::MissingFile);
    EXPECT_EQ(tc.prompter.messages.last(), QStringLiteral("先場所のﾗﾝｷﾝｸﾞﾌｧｲﾙがありません"));
    EXPECT_EQ(importPrevious(*contest, ImportSource::Ids).outcome, ImportResult::MissingFile);
    EXPECT_EQ(tc.prompter.messages.last(), QStringLiteral("先場所のﾌｧｲﾙがありません"));
    EXPECT_TRUE(tc.prompter.questions.isEmpty());

    writeEntryFile(ranking(), 4, QStringLiteral("順位"));
    tc.prompter.answers = {false};
    EXPECT_EQ(importPrevious(*contest, ImportSource::Ranking).outcome, ImportResult::AnsweredNo);
    EXPECT_EQ(contest->participantCount(), 0);
    EXPECT_EQ(contest->rules().flag, 1);
}

TEST_F(PreviousImportTest, BackupWithoutRankingClearsEverythingAndStillMovesToPhaseThree)
{
    writeEntryFile(backup(), 6, QStringLiteral("番号"));
    writeEntryFile(tc.dataFile(QStringLiteral("Entry.Dat")), 1, QStringLiteral("仮"));
    const ImportResult r = importPrevious(*contest, ImportSource::Ids);
    ASSERT_EQ(r.outcome, ImportResult::Imported);
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(contest->participantCount(), 0);
    EXPECT_EQ(contest->rules().flag, 3);
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Entry.Dat"))));
    // The import leaves an empty Ranking.Dat in place of the missing one.
    ASSERT_TRUE(QFile::exists(ranking()));
    EXPECT_EQ(readBytes(ranking()).size(), 0);
    // A restart agrees.
    tc.open();
    EXPECT_EQ(tc.contest().participantCount(), 0);
    EXPECT_EQ(tc.contest().rules().flag, 3);
}

TEST_F(PreviousImportTest, APartialFinalRecordIsNotAParticipant)
{
    writeEntryFile(ranking(), 3, QStringLiteral("順位"));
    QByteArray bytes = readBytes(ranking());
    bytes.chop(100);
    writeBytes(ranking(), bytes);
    EXPECT_EQ(importPrevious(*contest, ImportSource::Ranking).count, 2);
    expectMirror(*contest);
}

} // namespace
