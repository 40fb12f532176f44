#include "EntryTestSupport.h"
#include "store/RecordFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

class EntryCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        openDecidedContest(tc);
        tc.close();
    }
    CliResult cli(QStringList args)
    {
        return runCli(QStringList {QStringLiteral("--dir"), tc.root()} + args);
    }
    CliResult add(const QString &shikona, const QString &picks, const QString &reserve)
    {
        return cli({QStringLiteral("entry"), QStringLiteral("add"), QStringLiteral("--shikona"),
                    shikona, QStringLiteral("--picks"), picks, QStringLiteral("--reserve"),
                    reserve});
    }
    // Opens the folder to check the files, then lets the next command in.
    void expectFolderMirror()
    {
        expectMirror(tc.open());
        tc.close();
    }
    TempContest tc;
};

const QString kPicks = QStringLiteral("20,21,22,23,24,25,26");

TEST_F(EntryCommandsTest, AddPrintsTheNewIdAndListShowsTheEntry)
{
    auto r = add(QStringLiteral("若葉"), kPicks, QStringLiteral("30"));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("100"));
    r = cli({QStringLiteral("entry"), QStringLiteral("add"), QStringLiteral("--shikona=二人目"),
             QStringLiteral("--furigana"), QStringLiteral("ﾌﾀﾘﾒ"), QStringLiteral("--member"),
             QStringLiteral("佐藤"), QStringLiteral("--mail"), QStringLiteral("s@example.jp"),
             QStringLiteral("--picks"), QStringLiteral("27,28,29,30,31,32,33"),
             QStringLiteral("--reserve"), QStringLiteral("34")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("101"));
    expectFolderMirror();

    r = cli({QStringLiteral("entry"), QStringLiteral("list"), QStringLiteral("--json")});
    ASSERT_EQ(r.code, 0);
    const QJsonArray list = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(list.size(), 2);
    const QJsonObject second = list[1].toObject();
    EXPECT_EQ(second[QStringLiteral("id")].toInt(), 101);
    EXPECT_EQ(second[QStringLiteral("shikona")].toString(), QStringLiteral("二人目"));
    EXPECT_EQ(second[QStringLiteral("member")].toString(), QStringLiteral("佐藤"));
    EXPECT_EQ(second[QStringLiteral("enteredPicks")].toArray().size(), 7);
    EXPECT_EQ(second[QStringLiteral("picks")].toArray()[0].toInt(), 27);
    EXPECT_EQ(second[QStringLiteral("reserve")].toInt(), 34);
    EXPECT_EQ(second[QStringLiteral("reserveList")].toArray()[1].toInt(), 35);

    r = cli({QStringLiteral("entry"), QStringLiteral("list")});
    EXPECT_TRUE(r.out.contains(QStringLiteral("若葉"))) << r.out.toStdString();
    EXPECT_EQ(r.out.count(u'\n'), 2);
}

TEST_F(EntryCommandsTest, RefusalsUseTheWindowsMessagesAndChangeNothing)
{
    auto r = add(QStringLiteral("若葉"), QStringLiteral("20,21,22"), QStringLiteral("30"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("力士が選択されていません。"));
    // The duplicate is found on the later box even with empty boxes further on.
    r = add(QStringLiteral("若葉"), QStringLiteral("20,21,22,21"), QStringLiteral("30"));
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("力士が重複しています。"));
    r = add(QStringLiteral("若葉"), QStringLiteral("20,21,22,21,24,25,26"), QStringLiteral("30"));
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("力士が重複しています。"));
    r = add(QStringLiteral("若葉"), QStringLiteral("20,21,22,23,24,25,60"), QStringLiteral("30"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.trimmed(),
              QStringLiteral("力士番号が正しくありません。10～49の番号を入力してください。"));
    r = add(QStringLiteral("若葉"), kPicks, QStringLiteral("10"));
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("予備力士に大関、横綱は指定できません。"));
    r = add(QString(), kPicks, QStringLiteral("30"));
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("四股名がありません。"));
    EXPECT_EQ(tc.open().participantCount(), 0);
    tc.close();

    // Usage errors name the argument.
    r = cli({QStringLiteral("entry"), QStringLiteral("add"), QStringLiteral("--colour"),
             QStringLiteral("red")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("--colour")));
    r = add(QStringLiteral("若葉"), QStringLiteral("20,21,22,23,24,25,26,27"),
            QStringLiteral("30"));
    EXPECT_EQ(r.code, 2);
}

TEST_F(EntryCommandsTest, UpdateReplacesOnlyTheFieldsGiven)
{
    ASSERT_EQ(add(QStringLiteral("若葉"), kPicks, QStringLiteral("30")).code, 0);
    auto r = cli({QStringLiteral("entry"), QStringLiteral("update"), QStringLiteral("100"),
                  QStringLiteral("--reserve"), QStringLiteral("35"), QStringLiteral("--tel"),
                  QStringLiteral("03-1234")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    Contest &c = tc.open();
    EXPECT_EQ(c.entries()[0].shikona, QStringLiteral("若葉"));
    EXPECT_EQ(c.entries()[0].picks[6], 16);
    EXPECT_EQ(c.entries()[0].reserve, 25);
    EXPECT_EQ(c.entries()[0].tel, QStringLiteral("03-1234"));
    expectMirror(c);
    tc.close();

    r = cli({QStringLiteral("entry"), QStringLiteral("update"), QStringLiteral("100"),
             QStringLiteral("--picks"), QStringLiteral("20,21")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("力士が選択されていません。"));
    r = cli({QStringLiteral("entry"), QStringLiteral("update"), QStringLiteral("105")});
    EXPECT_EQ(r.code, 1);
}

TEST_F(EntryCommandsTest, DeleteAsksAndRenumbers)
{
    for (const QString &name : {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")})
        ASSERT_EQ(add(name, kPicks, QStringLiteral("30")).code, 0);
    auto r = cli({QStringLiteral("--no"), QStringLiteral("entry"), QStringLiteral("delete"),
                  QStringLiteral("101")});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(
        r.err.contains(QStringLiteral("現在表示の 二 さんを削除します。 よろしいですか？")));
    r = cli({QStringLiteral("--yes"), QStringLiteral("entry"), QStringLiteral("delete"),
             QStringLiteral("101")});
    ASSERT_EQ(r.code, 0);
    Contest &c = tc.open();
    ASSERT_EQ(c.participantCount(), 2);
    EXPECT_EQ(c.entries()[1].shikona, QStringLiteral("三"));
    expectMirror(c);
    tc.close();
}

TEST_F(EntryCommandsTest, ImportAsksAndReportsMissingFiles)
{
    auto r = cli({QStringLiteral("--yes"), QStringLiteral("entry"), QStringLiteral("import"),
                  QStringLiteral("ranking")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("先場所のﾗﾝｷﾝｸﾞﾌｧｲﾙがありません"));
    writeEntryFile(tc.dataFile(QStringLiteral("Ranking.Dat")), 45, QStringLiteral("順位"));
    r = cli({QStringLiteral("--no"), QStringLiteral("entry"), QStringLiteral("import"),
             QStringLiteral("ranking")});
    EXPECT_EQ(r.code, 3);
    r = cli({QStringLiteral("--yes"), QStringLiteral("entry"), QStringLiteral("import"),
             QStringLiteral("ranking")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("45")));
    expectFolderMirror();
    // Once someone is registered the import is closed.
    r = cli({QStringLiteral("--yes"), QStringLiteral("entry"), QStringLiteral("import"),
             QStringLiteral("ranking")});
    EXPECT_EQ(r.code, 1);
    r = cli({QStringLiteral("entry"), QStringLiteral("import"), QStringLiteral("lastyear")});
    EXPECT_EQ(r.code, 2);
}

TEST_F(EntryCommandsTest, NothingBeforeTheRulesAreDecided)
{
    Contest &c = tc.open();
    c.rules().flag = 0;
    c.saveRules();
    tc.close();
    const auto r = add(QStringLiteral("若葉"), kPicks, QStringLiteral("30"));
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_EQ(tc.open().participantCount(), 0);
    tc.close();
}

} // namespace
