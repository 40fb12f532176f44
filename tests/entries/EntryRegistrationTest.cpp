#include "entries/EntryRegistration.h"
#include "EntryTestSupport.h"
#include "store/RecordFile.h"
#include "store/RecordSet.h"
#include "store/StoreError.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

int rankOfRow(Contest &c, int id)
{
    RecordSet rs(c.database(), QStringLiteral("entry00"));
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        if (rs.intValue(QStringLiteral("ID")) == id)
            return rs.intValue(QStringLiteral("順位"));
    return -1;
}

class EntryRegistrationTest : public ::testing::Test
{
protected:
    void SetUp() override { contest = &openDecidedContest(tc); }
    TempContest tc;
    Contest *contest = nullptr;
};

TEST_F(EntryRegistrationTest, FirstEntryIsId100AndTheBlankPageShowsTheNextId)
{
    EntryRegistration reg(*contest);
    const auto r = reg.add(validForm(QStringLiteral("若葉")));
    ASSERT_TRUE(r.validation.ok());
    EXPECT_EQ(r.index, 0);

    // Registered at once: phase 3 on disk, Entry.Dat with one record.
    EXPECT_EQ(contest->rules().flag, 3);
    const auto credit
        = recordfile::readOne<RulesRecord>(contest->files(), contest->paths().credit, 1);
    EXPECT_EQ(credit.flag, 3);
    EXPECT_EQ(readBytes(tc.dataFile(QStringLiteral("Entry.Dat"))).size(), EntryRecord::Size);
    EXPECT_EQ(rankOfRow(*contest, 100), 0);
    expectMirror(*contest);

    // A restart (a crash before the window closed) finds the entry.
    tc.open();
    ASSERT_EQ(tc.contest().participantCount(), 1);
    EXPECT_EQ(tc.contest().entries()[0].shikona, QStringLiteral("若葉"));
}

TEST_F(EntryRegistrationTest, ARefusedFormChangesNothing)
{
    EntryRegistration reg(*contest);
    const auto r = reg.add(formWith(QStringLiteral("若葉"), {QStringLiteral("20")}, QString()));
    EXPECT_EQ(r.validation.message, QStringLiteral("力士が選択されていません。"));
    EXPECT_EQ(reg.participantCount(), 0);
    EXPECT_EQ(contest->database().rowCount(QStringLiteral("entry00")), 0);
    EXPECT_EQ(contest->rules().flag, 1);
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Entry.Dat"))));
}

TEST_F(EntryRegistrationTest, UpdateRestartsTheEntry)
{
    EntryRegistration reg(*contest);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(reg.add(validForm(QStringLiteral("力%1").arg(i), i)).validation.ok());
    contest->entries()[1].totalScore = 77; // as if a tally had run
    EntryForm f = reg.formOf(1);
    EXPECT_EQ(f.picks[0], QStringLiteral("21"));
    EXPECT_EQ(f.reserve, QStringLiteral("31"));
    f.shikona = QStringLiteral("新しい名");
    f.picks[0] = QStringLiteral("38");
    ASSERT_TRUE(reg.update(1, f).ok());
    EXPECT_EQ(contest->entries()[1].shikona, QStringLiteral("新しい名"));
    EXPECT_EQ(contest->entries()[1].picks[0], 28);
    EXPECT_EQ(contest->entries()[1].totalScore, 0);
    // The rank written is the position + 1.
    EXPECT_EQ(rankOfRow(*contest, 101), 2);
    expectMirror(*contest);

    EXPECT_TRUE(reg.update(2, reg.formOf(2)).ok());

    // A refused update leaves everything as it was.
    f.picks[2] = f.picks[0];
    const auto refused = reg.update(1, f);
    EXPECT_EQ(refused.message, QStringLiteral("力士が重複しています。"));
    EXPECT_EQ(contest->entries()[1].picks[2], 13);
}

TEST_F(EntryRegistrationTest, DeletingId101OfThreeRenumbersRowsAndArray)
{
    EntryRegistration reg(*contest);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(reg.add(validForm(QStringLiteral("力%1").arg(i), i)).validation.ok());
    const EntryRecord former102 = contest->entries()[2];

    tc.prompter.answers = {false};
    EXPECT_FALSE(reg.remove(1));
    EXPECT_EQ(tc.prompter.questions.last(),
              QStringLiteral("現在表示の 力1 さんを削除します。 よろしいですか？"));
    EXPECT_EQ(tc.prompter.lastQuestion.title, QStringLiteral("登録ﾃﾞｰﾀの削除"));
    EXPECT_EQ(reg.participantCount(), 3);

    ASSERT_TRUE(reg.remove(1));
    ASSERT_EQ(reg.participantCount(), 2);
    EXPECT_EQ(contest->entries()[1], former102);
    EXPECT_EQ(contest->entries()[0].shikona, QStringLiteral("力0"));
    // Ranks written during renumbering are the 0-based positions.
    EXPECT_EQ(rankOfRow(*contest, 100), 0);
    EXPECT_EQ(rankOfRow(*contest, 101), 1);
    EXPECT_EQ(rankOfRow(*contest, 102), -1);
    expectMirror(*contest);

    // Deleting the last one and then the only one.
    ASSERT_TRUE(reg.remove(1));
    ASSERT_TRUE(reg.remove(0));
    EXPECT_EQ(reg.participantCount(), 0);
    EXPECT_EQ(readBytes(tc.dataFile(QStringLiteral("Entry.Dat"))).size(), 0);
    expectMirror(*contest);
}

TEST_F(EntryRegistrationTest, ThreeHundredEntriesFillTheTable)
{
    EntryRegistration reg(*contest);
    for (int i = 0; i < kEntryCapacity; ++i)
        ASSERT_TRUE(reg.add(validForm(QStringLiteral("参加者%1").arg(i), i % 10)).validation.ok());
    const auto full = reg.add(validForm(QStringLiteral("もう一人")));
    EXPECT_FALSE(full.validation.ok());
    EXPECT_EQ(full.validation.message, QStringLiteral("登録できる参加者は300名までです。"));
    EXPECT_EQ(reg.participantCount(), 300);
    expectMirror(*contest);
    EXPECT_TRUE(reg.update(299, reg.formOf(299)).ok());
}

TEST_F(EntryRegistrationTest, CloseWritesEntryDatAndMovesToPhaseThree)
{
    EntryRegistration reg(*contest);
    ASSERT_TRUE(reg.add(validForm(QStringLiteral("若葉"))).validation.ok());
    contest->rules().flag = 1; // as if the rules had been reopened
    QFile::remove(tc.dataFile(QStringLiteral("Entry.Dat")));
    reg.close();
    EXPECT_EQ(contest->rules().flag, 3);
    expectMirror(*contest);
}

TEST_F(EntryRegistrationTest, ClosedRegistrationIsExplained)
{
    EntryRegistration reg(*contest);
    EXPECT_TRUE(reg.closedReason().isEmpty());
    contest->rules().flag = 0;
    EXPECT_FALSE(reg.closedReason().isEmpty());
    contest->rules().flag = 5;
    EXPECT_FALSE(reg.closedReason().isEmpty());
}

// The action's files cannot be written (its journal is the first write): it fails as a whole.
class FailingEntryStore : public DiskFileStore
{
public:
    void write(const QString &path, const QByteArray &bytes) override
    {
        if (failEntry
            && (path.endsWith(QStringLiteral("Entry.Dat"))
                || path.contains(QStringLiteral("/.journal/"))))
            throw StoreError(QStringLiteral("Entry.Dat に書き込めません。"), path);
        DiskFileStore::write(path, bytes);
    }
    bool failEntry = false;
};

TEST(EntryRegistrationFailure, AFailedSaveLeavesArrayTableAndPhaseAsTheyWere)
{
    TempContest tc;
    openDecidedContest(tc);
    tc.close();
    auto store = std::make_unique<FailingEntryStore>();
    FailingEntryStore *files = store.get();
    Contest c(tc.root(), tc.prompter, std::move(store));
    c.open();
    EntryRegistration reg(c);
    ASSERT_TRUE(reg.add(validForm(QStringLiteral("一人目"))).validation.ok());
    files->failEntry = true;
    EXPECT_THROW(reg.add(validForm(QStringLiteral("二人目"), 1)), StoreError);
    EXPECT_EQ(c.participantCount(), 1);
    EXPECT_EQ(c.database().rowCount(QStringLiteral("entry00")), 1);
    EXPECT_EQ(c.entryTable().count(), 1);
    EXPECT_THROW(reg.remove(0), StoreError);
    EXPECT_EQ(c.participantCount(), 1);
    EXPECT_EQ(c.database().rowCount(QStringLiteral("entry00")), 1);
    files->failEntry = false;
    expectMirror(c);
    c.close(false);
}

} // namespace
