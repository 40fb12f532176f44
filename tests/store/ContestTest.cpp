#include "ScoringFixture.h"

#include "store/RecordFile.h"
#include "store/StoreError.h"
#include "store/Text.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

// A contest with three registered participants, closed again.
void registerThree(TempContest &t)
{
    Contest &c = t.open();
    c.rules().flag = 3;
    c.saveRules();
    c.entries() = {makeEntry(QStringLiteral("一郎"), {11, 20, 21}),
                   makeEntry(QStringLiteral("二郎"), {12, 22}),
                   makeEntry(QStringLiteral("三郎"), {30, 31, 32}, 19)};
    c.saveEntries();
    c.rebuildEntryTable();
    t.close();
}

} // namespace

TEST(ContestStartup, FirstRunInAnEmptyFolderWritesTheDefaults)
{
    TempContest t;
    Contest &c = t.open();
    EXPECT_EQ(readBytes(t.dataFile(QStringLiteral("Credit.Dat"))),
              RulesRecord::firstRunDefaults().encode());
    EXPECT_EQ(readBytes(t.dataFile(QStringLiteral("Record.Dat"))),
              DailyRecords::firstRunDefaults().encode());
    EXPECT_TRUE(QFile::exists(t.dataFile(QStringLiteral("kch.kch"))));
    EXPECT_EQ(c.database().rowCount(QStringLiteral("entry00")), 0);
    EXPECT_EQ(c.database().rowCount(QStringLiteral("PRIZE")), 0);
    EXPECT_EQ(c.participantCount(), 0);
    EXPECT_EQ(c.rules().flag, 0);
    EXPECT_EQ(c.roster().wrestlerCount, 40);
    EXPECT_TRUE(t.prompter.messages.isEmpty());
    // A second start reads what the first wrote and writes nothing new.
    const QString data = c.paths().data;
    const auto before = snapshotFiles(data);
    t.open();
    EXPECT_EQ(snapshotFiles(data).keys(), before.keys());
    EXPECT_EQ(t.contest().rules().encode(), RulesRecord::firstRunDefaults().encode());
}

TEST(ContestStartup, EntriesComeBackFromEntryDatAndTheTable)
{
    TempContest t;
    registerThree(t);
    Contest &c = t.open();
    ASSERT_EQ(c.participantCount(), 3);
    EXPECT_EQ(c.entries()[2].shikona, QStringLiteral("三郎"));
    EXPECT_EQ(c.entries()[2].reserve, 19);
    RecordSet &rs = c.entryTable();
    rs.setSort(QStringLiteral("ID ASC"));
    rs.moveTo(2);
    EXPECT_EQ(rs.intValue(QStringLiteral("ID")), 102);
    EXPECT_EQ(rs.textValue(QStringLiteral("力士1")), c.roster().name(30));
    EXPECT_EQ(rs.textValue(QStringLiteral("予備力士")), c.roster().name(19));
    EXPECT_TRUE(t.prompter.messages.isEmpty());
}

TEST(ContestStartup, SecondCopyOnTheSameFolderIsRefused)
{
    TempContest t;
    t.open();
    ScriptedPrompter p;
    Contest second(t.root(), p);
    try {
        second.open();
        FAIL() << "second copy opened";
    } catch (const StoreError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("使用中"))) << e.message().toStdString();
    }
    t.close();
    Contest third(t.root(), p);
    EXPECT_NO_THROW(third.open());
}

// Each damaged file gives a message naming it and leaves every file as it was.
TEST(ContestStartup, DamagedFilesAreReportedByNameAndNothingChanges)
{
    struct Case
    {
        const char *file;
        std::function<void(QByteArray &)> damage;
    };
    const std::vector<Case> cases = {
        {"Credit.Dat", [](QByteArray &b) { b.truncate(100); }},
        {"Credit.Dat", [](QByteArray &b) { b.append(10, '\0'); }},
        {"Credit.Dat", [](QByteArray &b) { setI16(b, 24, 500); }}, // PickCount
        {"Credit.Dat", [](QByteArray &b) { setI16(b, 60, 16); }}, // CurrentDay
        {"Record.Dat", [](QByteArray &b) { b.truncate(299); }},
        {"Entry.Dat", [](QByteArray &b) { b.append(100, ' '); }},
        {"Banzuke.Dat", [](QByteArray &b) { setI16(b, 608, 99); }}, // WrestlerCount
        {"Banzuke.Dat", [](QByteArray &b) { b.truncate(600); }},
        {"Rikishi.Dat", [](QByteArray &b) { setI16(b, 42 + 12, 9); }}, // a mark of 9
        {"Rikishi.Dat", [](QByteArray &b) { b.truncate(42 * 3); }},
    };
    for (const Case &k : cases) {
        TempContest t;
        registerThree(t);
        {
            Contest &c = t.open();
            c.roster().wrestlers[1].dayResult[0] = MarkWin;
            c.saveWrestlers();
            recordfile::writeAll<BanzukeRecord>(
                c.files(), c.paths().banzuke, std::vector<BanzukeRecord> {c.roster().toBanzuke()});
            t.close();
        }
        const QString path = t.dataFile(QString::fromLatin1(k.file));
        QByteArray bytes = readBytes(path);
        ASSERT_FALSE(bytes.isEmpty()) << k.file;
        k.damage(bytes);
        writeBytes(path, bytes);
        const auto before = snapshotFiles(t.root() + QStringLiteral("/Data"));
        t.prompter.defaultAnswer = false; // a repair offered is declined
        try {
            t.open();
            ADD_FAILURE() << "opened with a damaged " << k.file;
        } catch (const StoreError &e) {
            EXPECT_TRUE(e.message().contains(QString::fromLatin1(k.file)))
                << e.message().toStdString();
        }
        EXPECT_EQ(snapshotFiles(t.root() + QStringLiteral("/Data")), before) << k.file;
        // The folder is not left locked.
        ScriptedPrompter p;
        Contest again(t.root(), p);
        try {
            again.open();
        } catch (const StoreError &e) {
            EXPECT_FALSE(e.message().contains(QStringLiteral("使用中"))) << k.file;
        }
    }
}

TEST(ContestMirror, TableRebuiltFromEntryDatWhenTheyDisagree)
{
    TempContest t;
    registerThree(t);
    {
        // The table loses a row behind the program's back.
        Database db;
        db.open(t.dataFile(QStringLiteral("kch.kch")));
        db.exec(QStringLiteral("DELETE FROM entry00 WHERE \"ID\" = 101"));
    }
    Contest &c = t.open();
    EXPECT_EQ(c.participantCount(), 3);
    EXPECT_EQ(c.database().rowCount(QStringLiteral("entry00")), 3);
    ASSERT_EQ(t.prompter.messages.size(), 1);
    EXPECT_TRUE(t.prompter.messages[0].contains(QStringLiteral("作り直しました")));
    t.prompter.messages.clear();
    t.open();
    EXPECT_TRUE(t.prompter.messages.isEmpty()); // told once
}

TEST(ContestMirror, RowsBeyondTheFileAreKept)
{
    TempContest t;
    registerThree(t);
    QByteArray bytes = readBytes(t.dataFile(QStringLiteral("Entry.Dat")));
    writeBytes(t.dataFile(QStringLiteral("Entry.Dat")), bytes.left(752 * 2));
    Contest &c = t.open();
    ASSERT_EQ(c.participantCount(), 3);
    EXPECT_EQ(c.entries()[2].shikona, QStringLiteral("三郎"));
    EXPECT_EQ(c.entries()[2].picks[0], 30); // found again by name
    EXPECT_EQ(c.entries()[2].reserve, 19);
    EXPECT_EQ(readBytes(t.dataFile(QStringLiteral("Entry.Dat"))).size(), 752 * 3);
}

TEST(ContestMirror, MissingOrUnreadableDatabaseIsRebuilt)
{
    for (bool garbage : {false, true}) {
        TempContest t;
        registerThree(t);
        const QString db = t.dataFile(QStringLiteral("kch.kch"));
        if (garbage)
            writeBytes(db, QByteArray(4096, 'x'));
        else
            QFile::remove(db);
        Contest &c = t.open();
        EXPECT_EQ(c.database().rowCount(QStringLiteral("entry00")), 3) << garbage;
        EXPECT_EQ(t.prompter.messages.size(), 1) << garbage;
        if (garbage) {
            const QStringList aside
                = QDir(c.paths().data).entryList({QStringLiteral("kch.kch.broken-*")});
            EXPECT_EQ(aside.size(), 1); // kept, not deleted
        }
    }
}

TEST(ContestMirror, PlaceholderRecordBeforeRegistrationIsNoParticipant)
{
    TempContest t;
    {
        Contest &c = t.open();
        c.rules().flag = 1;
        c.saveRules();
        EntryRecord placeholder = EntryRecord::cleared();
        placeholder.picks[0] = 42;
        recordfile::writeOne<EntryRecord>(c.files(), c.paths().entry, 1, placeholder);
        t.close();
    }
    Contest &c = t.open();
    EXPECT_EQ(c.participantCount(), 0);
    EXPECT_TRUE(t.prompter.messages.isEmpty());
}

namespace {
LegacyEntryRecord legacy(const QString &name, int firstPick, int finalRank)
{
    LegacyEntryRecord l;
    l.shikona = name;
    l.mail = QStringLiteral("m@x.jp");
    for (int i = 0; i < 10; ++i) {
        l.ints[i] = qint16(firstPick + i); // picks
        l.ints[10 + i] = qint16(30 + i); // substitutes
    }
    for (int d = 0; d < 15; ++d) {
        l.ints[20 + d] = 1; // gold
        l.ints[35 + d] = 2; // silver
        l.ints[50 + d] = 3; // streak
        l.ints[65 + d] = qint16(10 + d);
        l.ints[81 + d] = 4;
    }
    l.ints[80] = 500;
    l.ints[96] = 200;
    l.ints[97] = qint16(finalRank);
    return l;
}
} // namespace

TEST(LegacyConversion, ConvertsEntryRankingAndBackupFiles)
{
    for (int slack : {0, 19}) {
        TempContest t;
        registerThree(t);
        QByteArray entryOld, bakOld, rankingOld;
        for (int i = 0; i < 3; ++i) {
            entryOld += legacy(QStringLiteral("旧%1").arg(i), 1 + i, 3 - i).encode();
            LegacyEntryRecord b = legacy(QStringLiteral("旧%1").arg(i), 20 + i, 0);
            b.ints[10] = qint16(25 + i);
            bakOld += b.encode();
        }
        for (int i = 0; i < 2; ++i)
            rankingOld += legacy(QStringLiteral("順%1").arg(i), 5, i + 1).encode();
        writeBytes(t.dataFile(QStringLiteral("Entry.Dat")), entryOld + QByteArray(slack, ' '));
        writeBytes(t.dataFile(QStringLiteral("Entry.Bak")), bakOld);
        writeBytes(t.dataFile(QStringLiteral("Ranking.Dat")), rankingOld);

        Contest &c = t.open();
        ASSERT_EQ(t.prompter.informs.size(), 1);
        EXPECT_EQ(t.prompter.informs[0],
                  QStringLiteral(" ﾌｧｲﾙ形式のﾊﾞｰｼﾞｮﾝが旧ﾀｲﾌﾟとなっていますので、変換いたします。"));
        const QByteArray entryNew = readBytes(t.dataFile(QStringLiteral("Entry.Dat")));
        EXPECT_EQ(entryNew.size(), 3 * 752);
        EXPECT_EQ(readBytes(t.dataFile(QStringLiteral("Entry.Bak"))), entryNew);
        EXPECT_EQ(readBytes(t.dataFile(QStringLiteral("Ranking.Dat"))).size(), 2 * 752);

        ASSERT_EQ(c.participantCount(), 3);
        // Record 2 as the older layout held it, the entered picks and reserve
        // from the backup; entered picks beyond the pick count are 0.
        EntryRecord expected = EntryRecord::cleared();
        expected.shikona = QStringLiteral("旧1");
        expected.mail = QStringLiteral("m@x.jp");
        for (int i = 0; i < 10; ++i) {
            expected.picks[i] = qint16(2 + i);
            expected.enteredPicks[i] = qint16(i < 7 ? 21 + i : 0);
            expected.reserveList[i] = qint16(30 + i);
        }
        expected.reserve = 26;
        expected.dayGoldBonus.fill(1);
        expected.daySilverBonus.fill(2);
        expected.dayStreakBonus.fill(3);
        expected.daySpareArray.fill(4);
        for (int d = 0; d < 15; ++d)
            expected.dayTotal[d] = qint16(10 + d);
        expected.dayRank[14] = 2;
        expected.totalScore = 500;
        expected.midScore = 200;
        EXPECT_FIELDS_EQ(c.entries()[1], expected);
        const auto ranking = recordfile::readAll<EntryRecord>(c.files(), c.paths().ranking);
        EXPECT_EQ(ranking[1].shikona, QStringLiteral("順1"));
        EXPECT_EQ(ranking[1].enteredPicks[0], 21); // Entry.Bak record 2
        EXPECT_EQ(ranking[1].dayRank[14], 2);
    }
}

TEST(LegacyConversion, TwentyBytesOffIsNotTheOlderFormat)
{
    TempContest t;
    registerThree(t);
    writeBytes(t.dataFile(QStringLiteral("Entry.Dat")), QByteArray(3 * 342 + 20, ' '));
    t.prompter.defaultAnswer = false; // the repair offered instead is declined
    EXPECT_THROW(t.open(), StoreError);
    EXPECT_TRUE(t.prompter.informs.isEmpty());
}

TEST(ContestReset, AnsweredNoChangesNothing)
{
    TempContest t;
    registerThree(t);
    Contest &c = t.open();
    const auto before = snapshotFiles(c.paths().data);
    t.prompter.answers = {false};
    EXPECT_FALSE(c.reset());
    EXPECT_EQ(t.prompter.questions.value(0),
              QStringLiteral("初期化を行うと、全てのデータが消去されます。よろしいですか。"));
    EXPECT_TRUE(t.prompter.lastQuestion.defaultNo);
    EXPECT_EQ(t.prompter.lastQuestion.icon, Icon::Warning);
    EXPECT_EQ(snapshotFiles(c.paths().data), before);
    EXPECT_EQ(c.participantCount(), 3);
}

TEST(ContestReset, YesClearsTheContestButKeepsTheRulesAndRenames)
{
    TempContest t;
    registerThree(t);
    Contest &c = t.open();
    c.rules().flag = 12;
    c.rules().rulesStart = 1;
    c.rules().currentDay = 2;
    c.rules().pickCount = 5;
    c.saveRules();
    BanzukeRecord b = c.roster().toBanzuke();
    b.bashoName = QStringLiteral("令和元年　五月");
    recordfile::writeAll<BanzukeRecord>(c.files(), c.paths().banzuke,
                                        std::vector<BanzukeRecord> {b});
    writeBytes(c.paths().rename,
               RenameRecord {QStringLiteral("魁皇"), QStringLiteral("魁皇博之")}.encode());
    c.saveWrestlers();
    c.database().exec(QStringLiteral("INSERT INTO PRIZE (\"賞位\") VALUES ('優勝')"));

    ASSERT_TRUE(c.reset());
    EXPECT_EQ(c.rules().flag, 0);
    EXPECT_EQ(c.rules().rulesStart, 0);
    EXPECT_EQ(c.rules().currentDay, 0);
    EXPECT_EQ(c.rules().pickCount, 5);
    EXPECT_EQ(c.participantCount(), 0);
    EXPECT_EQ(c.database().rowCount(QStringLiteral("entry00")), 0);
    EXPECT_EQ(c.database().rowCount(QStringLiteral("PRIZE")), 0);
    for (const char *gone : {"Entry.Dat", "Rikishi.Dat", "Banzuke.Dat"})
        EXPECT_FALSE(QFile::exists(t.dataFile(QString::fromLatin1(gone)))) << gone;
    EXPECT_TRUE(QFile::exists(c.paths().rename));
    EXPECT_EQ(c.roster().bashoName, QStringLiteral("平成14年　九月"));
    EXPECT_EQ(c.roster().name(3), QStringLiteral("魁皇博之"));
    EXPECT_EQ(c.daily(), DailyRecords::resetValues());
    EXPECT_EQ(readBytes(c.paths().record), DailyRecords::resetValues().encode());
    t.open();
    EXPECT_EQ(t.contest().rules().flag, 0);
}

TEST(ContestShutdown, CloseButtonSavesTheRulesAndTheMenuDoesNot)
{
    TempContest t;
    t.open().rules().title = QStringLiteral("変更");
    t.contest().close(false);
    t.open();
    EXPECT_EQ(t.contest().rules().title, QStringLiteral("無題"));
    t.contest().rules().title = QStringLiteral("変更");
    t.contest().close(true);
    t.open();
    EXPECT_EQ(t.contest().rules().title, QStringLiteral("変更"));
}
