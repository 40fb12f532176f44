#include "scoring/PrizeTable.h"

#include "store/Contest.h"

namespace kc {

void buildPrizeTable(Contest &contest)
{
    Database &db = contest.database();
    const RulesRecord &r = contest.rules();
    Transaction tx(db);
    db.deleteAll(QStringLiteral("PRIZE"));
    RecordSet prize(db, QStringLiteral("PRIZE"));
    auto add = [&](qint64 order, const QString &name, qint64 points) {
        prize.addNew();
        prize.setValue(QStringLiteral("賞位"), name);
        prize.setValue(QStringLiteral("しこな"), QStringLiteral(" "));
        prize.setValue(QStringLiteral("ID"), 0);
        prize.setValue(QStringLiteral("得点"), 0);
        prize.setValue(QStringLiteral("ポイント"), points);
        prize.setValue(QStringLiteral("表示順"), order);
        prize.update();
    };
    for (int i = 0; i < kPrizeRows; ++i)
        if (i == 0 || r.prizePoints[i] > 0)
            add(r.prizeRanks[i], r.prizeNames[i], r.prizePoints[i]);
    if (r.dayPrizePoints[0] > 0)
        add(1000000, QStringLiteral("中日累計賞"), r.dayPrizePoints[0]);
    for (int d = 1; d <= kDays; ++d)
        if (r.dayPrizePoints[d] > 0)
            add(1000000 + d, r.dayPrizeNames[d], r.dayPrizePoints[d]);
    tx.commit();
}

} // namespace kc
