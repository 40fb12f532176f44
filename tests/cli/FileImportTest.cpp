#include "ScoringFixture.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;
using namespace Qt::StringLiterals;

namespace {

// Every file of Data/ (but the lock) in one hash: "nothing changed" means equal.
QByteArray dataChecksum(const QString &root)
{
    QStringList files;
    QDirIterator it(root + QStringLiteral("/Data"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const QString &f : files)
        if (!f.endsWith(QStringLiteral(".lock"))) {
            h.addData(f.toUtf8());
            h.addData(readBytes(f));
        }
    return h.result();
}

QString example(const char *name)
{
    return qEnvironmentVariable("KC_TEST_SOURCE_DIR") + QStringLiteral("/examples/")
        + QString::fromUtf8(name);
}

QByteArray banzukeJson(int wrestlers, const char *lastRank)
{
    QByteArray east = "[", west = "[";
    for (int i = 0; i < wrestlers; ++i) {
        const bool last = i == wrestlers - 1;
        const QByteArray rank
            = last ? QByteArray(lastRank) : "Maegashira " + QByteArray::number(i / 2 + 1);
        QByteArray &side = i % 2 == 0 ? east : west;
        if (side.size() > 1)
            side += ',';
        side += "{\"shikonaEn\":\"Rikishi" + QByteArray::number(i) + "\",\"rank\":\"" + rank
            + (i % 2 == 0 ? " East" : " West") + "\"}";
    }
    return "{\"division\":\"Makuuchi\",\"east\":" + east + "],\"west\":" + west + "]}";
}

enum class Phase { Fresh, Reception, Competition };

struct Case
{
    const char *what;
    Phase phase;
    QStringList args; // FILE stands for the written file
    QByteArray file; // empty: the command names an example itself
    int code;
    const char *says; // part of standard output and error
    bool changes;
};

TEST(FileImports, RealExecutableImportsOrRefusesLeavingDataUntouched)
{
    KC_SKIP_WITHOUT_EXE();
    const QString F = QStringLiteral("FILE");
    // clang-format off
    const std::vector<Case> cases = {
        {"banzuke JSON", Phase::Fresh, {u"banzuke"_s, u"set"_s, example("banzuke-makuuchi.json")},
         {}, 0, "2026年9月場所（202609） 20名", true},
        {"a 43rd wrestler", Phase::Fresh, {u"banzuke"_s, u"set"_s, F},
         banzukeJson(43, "Maegashira 22"), 1,
         "東 Rikishi42（Maegashira 22 East）: 登録できる力士数は42名までです。", false},
        {"form export", Phase::Reception, {u"entry"_s, u"import-csv"_s, example("entries.csv")},
         {}, 0, "2 名を登録しました（ID 100〜101）", true},
        {"duplicate pick and a short line", Phase::Reception, {u"entry"_s, u"import-csv"_s, F},
         "A,,,,,,,20,21,22,23,24,25,26,30\nB,,,,,,,20,20,22,23,24,25,26,30\nC,,,,,,,20\n", 1,
         "2行目（B）: 力士が重複しています。\n3行目（C）: 項目が足りません", true},
        {"no valid line", Phase::Reception, {u"entry"_s, u"import-csv"_s, F},
         "B,,,,,,,20,20,22,23,24,25,26,30\n", 1, "登録できる申込はありませんでした", false},
        {"applications after the reception", Phase::Competition,
         {u"entry"_s, u"import-csv"_s, example("entries.csv")},
         {}, 1, "投票受付は、ルール決定の後、受付終了の前に行えます。", false},
        {"day results CSV", Phase::Competition, {u"result"_s, u"import"_s, example("result-day1.csv")},
         {}, 0, "1日目: 10 名の結果を読み込みました（変更 8 件）", true},
        {"an unknown name", Phase::Competition, {u"result"_s, u"import"_s, F, u"1"_s},
         QStringLiteral("武蔵丸,白\n無名山,白\n").toUtf8(), 1, "無名山（2行目）", false},
    };
    // clang-format on
    for (const Case &c : cases) {
        TempContest tc;
        Contest &contest = tc.open();
        if (c.phase == Phase::Reception) {
            contest.rules().flag = 1;
            contest.saveRules();
        } else if (c.phase == Phase::Competition) {
            prepareCompetition(contest, 3, true);
        }
        tc.close();
        QTemporaryDir dir;
        const QString file = dir.filePath(c.args[0] == u"banzuke" ? QStringLiteral("b.json")
                                                                  : QStringLiteral("f.csv"));
        writeBytes(file, c.file);
        QStringList args {QStringLiteral("--dir"), tc.root(), QStringLiteral("--yes")};
        for (const QString &a : c.args)
            args << (a == F ? file : a);
        const QByteArray before = dataChecksum(tc.root());
        const CliResult r = runExe(args);
        const QString said = r.out + r.err;
        EXPECT_EQ(r.code, c.code) << c.what << "\n" << said.toStdString();
        EXPECT_TRUE(said.contains(QString::fromUtf8(c.says))) << c.what << "\n"
                                                              << said.toStdString();
        EXPECT_EQ(dataChecksum(tc.root()) != before, c.changes) << c.what;
    }
}

TEST(FileImports, LatinNamesOfADownloadedBanzukeFindTheDayResults)
{
    TempContest tc;
    tc.open();
    tc.close();
    const QString dir = tc.root();
    auto cli = [&](QStringList args) {
        return runCli(QStringList {QStringLiteral("--dir"), dir, QStringLiteral("--yes")} + args);
    };
    ASSERT_EQ(cli({u"banzuke"_s, u"set"_s, example("banzuke-makuuchi.json")}).code, 0);
    Contest &c = tc.open();
    prepareCompetition(c, 3, true);
    tc.close();
    const CliResult r = cli({u"result"_s, u"import"_s, example("result-day1.json")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    Contest &after = tc.open();
    // 琴浜 (関脇) beat 朝日山 (横綱); 若桜 (大関) beat 北斗岳 (横綱); 隆星 beat 大嶺 (大関);
    // 栃風 won by default against 春風.
    const std::vector<int> expected = {0, 0, 2, 0, 3, 0, 1, 1, 2, 4, 0, 1, 1, 0, 0, 1, 0, 1, 1, 0};
    std::vector<int> marks;
    for (int s = 0; s < 20; ++s)
        marks.push_back(after.roster().wrestlers[s].dayResult[0]);
    EXPECT_EQ(marks, expected);
}

} // namespace
