#include "TestSupport.h"

#include "banzuke/BanzukeImport.h"
#include "store/Text.h"

#include <gtest/gtest.h>

using namespace kc;

namespace {

QByteArray utf8(const QString &s)
{
    return s.toUtf8();
}

// Title lines and n wrestlers: 2 横綱, 2 大関, then 前頭.
QString textBanzuke(int n)
{
    QString s = QStringLiteral("令和7年　九月\n2509\n");
    for (int i = 0; i < n; ++i) {
        const QString rank = i < 2 ? QStringLiteral("横綱")
                                   : (i < 4 ? QStringLiteral("大関") : QStringLiteral("前頭"));
        s += rank + u' ' + QStringLiteral("力士%1").arg(i) + u'\n';
    }
    return s;
}

} // namespace

TEST(ImportBanzukeText, ReadsTitleRanksAndNames)
{
    const QString text = QStringLiteral("令和7年　九月\r\n2509\r\n横綱 大の里\r\n横綱　豊昇龍\r\n"
                                        "3 琴櫻\r\n\r\n関脇 若隆景\r\n0 王鵬\r\n前頭 高安\r\n");
    const BanzukeImport r = BanzukeImport::parse(utf8(text), QStringLiteral("b.txt"));
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_TRUE(r.hasTitle);
    EXPECT_EQ(r.record.bashoName, u"令和7年　九月");
    EXPECT_EQ(r.record.bashoCode, u"2509");
    EXPECT_EQ(r.record.wrestlerCount, 6);
    EXPECT_EQ(r.counts.n, (std::array<int, 5> {2, 1, 1, 0, 2}));
    EXPECT_EQ(r.record.names[1], u"豊昇龍"); // ideographic space separates too
    EXPECT_EQ(r.record.names[2], u"琴櫻");
    EXPECT_EQ(r.record.rankCodes[2], 3);
    EXPECT_EQ(r.record.rankCodes[5], 0);
}

TEST(ImportBanzukeText, FortyTwoAcceptedFortyThreeRefusedNamingTheLine)
{
    EXPECT_TRUE(BanzukeImport::parse(utf8(textBanzuke(42)), QStringLiteral("b.txt")).ok);
    const BanzukeImport r = BanzukeImport::parse(utf8(textBanzuke(43)), QStringLiteral("b.txt"));
    EXPECT_FALSE(r.ok);
    // Two title lines, so the 43rd wrestler is on line 45.
    EXPECT_EQ(r.message, u"b.txt 45行目: 登録できる力士数は42名までです。");
}

TEST(ImportBanzukeText, RefusalsNameTheLine)
{
    auto refusal = [](const QString &body) {
        const BanzukeImport r = BanzukeImport::parse(utf8(QStringLiteral("場所\n0001\n") + body),
                                                     QStringLiteral("/tmp/x/b.txt"));
        EXPECT_FALSE(r.ok);
        return r.message;
    };
    const QString rises = refusal(QStringLiteral("大関 甲\n前頭 乙\n小結 丙\n"));
    EXPECT_TRUE(rises.startsWith(u"b.txt 5行目: ")) << rises.toStdString();
    EXPECT_TRUE(rises.contains(u"前頭の後に小結")) << rises.toStdString();

    const QString unknown = refusal(QStringLiteral("横綱 甲\n十両 乙\n"));
    EXPECT_TRUE(unknown.startsWith(u"b.txt 4行目: ")) << unknown.toStdString();
    EXPECT_TRUE(unknown.contains(u"「十両」"));

    EXPECT_TRUE(refusal(QStringLiteral("横綱\n")).contains(u"3行目: 力士名がありません"));
    EXPECT_TRUE(refusal(QStringLiteral("前頭 ながいながいなまえ\n")).contains(u"長すぎます"));
    EXPECT_TRUE(refusal(QStringLiteral("前頭 甲\n前頭 乙\n前頭 甲\n"))
                    .contains(u"5行目: 力士名「甲」が3行目と重なっています"));
    EXPECT_TRUE(refusal(QString()).contains(u"力士の行がありません"));
    // Four odd groups and 38 maegashira need 23 rows.
    QString tall = QStringLiteral("横綱 a\n大関 b\n関脇 c\n小結 d\n");
    for (int i = 0; i < 38; ++i)
        tall += QStringLiteral("前頭 m%1\n").arg(i);
    EXPECT_TRUE(refusal(tall).contains(u"22段"));
    EXPECT_FALSE(
        BanzukeImport::parse(utf8(QStringLiteral("場所のみ")), QStringLiteral("b.txt")).ok);
}

TEST(ImportBanzukeCsv, Utf8AndCp932AreDetected)
{
    const QString csv
        = QStringLiteral("場所名,令和7年　九月\n場所コード,2509\n地位,力士名\n"
                         "横綱,大の里\n大関,\"琴櫻\"\n前頭筆頭,王鵬\n前頭2,\"高,安\"\n");
    const BanzukeImport a = BanzukeImport::parse(utf8(csv), QStringLiteral("b.csv"));
    ASSERT_TRUE(a.ok) << a.message.toStdString();
    const BanzukeImport b = BanzukeImport::parse(toCp932(csv), QStringLiteral("b.csv"));
    ASSERT_TRUE(b.ok) << b.message.toStdString();
    for (const BanzukeImport *r : {&a, &b}) {
        EXPECT_TRUE(r->hasTitle);
        EXPECT_EQ(r->record.bashoName, u"令和7年　九月");
        EXPECT_EQ(r->record.wrestlerCount, 4);
        EXPECT_EQ(r->record.names[0], u"大の里");
        EXPECT_EQ(r->record.names[1], u"琴櫻");
        EXPECT_EQ(r->record.names[3], u"高,安");
        EXPECT_EQ(r->counts.n, (std::array<int, 5> {1, 1, 0, 0, 2}));
    }
    // A BOM, no title rows, and a comma telling a CSV under another name.
    const BanzukeImport c = BanzukeImport::parse(
        QByteArray("\xEF\xBB\xBF") + utf8(QStringLiteral("rank,name\n4,甲\n0,乙\n")),
        QStringLiteral("list.txt"));
    ASSERT_TRUE(c.ok) << c.message.toStdString();
    EXPECT_FALSE(c.hasTitle);
    EXPECT_EQ(c.record.names[0], u"甲");

    const BanzukeImport d = BanzukeImport::parse(
        toCp932(QStringLiteral("横綱,甲\n関脇,乙\n大関,丙\n")), QStringLiteral("b.csv"));
    EXPECT_FALSE(d.ok);
    EXPECT_TRUE(d.message.startsWith(u"b.csv 3行目: ")) << d.message.toStdString();
}

TEST(ImportBanzukeRank, Words)
{
    EXPECT_EQ(BanzukeImport::rankOf(QStringLiteral("横綱")), 4);
    EXPECT_EQ(BanzukeImport::rankOf(QStringLiteral("東張出大関")), 3);
    EXPECT_EQ(BanzukeImport::rankOf(QStringLiteral("西関脇")), 2);
    EXPECT_EQ(BanzukeImport::rankOf(QStringLiteral("１")), 1);
    EXPECT_EQ(BanzukeImport::rankOf(QStringLiteral("前12")), 0);
    EXPECT_EQ(BanzukeImport::rankOf(QStringLiteral("前頭3枚目")), 0);
    EXPECT_FALSE(BanzukeImport::rankOf(QStringLiteral("5")));
    EXPECT_FALSE(BanzukeImport::rankOf(QStringLiteral("前")));
    EXPECT_FALSE(BanzukeImport::rankOf(QStringLiteral("前頭X")));
    EXPECT_FALSE(BanzukeImport::rankOf(QStringLiteral("十両")));
}

TEST(ImportBanzukeFile, MissingFileIsARefusal)
{
    const BanzukeImport r = BanzukeImport::readFile(QStringLiteral("/nonexistent/banzuke.txt"));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(u"/nonexistent/banzuke.txt"));
}

TEST(ImportBanzukeJson, MergesEastAndWestInBanzukeOrderAndKeepsTheLatinNames)
{
    auto item = [](const char *jp, const char *en, const char *rank) {
        return QStringLiteral(R"({"shikonaJp":"%1","shikonaEn":"%2","rank":"%3"})")
            .arg(QString::fromUtf8(jp), QString::fromUtf8(en), QString::fromUtf8(rank));
    };
    const QString json = QStringLiteral(R"({"bashoId":"202601","division":"Makuuchi","east":[)")
        + item("甲山", "Kabutoyama", "Yokozuna 1 East") + u','
        + item("丙川", "Heigawa", "Maegashira 1 East") + QStringLiteral(R"(],"west":[)")
        + item("乙海", "Otsuumi", "Ozeki 1 West") + u',' + item("丁風", "", "Maegashira 1 West")
        + QStringLiteral("]}");
    const BanzukeImport r = BanzukeImport::parse(utf8(json), QStringLiteral("b.json"));
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(r.record.bashoName, u"2026年1月場所");
    EXPECT_EQ(r.record.bashoCode, u"202601");
    const QStringList names {r.record.names[0], r.record.names[1], r.record.names[2],
                             r.record.names[3]};
    EXPECT_EQ(names.join(u','), u"甲山,乙海,丙川,丁風");
    EXPECT_EQ(r.counts.n, (std::array<int, 5> {1, 1, 0, 0, 2}));
    EXPECT_EQ(r.english.size(), 3u);

    const struct
    {
        QString body;
        const char *refusal;
    } refused[] = {
        {QStringLiteral(R"({"division":"Juryo","east":[],"west":[]})"), "幕内の番付ではありません"},
        {QStringLiteral(R"({"east":[)") + item("甲山", "", "Juryo 1 East")
             + QStringLiteral("],\"west\":[]}"),
         "東 甲山: 地位「Juryo 1 East」は幕内の地位ではありません"},
        {QStringLiteral(R"({"east":[)") + item("甲山", "", "Ozeki 1 East") + u','
             + item("甲山", "", "Ozeki 2 East") + QStringLiteral("],\"west\":[]}"),
         "b.json 2人目: 力士名「甲山」が1人目と重なっています。"},
        {QStringLiteral("{\"east\":"), "JSON として読めません"},
    };
    for (const auto &c : refused) {
        const BanzukeImport bad = BanzukeImport::parse(utf8(c.body), QStringLiteral("b.json"));
        EXPECT_FALSE(bad.ok);
        EXPECT_TRUE(bad.message.contains(QString::fromUtf8(c.refusal)))
            << bad.message.toStdString();
    }
}
