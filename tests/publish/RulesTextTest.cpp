#include "TestSupport.h"

#include "publish/HtmlPage.h"
#include "publish/RulesText.h"
#include "store/Text.h"

#include <gtest/gtest.h>

namespace kc {
namespace {

RulesRecord variant(int reserve, int bonusType, int streakMin, int tieRule, int topRanks)
{
    RulesRecord r = RulesRecord::firstRunDefaults();
    r.useReserve = qint16(reserve);
    r.bonusType = qint16(bonusType);
    r.streakMin = qint16(streakMin);
    r.tieRule = qint16(tieRule);
    r.includeTopRanks = qint16(topRanks);
    return r;
}

// Every switch both ways; a negative streak length prints no streak sentence.
TEST(RulesText, EachSettingMatchesItsGoldenText)
{
    const struct
    {
        const char *name;
        RulesRecord rules;
    } rows[] = {
        {"defaults", RulesRecord::firstRunDefaults()},
        {"no-reserve-multiplier-no-streak-id-top", variant(0, 0, -3, 1, 1)},
        {"streak-zero", variant(1, 1, 0, 0, 0)},
    };
    html::Site site;
    site.bashoName = QStringLiteral("令和七年九月場所");
    site.state = QStringLiteral("投票受付中");
    site.updated = QDateTime(QDate(2025, 9, 1), QTime(9, 5));
    for (const auto &row : rows) {
        const RulesExplanation e = explainRules(row.rules);
        test::expectGolden(QStringLiteral("rules/%1.txt").arg(QLatin1String(row.name)),
                           toCp932(e.plain));
        test::expectGolden(QStringLiteral("rules/%1.html").arg(QLatin1String(row.name)),
                           toCp932(rulesPage(e, site)));
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
