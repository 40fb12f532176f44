#include "scoring/PrizeTable.h"

#include "scoring/Prizes.h"
#include "store/Contest.h"
#include "store/UnitOfWork.h"

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

QString restorePrizeTable(Contest &contest)
{
    const RulesRecord &r = contest.rules();
    UnitOfWork work(contest);
    buildPrizeTable(contest);
    for (int d = 1; d <= std::min<int>(r.currentDay, kDays); ++d)
        if (r.dayPrizePoints[d] > 0)
            awardDayPrize(contest, d);
    work.commit();
    QStringList lost;
    if (r.currentDay >= 8 && r.dayPrizePoints[0] > 0)
        lost << QStringLiteral("中日累計賞");
    if (r.currentDay >= kDays)
        lost << QStringLiteral("順位の賞");
    QString note = QStringLiteral("賞位の表（PRIZE）を賞位の設定と日々の記録から作り直しました。");
    if (!lost.isEmpty())
        note += QStringLiteral("%1の受賞者は元に戻せなかったため空欄です（受賞者は参加者の一覧の"
                               "中日計・順位で確かめてください）。")
                    .arg(lost.join(u'と'));
    return note;
}

} // namespace kc
