#include "FetchFixture.h"
#include "online/FetchSettings.h"

#include <QDir>

using namespace kc;
using namespace kc::test;
using namespace Qt::StringLiterals;

namespace {

std::vector<int> day3Marks(Contest &c)
{
    std::vector<int> marks;
    for (int s = 0; s < c.roster().wrestlerCount; ++s)
        marks.push_back(c.roster().wrestlers[s].dayResult[2]);
    return marks;
}

TEST(Fetch, RealExecutableFillsTheDayAndKeepsTheAddress)
{
    FetchServer server;
    ASSERT_TRUE(server.running());
    TempContest tc;
    setUpFetchedContest(tc, server);
    tc.close();
    const QString tmpl = server.url(u"/fixtures/day{day}.json"_s);
    const CliResult r
        = runExe({u"--dir"_s, tc.root(), u"result"_s, u"fetch"_s, u"3"_s, u"--url"_s, tmpl});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    for (const QString &line :
         QStringList {u"3日目: 取組 4 番、8 名の結果を読み込みました（変更 5 件）。"_s,
                      u"  変更: 北風 黒星 → 金星"_s, u"休場（不戦敗）: 大和"_s,
                      u"結果なし（取組にない力士）: 波、光"_s,
                      u"取得元: "_s + server.url(u"/fixtures/day3.json（"_s)})
        EXPECT_TRUE(r.out.contains(line)) << r.out.toStdString();
    Contest &c = tc.open();
    EXPECT_EQ(day3Marks(c), kDay3Marks);
    EXPECT_EQ(c.rules().currentDay, 2); // never confirmed
    EXPECT_EQ(FetchSettings::load(c).torikumiTemplate, tmpl);
    tc.close();
    // The saved address serves the next fetch; the same marks again change nothing.
    const CliResult again = runCli({u"--dir"_s, tc.root(), u"result"_s, u"fetch"_s});
    EXPECT_EQ(again.code, 0) << again.err.toStdString();
    EXPECT_TRUE(again.out.contains(u"（変更 0 件）"_s)) << again.out.toStdString();
}

TEST(Fetch, EveryFailureNamesAddressAndCauseAndLeavesDataAlone)
{
    FetchServer server(700);
    ASSERT_TRUE(server.running());
    const QString refused = u"http://127.0.0.1:%1/day3.json"_s.arg(freePort());
    struct Case
    {
        QString url;
        int code;
        QString cause;
    };
    const std::vector<Case> cases = {
        {server.url(u"/status/404"_s), 4, u"HTTP 404"_s},
        {server.url(u"/status/500"_s), 4, u"HTTP 500"_s},
        {server.url(u"/slow"_s), 4, u"0.7 秒以内に応答がありませんでした"_s},
        {server.url(u"/truncated"_s), 4, u"途中で切れました"_s},
        {server.url(u"/html"_s), 4, u"HTML のページ"_s},
        {server.url(u"/fixtures/broken.json"_s), 4, u"JSON として読めません"_s},
        {server.url(u"/big"_s), 4, u"大きすぎます"_s},
        {server.url(u"/fixtures/empty.json"_s), 4, u"3日目の取組はまだありません"_s},
        {server.url(u"/fixtures/stranger.json"_s), 1, u"番付にない力士名があります。"_s},
        {refused, 4, u"接続を拒否されました"_s},
        {server.tlsUrl(u"/fixtures/day3.json"_s), 4, u"証明書を確認できませんでした: "_s},
        {server.url(u"/ftp"_s), 4, u"http(s) 以外の場所への転送（ftp://example.invalid"_s},
        {server.url(u"/redirect/6"_s), 4, u"転送（リダイレクト）が 5 回を超えました"_s},
        {u"ftp://example.invalid/{day}"_s, 2, u"http:// または https://"_s},
    };
    TempContest tc;
    setUpFetchedContest(tc, server);
    tc.close();
    const QString data = tc.root() + u"/Data"_s;
    const auto before = snapshotFiles(data);
    for (const Case &c : cases) {
        const CliResult r
            = runCli({u"--dir"_s, tc.root(), u"result"_s, u"fetch"_s, u"--url"_s, c.url});
        EXPECT_EQ(r.code, c.code) << c.url.toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.cause)) << r.err.toStdString();
        if (c.code != 2) {
            EXPECT_TRUE(r.err.contains(u"URL: "_s + c.url)) << r.err.toStdString();
        }
        EXPECT_EQ(snapshotFiles(data), before) << c.url.toStdString();
    }
    // Five redirects are still followed.
    const CliResult five = runCli(
        {u"--dir"_s, tc.root(), u"result"_s, u"fetch"_s, u"--url"_s, server.url(u"/redirect/5"_s)});
    EXPECT_EQ(five.code, 0) << five.err.toStdString();
}

TEST(FetchSettings, BashoIdsAndTemplates)
{
    struct Basho
    {
        QString code, name, id;
    };
    for (const Basho &b : std::vector<Basho> {{u"202609"_s, u""_s, u"202609"_s},
                                              {u"0209"_s, u"平成14年　九月"_s, u"200209"_s},
                                              {u"2609"_s, u"令和8年九月場所"_s, u"202609"_s},
                                              {u"9901"_s, u"1999年初場所"_s, u"199901"_s},
                                              {u"2613"_s, u""_s, u""_s},
                                              {u"秋場所"_s, u""_s, u""_s}})
        EXPECT_EQ(bashoIdOf(b.code, b.name).value_or(QString()), b.id) << b.code.toStdString();
    EXPECT_EQ(upcomingBashoId(QDate(2026, 8, 20)), u"202609"_s);
    EXPECT_EQ(upcomingBashoId(QDate(2026, 12, 24)), u"202701"_s);
    EXPECT_EQ(expandTemplate(FetchSettings::defaultTorikumiTemplate(), u"202609"_s, 7).path(),
              u"/api/basho/202609/torikumi/Makuuchi/7"_s);
    EXPECT_TRUE(
        FetchSettings::templateProblem(u"https://x.example/{month}"_s).contains(u"{month}"_s));
    EXPECT_FALSE(FetchSettings::templateProblem(u"file:///tmp/{day}.json"_s).isEmpty());
}

} // namespace
