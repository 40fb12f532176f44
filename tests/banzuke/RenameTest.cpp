#include "ScoringFixture.h"

#include "banzuke/Renaming.h"
#include "store/RecordFile.h"
#include "store/RecordSet.h"
#include "store/Roster.h"

#include <gtest/gtest.h>

using namespace kc;
using kc::test::TempContest;

namespace {

std::vector<RenameRecord> renameFile(TempContest &tc)
{
    const QByteArray bytes = kc::test::readBytes(tc.dataFile(QStringLiteral("Rename.Dat")));
    std::vector<RenameRecord> out;
    for (qsizetype i = 0; i + RenameRecord::Size <= bytes.size(); i += RenameRecord::Size)
        out.push_back(RenameRecord::decode(bytes.mid(i, RenameRecord::Size)));
    return out;
}

int usedEntries(const std::vector<RenameRecord> &list)
{
    int n = 0;
    for (const RenameRecord &r : list)
        if (!r.oldName.trimmed().isEmpty())
            ++n;
    return n;
}

// Saves the current names with some replaced, as 登録終了 does.
std::optional<QString> renameSlots(Contest &c, const std::vector<std::pair<int, QString>> &changes)
{
    renaming::RenameSession session(c);
    auto typed = session.form().names;
    for (const auto &[slot, name] : changes)
        typed[slot] = name;
    return session.save(typed);
}

// Three participants picking slots 0/1/2 and 5 with reserves, registered.
void addEntries(Contest &c)
{
    c.rules().pickCount = 2;
    c.rules().useReserve = 1;
    for (int k = 0; k < 3; ++k) {
        EntryRecord e = EntryRecord::cleared();
        e.shikona = QStringLiteral("参加者%1").arg(k);
        e.picks[0] = qint16(k);
        e.picks[1] = 5;
        e.reserve = e.reserveList[0] = 5;
        // As after a substitution: the queue moved on, the registered reserve did not.
        if (k == 0)
            e.reserveList[0] = 7;
        c.entries().push_back(e);
    }
    c.rebuildEntryTable();
}

} // namespace

TEST(RenameSave, OneRenameCreatesEntriesForAll)
{
    TempContest tc;
    Contest &c = tc.open();
    const renaming::RenameForm form = renaming::RenameSession(c).form();
    EXPECT_EQ(form.labels[0], u"10:武蔵丸");
    EXPECT_EQ(form.names[5].trimmed(), u"武双山");

    ASSERT_FALSE(renameSlots(c, {{5, QStringLiteral("雅王")}}));
    const auto list = renameFile(tc);
    ASSERT_EQ(list.size(), 200u); // 4000 bytes
    EXPECT_EQ(usedEntries(list), 40);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(list[i].oldName.trimmed(), c.roster().initialNames[i].trimmed());
        if (i != 5) {
            EXPECT_EQ(list[i].newName.trimmed(), list[i].oldName.trimmed()) << i;
        }
    }
    EXPECT_EQ(list[5].oldName.trimmed(), u"武双山");
    EXPECT_EQ(list[5].newName.trimmed(), u"雅王");
    EXPECT_EQ(c.roster().name(5), u"雅王");

    Contest &again = tc.open();
    EXPECT_EQ(again.roster().name(5), u"雅王");
    EXPECT_EQ(again.roster().initialNames[5].trimmed(), u"武双山");
    EXPECT_EQ(again.roster().name(4), u"栃東");
    EXPECT_EQ(renaming::RenameSession(again).form().names[5].trimmed(), u"雅王");
}

TEST(RenameSave, LaterRenamesReuseTheEntries)
{
    TempContest tc;
    Contest &c = tc.open();
    ASSERT_FALSE(renameSlots(c, {{5, QStringLiteral("甲")}}));
    ASSERT_FALSE(renameSlots(c, {{7, QStringLiteral("乙")}}));
    // The same wrestler renamed again keeps his one entry and the last name.
    ASSERT_FALSE(renameSlots(c, {{5, QStringLiteral("丙")}}));
    const auto list = renameFile(tc);
    EXPECT_EQ(usedEntries(list), 40);
    EXPECT_EQ(list[5].newName.trimmed(), u"丙");
    EXPECT_EQ(list[7].newName.trimmed(), u"乙");
    EXPECT_EQ(c.roster().name(5), u"丙");

    Contest &again = tc.open();
    EXPECT_EQ(again.roster().name(5), u"丙");
    EXPECT_EQ(again.roster().name(7), u"乙");
}

TEST(RenameSave, RefusalsWriteNothing)
{
    TempContest tc;
    Contest &c = tc.open();
    const auto empty = renameSlots(c, {{3, QStringLiteral("  ")}});
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->contains(u"13番"));
    EXPECT_TRUE(renameSlots(c, {{3, QStringLiteral("とてもながいなまえ")}}));
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Rename.Dat"))));

    // A list whose 100 usable entries belong to others has no room for a rename.
    std::vector<RenameRecord> full(200);
    for (int i = 0; i < 100; ++i)
        full[i] = {QStringLiteral("他%1").arg(i), QStringLiteral("他%1").arg(i)};
    kc::test::writeBytes(tc.dataFile(QStringLiteral("Rename.Dat")),
                         recordfile::encodeAll<RenameRecord>(full));
    const auto noRoom = renameSlots(c, {{3, QStringLiteral("新名")}});
    ASSERT_TRUE(noRoom);
    EXPECT_TRUE(noRoom->contains(u"一杯"));
    EXPECT_EQ(renameFile(tc), full);
    EXPECT_EQ(c.roster().name(3), u"魁皇");
}

TEST(RenameSave, RikishiFileAndEntryTableFollow)
{
    TempContest tc;
    Contest &c = tc.open();
    addEntries(c);
    c.roster().wrestlers[5].dayResult[0] = MarkWin;
    c.saveWrestlers();
    ASSERT_FALSE(renameSlots(c, {{5, QStringLiteral("雅王")}, {1, QStringLiteral("貴花")}}));

    EXPECT_EQ(test::rowValue(c, 100, QStringLiteral("力士1")).toString(), u"武蔵丸");
    EXPECT_EQ(test::rowValue(c, 101, QStringLiteral("力士1")).toString(), u"貴花");
    EXPECT_EQ(test::rowValue(c, 102, QStringLiteral("力士2")).toString(), u"雅王");
    EXPECT_EQ(test::rowValue(c, 102, QStringLiteral("予備力士")).toString(), u"雅王");
    EXPECT_EQ(test::rowValue(c, 100, QStringLiteral("予備力士")).toString(),
              u"雅王"); // as registered

    const auto rikishi = recordfile::readAll<WrestlerRecord>(
        c.files(), tc.dataFile(QStringLiteral("Rikishi.Dat")));
    ASSERT_EQ(rikishi.size(), 40u);
    EXPECT_EQ(rikishi[5].name.trimmed(), u"雅王");
    EXPECT_EQ(rikishi[5].dayResult[0], MarkWin);

    Contest &again = tc.open();
    EXPECT_EQ(again.roster().name(1), u"貴花");
    EXPECT_EQ(again.roster().wrestlers[5].dayResult[0], MarkWin);
}

TEST(RenameOperation, AsksFirstAndReportsNamesChanged)
{
    TempContest tc;
    Contest &c = tc.open();
    tc.prompter.answers = {false};
    bool opened = false;
    EXPECT_FALSE(renaming::runRename(c, [&](renaming::RenameSession &) { opened = true; }));
    EXPECT_FALSE(opened);
    EXPECT_EQ(tc.prompter.questions.value(0), u"力士名変換ﾃｰﾌﾞﾙのﾃﾞｰﾀを参照いたします。");

    // Cancelled window: nothing changed.
    EXPECT_FALSE(renaming::runRename(c, [&](renaming::RenameSession &) { opened = true; }));
    EXPECT_TRUE(opened);
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Rename.Dat"))));

    EXPECT_TRUE(renaming::runRename(c, [](renaming::RenameSession &s) {
        auto typed = s.form().names;
        typed[0] = QStringLiteral("武蔵");
        EXPECT_FALSE(s.save(typed));
    }));
    EXPECT_EQ(c.roster().name(0), u"武蔵");
}

TEST(RenameKill, AsksThenDeletesAndTheNextStartShowsBanzukeNames)
{
    TempContest tc;
    Contest &c = tc.open();
    c.saveWrestlers(); // names at start-up come from here too
    ASSERT_FALSE(renameSlots(c, {{2, QStringLiteral("大海")}}));
    ASSERT_EQ(tc.open().roster().name(2), u"大海");

    Contest &c2 = tc.contest();
    tc.prompter.answers = {false};
    EXPECT_FALSE(renaming::killList(c2));
    EXPECT_TRUE(QFile::exists(tc.dataFile(QStringLiteral("Rename.Dat"))));
    EXPECT_TRUE(renaming::killList(c2));
    EXPECT_EQ(tc.prompter.questions.last(), u"力士名変換ﾌｧｲﾙを削除します。よろしいですか。");
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Rename.Dat"))));
    EXPECT_EQ(c2.roster().name(2), u"大海"); // memory keeps it until the next load

    Contest &again = tc.open();
    EXPECT_EQ(again.roster().name(2), u"千代大海");
}

TEST(RenameRecover, DefaultNamesBackWithDayResultsKept)
{
    TempContest tc;
    Contest &c = tc.open();
    addEntries(c);
    // A registered banzuke of 3, renamed, with results.
    BanzukeRecord b;
    b.bashoName = QStringLiteral("場所");
    b.bashoCode = QStringLiteral("0001");
    b.wrestlerCount = 3;
    b.names[0] = QStringLiteral("甲");
    b.names[1] = QStringLiteral("乙");
    b.names[2] = QStringLiteral("丙");
    kc::test::writeBytes(tc.dataFile(QStringLiteral("Banzuke.Dat")), b.encode());
    c.loadRoster();
    ASSERT_FALSE(renameSlots(c, {{0, QStringLiteral("丁")}}));
    c.roster().wrestlers[0].dayResult = {1, 2, 3, 4, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6};
    c.roster().wrestlers[2].dayResult[3] = MarkWin;
    c.saveWrestlers();

    renaming::recoverDefaultNames(c);
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Banzuke.Dat"))));
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Rename.Dat"))));
    EXPECT_EQ(c.roster().wrestlerCount, 40);
    EXPECT_EQ(c.roster().name(0), u"武蔵丸");
    EXPECT_EQ(c.roster().wrestlers[0].dayResult[2], 3);
    EXPECT_EQ(c.roster().wrestlers[2].dayResult[3], MarkWin);
    EXPECT_EQ(c.roster().wrestlers[3].dayResult[3], 0);
    EXPECT_EQ(test::rowValue(c, 102, QStringLiteral("力士1")).toString(), u"千代大海");
    EXPECT_EQ(test::rowValue(c, 100, QStringLiteral("力士2")).toString(), u"武双山");

    Contest &again = tc.open();
    EXPECT_EQ(again.roster().name(0), u"武蔵丸");
    EXPECT_EQ(again.roster().wrestlers[0].dayResult[2], 3);
}
