#pragma once

#include "ScoringFixture.h"
#include "Servers.h"

#include <gtest/gtest.h>

namespace kc::test {

// The fixture banzuke in banzuke order: 朝霧 (横綱), 疾風 岩木 (大関), 北風 霞 (関脇),
// 剣 湊 (小結), 波 大和 光 (前頭).
// Day 3 of tests/online/fixtures/day3.json: 北風 beats the yokozuna (金星), 岩木 wins,
// 剣 wins by default against 大和 (休), 湊 wins; 波 and 光 are not in it.
inline const std::vector<int> kDay3Marks = {0, 0, 1, 3, 0, 1, 1, 0, 4, 0};

// A contest whose banzuke came from the site, in competition, days 1 and 2 confirmed.
inline void setUpFetchedContest(TempContest &tc, const FetchServer &server)
{
    tc.close();
    const CliResult r
        = runCli({QStringLiteral("--dir"), tc.root(), QStringLiteral("--yes"),
                  QStringLiteral("banzuke"), QStringLiteral("fetch"), QStringLiteral("--url"),
                  server.url(QStringLiteral("/fixtures/banzuke.json"))});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    Contest &c = tc.open();
    prepareCompetition(c, 3, true);
    c.rules().currentDay = 2;
    c.saveRules();
}

} // namespace kc::test
