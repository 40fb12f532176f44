#include "scoring/DayConfirmation.h"
#include "ScoringFixture.h"
#include "scoring/ResultMarks.h"
#include "store/StoreError.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

class DayConfirmation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Contest &c = tc.open();
        prepareCompetition(c, 3, true);
        installEntries(c,
                       {makeEntry(QStringLiteral("一郎"), {11, 12, 13}, 20),
                        makeEntry(QStringLiteral("二郎"), {14, 15, 16}, 21)});
    }
    Contest &c() { return tc.contest(); }
    QByteArray file(const QString &name) const { return readBytes(tc.dataFile(name)); }

    TempContest tc;
    ScriptedRandom random;
};

TEST_F(DayConfirmation, RefusalsShowTheirMessageAndChangeNothing)
{
    setMarks(c(), 1, {});
    const QByteArray credit = file(QStringLiteral("Credit.Dat"));

    c().rules().rulesStart = 0;
    EXPECT_EQ(confirmDay(c(), 1, random), ConfirmOutcome::Refused);
    EXPECT_EQ(tc.prompter.messages.last(),
              QStringLiteral("賞位の確定（ﾙｰﾙの設定と同じところです)を行ってください。"));
    c().rules().rulesStart = 1;

    c().rules().currentDay = 3;
    EXPECT_EQ(confirmDay(c(), 5, random), ConfirmOutcome::Refused);
    EXPECT_EQ(tc.prompter.messages.last(), QStringLiteral("前日の取組結果が確定していません。"));
    EXPECT_EQ(confirmDay(c(), 2, random), ConfirmOutcome::Refused);
    EXPECT_EQ(tc.prompter.messages.last(), QStringLiteral("確定済です"));
    EXPECT_EQ(confirmDay(c(), 3, random), ConfirmOutcome::Refused);
    EXPECT_EQ(tc.prompter.messages.last(), QStringLiteral("確定済です"));
    EXPECT_TRUE(tc.prompter.questions.isEmpty());

    const int messages = int(tc.prompter.messages.size());
    c().rules().currentDay = 15;
    EXPECT_EQ(confirmDay(c(), 15, random), ConfirmOutcome::AllConfirmed);
    EXPECT_EQ(tc.prompter.messages.size(), messages);

    c().rules().currentDay = 0;
    tc.prompter.answers = {false};
    EXPECT_EQ(confirmDay(c(), 1, random), ConfirmOutcome::Declined);
    EXPECT_EQ(tc.prompter.questions.last(),
              QStringLiteral("入力に間違いがないか、もう一度確認してください。\r\n"
                             "特に、「休場力士」の入力は忘れがちです。\r\n     よろしいですか。"));
    EXPECT_EQ(tc.prompter.lastQuestion.icon, Icon::Warning);
    EXPECT_EQ(c().rules().currentDay, 0);
    EXPECT_EQ(file(QStringLiteral("Credit.Dat")), credit);
}

TEST_F(DayConfirmation, SumOfMarksMustReachSeven)
{
    // Three 白星 and one 金星: 6.
    setMarks(c(), 1, {{11, MarkWin}, {12, MarkWin}, {13, MarkWin}, {14, MarkGold}}, false);
    EXPECT_EQ(confirmDay(c(), 1, random), ConfirmOutcome::Refused);
    EXPECT_EQ(tc.prompter.messages.last(), QStringLiteral("取組結果を確認してください"));
    EXPECT_EQ(c().rules().currentDay, 0);

    setMarks(c(), 1, {{15, MarkWin}}, false);
    EXPECT_EQ(confirmDay(c(), 1, random), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c().rules().currentDay, 1);
}

TEST_F(DayConfirmation, StarsOfYokozunaAndOzekiAreCorrected)
{
    // 0, 1 横綱; 2 and 3 大関; 7 関脇.
    setMarks(c(), 1,
             {{0, MarkGold}, {1, MarkSilver}, {2, MarkGold}, {3, MarkSilver}, {7, MarkGold}});
    ASSERT_EQ(confirmDay(c(), 1, random), ConfirmOutcome::Confirmed);
    const auto mark = [&](int w) { return c().roster().wrestlers[w].dayResult[0]; };
    EXPECT_EQ(mark(0), MarkWin);
    EXPECT_EQ(mark(1), MarkWin);
    EXPECT_EQ(mark(2), MarkSilver);
    EXPECT_EQ(mark(3), MarkSilver);
    EXPECT_EQ(mark(7), MarkGold);
    // What was saved is what was scored.
    const auto saved = readRecords<WrestlerRecord>(tc.dataFile(QStringLiteral("Rikishi.Dat")));
    EXPECT_EQ(saved[0].dayResult[0], MarkWin);
    EXPECT_EQ(saved[2].dayResult[0], MarkSilver);
}

TEST_F(DayConfirmation, ConfirmedAbsenceLocksLaterDaysWithReserve)
{
    setMarks(c(), 6, {{11, MarkAbsent}});
    c().rules().currentDay = 5;
    ASSERT_EQ(confirmDay(c(), 6, random), ConfirmOutcome::Confirmed);
    EXPECT_EQ(tc.prompter.questions.last(),
              c().roster().name(11) + QStringLiteral("  の休場を確定しますか。"));
    EXPECT_EQ(tc.prompter.lastQuestion.icon, Icon::Information);
    const auto &marks = c().roster().wrestlers[11].dayResult;
    EXPECT_EQ(marks[5], MarkAbsentConfirmed);
    for (int d = 7; d <= 15; ++d)
        EXPECT_EQ(marks[d - 1], MarkAbsentLater) << d;

    EXPECT_FALSE(cycleMark(c(), 11, 7, true));
    EXPECT_EQ(marks[6], MarkAbsentLater);
    c().rules().useReserve = 0;
    EXPECT_TRUE(cycleMark(c(), 11, 7, true));
    EXPECT_EQ(marks[6], MarkSilver); // (6 + 1) mod 5
}

TEST_F(DayConfirmation, MarkCycleAndDayLock)
{
    auto &m = c().roster().wrestlers[20].dayResult;
    EXPECT_TRUE(cycleMark(c(), 20, 1, false));
    EXPECT_EQ(m[0], MarkAbsent); // right click on 黒星
    EXPECT_TRUE(cycleMark(c(), 20, 1, true));
    EXPECT_EQ(m[0], MarkLoss); // left click on 休場
    c().rules().currentDay = 1;
    EXPECT_FALSE(cycleMark(c(), 20, 1, true));
    EXPECT_EQ(markLock(c(), 20, 1), MarkLock::DayConfirmed);
    EXPECT_EQ(markLock(c(), 45, 2), MarkLock::NoWrestler);
    EXPECT_EQ(setMark(c(), 20, 2, MarkGold), MarkLock::None);
    EXPECT_EQ(winsUpTo(c().roster(), 20, 2), 1);
    EXPECT_EQ(parseMark(QStringLiteral("休")), 4);
    EXPECT_EQ(parseMark(QStringLiteral("白星")), 1);
    EXPECT_EQ(parseMark(QStringLiteral("5")), std::nullopt);
    EXPECT_EQ(firstShownDay(c()), 2);
    c().rules().currentDay = 15;
    EXPECT_EQ(firstShownDay(c()), 15);
}

TEST_F(DayConfirmation, NoToAnAbsencePutsBackThePassAndNothingIsSaved)
{
    setMarks(c(), 1, {{11, MarkAbsent}, {14, MarkAbsent}});
    const QByteArray rikishi = file(QStringLiteral("Rikishi.Dat"));
    const Roster before = c().roster();
    tc.prompter.answers = {true, true, false}; // confirm, 11 yes, 14 no
    EXPECT_EQ(confirmDay(c(), 1, random), ConfirmOutcome::Declined);
    EXPECT_EQ(c().roster().wrestlers, before.wrestlers);
    EXPECT_EQ(c().roster().wrestlers[11].dayResult[0], MarkAbsent);
    EXPECT_EQ(c().roster().wrestlers[11].dayResult[1], MarkLoss);
    EXPECT_EQ(file(QStringLiteral("Rikishi.Dat")), rikishi);
    EXPECT_EQ(c().rules().currentDay, 0);

    // Confirmed again with Yes throughout, both are substituted.
    tc.prompter.answers.clear();
    ASSERT_EQ(confirmDay(c(), 1, random), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c().entries()[0].picks[0], 20);
    EXPECT_EQ(c().entries()[1].picks[0], 21);
    EXPECT_EQ(c().rules().flag, 11);
}

TEST_F(DayConfirmation, ProgressUnitsMatchThePasses)
{
    const auto progress
        = [&] { return std::pair(tc.prompter.progressTotal, tc.prompter.progressDone); };
    setMarks(c(), 1, {});
    ASSERT_EQ(confirmDay(c(), 1, random), ConfirmOutcome::Confirmed);
    EXPECT_EQ(progress(), std::pair(10, 10));

    setMarks(c(), 2, {{12, MarkAbsent}});
    ASSERT_EQ(confirmDay(c(), 2, random), ConfirmOutcome::Confirmed);
    EXPECT_EQ(progress(), std::pair(12, 12)); // + substitution

    for (int d = 3; d <= 8; ++d) {
        setMarks(c(), d, {});
        ASSERT_EQ(confirmDay(c(), d, random), ConfirmOutcome::Confirmed);
    }
    EXPECT_EQ(progress(), std::pair(12, 12)); // + 中日累計賞
    for (int d = 9; d <= 15; ++d) {
        setMarks(c(), d, {});
        ASSERT_EQ(confirmDay(c(), d, random), ConfirmOutcome::Confirmed);
    }
    EXPECT_EQ(progress(), std::pair(12, 12)); // + Ranking.Dat
}

TEST_F(DayConfirmation, SavesEveryFileAndTheTable)
{
    setMarks(c(), 1, {{11, MarkWin}, {12, MarkWin}, {14, MarkWin}});
    ASSERT_EQ(confirmDay(c(), 1, random), ConfirmOutcome::Confirmed);
    const RulesRecord credit = RulesRecord::decode(file(QStringLiteral("Credit.Dat")));
    EXPECT_EQ(credit.currentDay, 1);
    const auto entries = readEntryFile(tc.dataFile(QStringLiteral("Entry.Dat")));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries, c().entries());
    EXPECT_EQ(entries[0].dayTotal[0], 3 + 2); // slots 3 and 2 points
    EXPECT_EQ(entries[1].dayTotal[0], 3);
    EXPECT_EQ(rowValue(c(), 100, QStringLiteral("初日")).toInt(), 5);
    EXPECT_EQ(rowValue(c(), 100, QStringLiteral("合計")).toInt(), 5);
    EXPECT_EQ(rowValue(c(), 100, QStringLiteral("順位")).toInt(), 1);
    EXPECT_EQ(rowValue(c(), 101, QStringLiteral("順位")).toInt(), 2);
    EXPECT_EQ(DailyRecords::decode(file(QStringLiteral("Record.Dat"))), c().daily());

    // A re-opened contest sees the same day.
    tc.open();
    EXPECT_EQ(c().rules().currentDay, 1);
    EXPECT_EQ(c().entries(), entries);
    EXPECT_EQ(c().roster().wrestlers[11].dayResult[0], MarkWin);
}

} // namespace

namespace {

// The disk layer, failing the writes of one kind of file when armed.
class FailingFiles : public DiskFileStore
{
public:
    void write(const QString &path, const QByteArray &bytes) override
    {
        if (armed && path.endsWith(failOn))
            throw StoreError(QStringLiteral("書き込めません: ") + path, path);
        DiskFileStore::write(path, bytes);
    }
    bool armed = false;
    QString failOn;
};

class DayConfirmationFailure : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto files = std::make_unique<FailingFiles>();
        failing = files.get();
        contest = std::make_unique<Contest>(dir.path(), prompter, std::move(files));
        contest->open();
        Contest &c = *contest;
        prepareCompetition(c, 2, true);
        installEntries(c, {makeEntry(QStringLiteral("甲"), {11, 12}, 20)});
        setMarks(c, 1, {{11, MarkWin}, {12, MarkAbsent}});
    }
    void TearDown() override { contest->close(false); }
    QByteArray file(const QString &name) const
    {
        return readBytes(dir.path() + QStringLiteral("/Data/") + name);
    }

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    FailingFiles *failing = nullptr;
    std::unique_ptr<Contest> contest;
    ScriptedRandom random;
};

TEST_F(DayConfirmationFailure, BeforeTheCommitPointNothingOfTheDayIsKept)
{
    Contest &c = *contest;
    const Roster marks = c.roster();
    const std::vector<EntryRecord> entries = c.entries();
    const QByteArray credit = file(QStringLiteral("Credit.Dat"));
    const QByteArray entryFile = file(QStringLiteral("Entry.Dat"));

    // The unit's manifest cannot be written.
    failing->failOn = QStringLiteral(".kcj");
    failing->armed = true;
    EXPECT_THROW(confirmDay(c, 1, random), StoreError);
    EXPECT_EQ(c.rules().currentDay, 0);
    EXPECT_EQ(c.rules().flag, 10);
    EXPECT_EQ(c.roster().wrestlers, marks.wrestlers);
    EXPECT_EQ(c.entries(), entries);
    EXPECT_EQ(rowValue(c, 100, QStringLiteral("合計")).toInt(), 0);
    EXPECT_EQ(rowValue(c, 100, QStringLiteral("力士2")).toString(), c.roster().name(12));
    EXPECT_EQ(file(QStringLiteral("Credit.Dat")), credit);
    EXPECT_EQ(file(QStringLiteral("Entry.Dat")), entryFile);

    // Once the disk takes it, the same day confirms.
    failing->armed = false;
    EXPECT_EQ(confirmDay(c, 1, random), ConfirmOutcome::Confirmed);
    EXPECT_EQ(c.entries()[0].picks[1], 20);
    EXPECT_EQ(rowValue(c, 100, QStringLiteral("合計")).toInt(), 2);
}

TEST_F(DayConfirmationFailure, AfterTheCommitPointTheDayStands)
{
    Contest &c = *contest;
    // Committed, then Entry.Dat cannot be put in place.
    failing->failOn = QStringLiteral("Entry.Dat");
    failing->armed = true;
    EXPECT_THROW(confirmDay(c, 1, random), StoreError);
    EXPECT_EQ(c.rules().currentDay, 1);
    EXPECT_EQ(c.entries()[0].picks[1], 20);

    failing->armed = false;
    c.reload();
    EXPECT_EQ(c.rules().currentDay, 1);
    EXPECT_EQ(c.entries()[0].picks[1], 20);
    EXPECT_EQ(readEntryFile(dir.path() + QStringLiteral("/Data/Entry.Dat")), c.entries());
    EXPECT_EQ(rowValue(c, 100, QStringLiteral("合計")).toInt(), 2);
}

} // namespace
