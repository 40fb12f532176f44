#include "RulesTestSupport.h"

#include "store/RecordSet.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

class RulesCommandsTest : public ::testing::Test
{
protected:
    CliResult cli(QStringList args)
    {
        return runCli(QStringList {QStringLiteral("--dir"), tc.root()} + args);
    }
    QJsonObject json(const CliResult &r)
    {
        return QJsonDocument::fromJson(r.out.toUtf8()).object();
    }
    void withParticipants(int n, int flag = 5)
    {
        registerParticipants(tc.open(), n, flag);
        tc.close();
    }
    TempContest tc;
};

TEST_F(RulesCommandsTest, SetShowAndDecideRules)
{
    CliResult r
        = cli({QStringLiteral("rules"), QStringLiteral("set"), QStringLiteral("PickCount=5"),
               QStringLiteral("GoldStarBonus=3"), QStringLiteral("StreakMin=-6"),
               QStringLiteral("TieRule=1"), QStringLiteral("BonusType=0")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    r = cli({QStringLiteral("--json"), QStringLiteral("rules"), QStringLiteral("show")});
    ASSERT_EQ(r.code, 0);
    QJsonObject o = json(r);
    EXPECT_EQ(o[u"PickCount"].toInt(), 5);
    EXPECT_EQ(o[u"SlotPoints"].toArray().at(0).toInt(), 5); // filled as by Enter
    EXPECT_EQ(o[u"SlotPoints"].toArray().at(4).toInt(), 1);
    EXPECT_EQ(o[u"GoldStarBonus"].toInt(), 3);
    EXPECT_EQ(o[u"StreakMin"].toInt(), -6);
    EXPECT_EQ(o[u"TieRule"].toInt(), 1);
    EXPECT_EQ(o[u"BonusType"].toInt(), 0);
    EXPECT_EQ(storedRules(tc).pickCount, 5);

    r = cli({QStringLiteral("rules"), QStringLiteral("set"), QStringLiteral("SlotPoints=9,8,7"),
             QStringLiteral("PickCount=3")});
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(storedRules(tc).slotPoints[0], 9);
    EXPECT_EQ(storedRules(tc).slotPoints[3], 2); // left as it was

    r = cli({QStringLiteral("--no"), QStringLiteral("rules"), QStringLiteral("decide")});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.err.contains(QStringLiteral("ルール決定後の変更はできなくなります。")));
    EXPECT_EQ(storedRules(tc).flag, 0);

    r = cli({QStringLiteral("--yes"), QStringLiteral("rules"), QStringLiteral("decide")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(storedRules(tc).flag, 1);
    EXPECT_EQ(storedEntry(tc, 1).picks[0], 42);

    // Locked as the window's controls are.
    r = cli({QStringLiteral("rules"), QStringLiteral("set"), QStringLiteral("PickCount=4")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("ルール決定後はルールを変更できません")));
    EXPECT_EQ(storedRules(tc).pickCount, 3);
    r = cli({QStringLiteral("--yes"), QStringLiteral("rules"), QStringLiteral("decide")});
    EXPECT_EQ(r.code, 1);
}

TEST_F(RulesCommandsTest, RefusalsAndUsageErrors)
{
    CliResult r
        = cli({QStringLiteral("rules"), QStringLiteral("set"), QStringLiteral("PickCount=11")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.trimmed(), u"選択力士の数が範囲外です。");
    r = cli({QStringLiteral("rules"), QStringLiteral("set"), QStringLiteral("Nope=1")});
    EXPECT_EQ(r.code, 2);
    r = cli({QStringLiteral("rules"), QStringLiteral("set"), QStringLiteral("UseReserve=2")});
    EXPECT_EQ(r.code, 2);
    r = cli({QStringLiteral("rules"), QStringLiteral("set"), QStringLiteral("SlotPoints=1,2,x")});
    EXPECT_EQ(r.code, 2);
    r = cli({QStringLiteral("prizes"), QStringLiteral("set"), QStringLiteral("rank.22=1,a,100")});
    EXPECT_EQ(r.code, 2);
    r = cli({QStringLiteral("prizes"), QStringLiteral("set"), QStringLiteral("day.3=100,maybe")});
    EXPECT_EQ(r.code, 2);
    r = cli({QStringLiteral("print"), QStringLiteral("prizes")});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(storedRules(tc).pickCount, 7);
}

TEST_F(RulesCommandsTest, PrizesSetShowDecideListAndPrint)
{
    withParticipants(40);
    CliResult r = cli({QStringLiteral("--json"), QStringLiteral("prizes"), QStringLiteral("show")});
    ASSERT_EQ(r.code, 0);
    QJsonObject o = json(r);
    EXPECT_EQ(o[u"total"].toString(), u"90,000");
    EXPECT_EQ(o[u"perParticipant"].toString(), u"2,250");
    EXPECT_TRUE(o[u"ranks"].toArray().at(7).toObject()[u"on"].toBool());
    EXPECT_FALSE(o[u"ranks"].toArray().at(8).toObject()[u"on"].toBool());

    RulesRecord expected = storedRules(tc);
    r = cli({QStringLiteral("prizes"), QStringLiteral("set"),
             QStringLiteral("rank.11=40,ブービー賞,1500"), QStringLiteral("rank.8=50,５０位,3000"),
             QStringLiteral("day.1=2500"), QStringLiteral("day.10=2000,off")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("rank.8")));
    expected.prizePoints[11] = 1500;
    expected.prizeRanks[11] = 40;
    expected.prizeNames[11] = QStringLiteral("ブービー賞");
    expected.dayPrizePoints[1] = 2500;
    expected.dayPrizePoints[10] = -2000;
    expected.prizeExtra = 0; // a save stores 0; the defaults carry 1000
    ASSERT_EQ(expected.prizePoints[8], 3000); // waits for the field to reach rank 50
    EXPECT_FIELDS_EQ(storedRules(tc), expected);

    r = cli(
        {QStringLiteral("prizes"), QStringLiteral("set"), QStringLiteral("rank.2=150,３位,10000")});
    ASSERT_EQ(r.code, 0); // stays off, so it cannot block the decision
    r = cli({QStringLiteral("--yes"), QStringLiteral("prizes"), QStringLiteral("decide")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(storedRules(tc).flag, 10);
    EXPECT_EQ(storedRules(tc).rulesStart, 1);

    r = cli({QStringLiteral("--json"), QStringLiteral("prizes"), QStringLiteral("list")});
    ASSERT_EQ(r.code, 0);
    const QJsonArray rows = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.at(0).toObject()[u"prize"].toString(), u"優勝");
    QStringList names;
    for (const QJsonValue &v : rows)
        names << v.toObject()[u"prize"].toString();
    EXPECT_LT(names.indexOf(QStringLiteral("３０位")), names.indexOf(QStringLiteral("ブービー賞")));
    EXPECT_LT(names.indexOf(QStringLiteral("ブービー賞")),
              names.indexOf(QStringLiteral("中日累計賞")));
    EXPECT_EQ(names.indexOf(QStringLiteral("３位")), -1);
    EXPECT_EQ(names.last(), u"九日目 賞");

    r = cli({QStringLiteral("prizes"), QStringLiteral("set"), QStringLiteral("day.1=100")});
    EXPECT_EQ(r.code, 1);
    r = cli({QStringLiteral("--yes"), QStringLiteral("prizes"), QStringLiteral("decide")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.trimmed(), u"決定済みです");

    const QString pdf = tc.root() + QStringLiteral("/list.pdf");
    r = cli({QStringLiteral("print"), QStringLiteral("prizes"), QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(readBytes(pdf).startsWith("%PDF"));

    // The real program on a machine without a display gives the same document.
    KC_SKIP_WITHOUT_EXE();
    const QString pdf2 = tc.root() + QStringLiteral("/headless.pdf");
    const CliResult headless = runExe({QStringLiteral("--dir"), tc.root(), QStringLiteral("print"),
                                       QStringLiteral("prizes"), QStringLiteral("--pdf"), pdf2});
    ASSERT_EQ(headless.code, 0) << headless.err.toStdString();
    EXPECT_EQ(pdfPageCount(readBytes(pdf2)), pdfPageCount(readBytes(pdf)));
    EXPECT_GE(pdfPageCount(readBytes(pdf2)), 1);
}

TEST_F(RulesCommandsTest, DecidePrizesNeedsParticipants)
{
    CliResult r
        = cli({QStringLiteral("--yes"), QStringLiteral("prizes"), QStringLiteral("decide")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.trimmed(), u"参加者数が確定していません。");
}

} // namespace
