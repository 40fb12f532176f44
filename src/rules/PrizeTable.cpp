#include "rules/PrizeTable.h"

#include "store/Contest.h"
#include "store/Phase.h"

#include <algorithm>

namespace kc {

namespace {
auto byOrder = [](const PrizeRow &a, const PrizeRow &b) {
    return std::tie(a.order, a.name, a.points) < std::tie(b.order, b.name, b.points);
};
} // namespace

std::vector<PrizeRow> prizeRowsOf(const RulesRecord &r)
{
    std::vector<PrizeRow> rows;
    for (int i = 0; i < kPrizeRows; ++i)
        if (i == 0 || r.prizePoints[i] > 0)
            rows.push_back({r.prizeRanks[i], r.prizeNames[i], r.prizePoints[i]});
    if (r.dayPrizePoints[0] > 0)
        rows.push_back({1000000, QStringLiteral("中日累計賞"), r.dayPrizePoints[0]});
    for (int d = 1; d <= kDays; ++d)
        if (r.dayPrizePoints[d] > 0)
            rows.push_back({1000000 + d, r.dayPrizeNames[d], r.dayPrizePoints[d]});
    return rows;
}

void buildPrizeTable(Contest &contest)
{
    Database &db = contest.database();
    Transaction tx(db);
    db.deleteAll(QStringLiteral("PRIZE"));
    RecordSet prize(db, QStringLiteral("PRIZE"));
    for (const PrizeRow &row : prizeRowsOf(contest.rules())) {
        prize.addNew();
        prize.setValue(QStringLiteral("賞位"), row.name);
        prize.setValue(QStringLiteral("しこな"), QStringLiteral(" "));
        prize.setValue(QStringLiteral("ID"), 0);
        prize.setValue(QStringLiteral("得点"), 0);
        prize.setValue(QStringLiteral("ポイント"), row.points);
        prize.setValue(QStringLiteral("表示順"), row.order);
        prize.update();
    }
    tx.commit();
}

bool prizeTableWhole(Contest &contest)
{
    if (!Phase::of(contest.rules()).prizesDecided())
        return true;
    std::vector<PrizeRow> expected = prizeRowsOf(contest.rules());
    std::vector<PrizeRow> found;
    RecordSet prize(contest.database(), QStringLiteral("PRIZE"));
    for (prize.moveFirst(); !prize.eof(); prize.moveNext())
        found.push_back({prize.intValue(QStringLiteral("表示順")),
                         prize.textValue(QStringLiteral("賞位")),
                         prize.intValue(QStringLiteral("ポイント"))});
    std::sort(expected.begin(), expected.end(), byOrder);
    std::sort(found.begin(), found.end(), byOrder);
    return found == expected;
}

} // namespace kc
