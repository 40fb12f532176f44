#include "scoring/StartUp.h"

#include "rules/PrizeTable.h"
#include "scoring/Prizes.h"
#include "store/Contest.h"
#include "store/UnitOfWork.h"

namespace kc {

void openContest(Contest &contest)
{
    contest.open(repairAtStartUp);
}

QStringList repairAtStartUp(Contest &contest)
{
    if (prizeTableWhole(contest))
        return {};
    return {restorePrizeTable(contest)};
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
