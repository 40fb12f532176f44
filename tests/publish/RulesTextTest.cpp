#include "Golden.h"
#include "TestSupport.h"

#include "publish/HtmlPage.h"
#include "publish/RulesText.h"
#include "store/Text.h"

#include <gtest/gtest.h>

namespace kc {
namespace {

// The first-run rules with the switches of the case's input.
RulesRecord rulesOf(const test::GoldenCase &gc)
{
    RulesRecord r = RulesRecord::firstRunDefaults();
    r.useReserve = qint16(gc.number(QStringLiteral("useReserve"), r.useReserve));
    r.bonusType = qint16(gc.number(QStringLiteral("bonusType"), r.bonusType));
    r.streakMin = qint16(gc.number(QStringLiteral("streakMin"), r.streakMin));
    r.tieRule = qint16(gc.number(QStringLiteral("tieRule"), r.tieRule));
    r.includeTopRanks = qint16(gc.number(QStringLiteral("includeTopRanks"), r.includeTopRanks));
    return r;
}

TEST(RulesText, EachSettingMatchesItsGoldenText)
{
    html::Site site;
    site.bashoName = QStringLiteral("令和七年九月場所");
    site.state = QStringLiteral("投票受付中");
    site.updated = QDateTime(QDate(2025, 9, 1), QTime(9, 5));
    for (const char *name : {"defaults", "no-reserve-multiplier-no-streak-id-top", "streak-zero"}) {
        const test::GoldenCase gc(QStringLiteral("rules-text"), QString::fromLatin1(name));
        const RulesExplanation e = explainRules(rulesOf(gc));
        gc.expect(QStringLiteral("plain.txt"), toCp932(e.plain));
        gc.expect(QStringLiteral("Rules.html"), toCp932(rulesPage(e, site)));
    }
}

TEST(RulesText, CommandPrintsThePlainText)
{
    QTemporaryDir folder;
    const test::CliResult r = test::runExe(
        {QStringLiteral("--dir"), folder.path(), QStringLiteral("rules"), QStringLiteral("text")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("【遊戯方法】")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("　④選択した力士が、4連勝すると2点加算され")));
    EXPECT_FALSE(r.out.contains(u'\r'));
}

} // namespace
} // namespace kc
