#include "publish/ParticipantPages.h"

#include "publish/HtmlPage.h"
#include "store/Contest.h"

namespace kc::pages {

using namespace html;

namespace {

const QString kRa = QStringLiteral("class=ra");
const QString kHi = QStringLiteral("class=Hi");
const QString kBlank = QStringLiteral(" ");

QString firstCell(const QString &label)
{
    return QStringLiteral("      <TD class=c10 colspan=3>") + label + QStringLiteral("</TD>")
        + CrLf;
}

// Whether a daily prize is offered on the day (stored points above 0).
bool dayPrizeOffered(const RulesRecord &rules, int day)
{
    return rules.dayPrizePoints[day] > 0;
}

// Whether the final rank wins one of the rank prizes that carry points.
bool wonRankPrize(const RulesRecord &rules, int finalRank)
{
    if (finalRank <= 0)
        return false;
    for (int k = 0; k < kPrizeRows; ++k)
        if (rules.prizeRanks[k] == finalRank && rules.prizePoints[k] >= 1)
            return true;
    return false;
}

} // namespace

QString participant(const Contest &c, int i)
{
    const RulesRecord &rules = c.rules();
    const Roster &roster = c.roster();
    const EntryRecord &e = c.entries()[i];
    const int day = std::clamp<int>(rules.currentDay, 0, kDays);
    const int picks = std::clamp<int>(rules.pickCount, 0, kMaxPicks);
    const QString d3 = rowClass('d', 3);

    QString out = head() + tableOpen()
        + titleBars(title(roster.bashoName, day), escape(e.shikona.trimmed()), 19);
    out += rowOpen() + headerCell(40, QStringLiteral("点数"))
        + headerCell(90, QStringLiteral("力士名初期"))
        + headerCell(90, QStringLiteral("力士名現在"));
    for (int j = 1; j <= kDays; ++j)
        out += headerCell(25, QString::number(j));
    out += headerCell(40, QStringLiteral("合計")) + rowClose();

    for (int k = 0; k < picks; ++k) {
        const QString cc = rowClass('c', k), dd = rowClass('d', k);
        out += rowOpen() + cell(cc, QString::number(rules.slotPoints[k]))
            + cell(cc, escape(roster.name(e.enteredPicks[k])))
            + cell(cc, escape(roster.name(e.picks[k])));
        int sum = 0;
        for (int j = 1; j <= kDays; ++j) {
            const int points = e.dayPickPoints[10 * (j - 1) + k];
            sum += points;
            out += cell(dd, j <= day && points != 0 ? QString::number(points) : kBlank);
        }
        out += cell(dd, QString::number(sum)) + rowClose();
    }

    if (rules.reserveInUse()) {
        const QString yo = QStringLiteral("class=yo ");
        out += rowOpen() + cell(yo, QStringLiteral("予備"))
            + cell(yo, escape(roster.name(e.reserve)))
            + cell(yo, escape(roster.name(e.reserveList[0])));
        for (int j = 1; j <= kDays; ++j)
            out += cell(yo, kBlank);
        out += cell(yo, QString()) + rowClose();
    }

    int daySum = 0;
    out += rowOpen() + firstCell(QStringLiteral("日計"));
    for (int j = 1; j <= kDays; ++j) {
        if (j <= day)
            daySum += e.dayTotal[j - 1];
        out += cell(kRa, j <= day ? QString::number(e.dayTotal[j - 1]) : kBlank);
    }
    out += QStringLiteral("      <TD class=ra><B>") + QString::number(daySum)
        + QStringLiteral("</B></TD>") + CrLf + rowClose();

    out += rowOpen() + firstCell(QStringLiteral("累積順位"));
    for (int j = 1; j <= kDays; ++j)
        out += cell(d3, j <= day ? QString::number(e.dayRank[j - 1]) : kBlank);
    const bool rankMark = wonRankPrize(rules, e.dayRank[kDays - 1]);
    out += cell(rankMark ? kHi : d3,
                QStringLiteral("<B>") + (day > 0 ? QString::number(e.dayRank[day - 1]) : QString())
                    + QStringLiteral("</B>"));
    out += rowClose();

    bool dayMark = false;
    out += rowOpen() + firstCell(QStringLiteral("日順位"));
    for (int j = 1; j <= kDays; ++j) {
        if (j > day) {
            out += cell(kRa, kBlank);
            continue;
        }
        const int rank = e.dayScoreRank[j - 1];
        const bool mark = rank == 1 && dayPrizeOffered(rules, j);
        dayMark = dayMark || mark;
        out += cell(mark ? kHi : kRa, QString::number(rank));
    }
    out += cell(kRa, kBlank) + rowClose();

    int winSum = 0;
    out += rowOpen() + firstCell(QStringLiteral("勝星数"));
    for (int j = 1; j <= kDays; ++j) {
        if (j > day) {
            out += cell(d3, QString());
            continue;
        }
        int wins = 0;
        for (int k = 0; k < picks; ++k) {
            const int slot = e.picks[k];
            if (slot >= 0 && slot < kRosterSlots
                && isWinningMark(roster.wrestlers[slot].dayResult[j - 1]))
                ++wins;
        }
        winSum += wins;
        out += cell(picks > 0 && wins == picks ? kHi : d3, QString::number(wins));
    }
    out += cell(d3, QString::number(winSum)) + rowClose();
    out += tableClose();

    if (rankMark)
        out += QStringLiteral(
                   "<BR><FONT color=#ff0000>累積順位</FONT>に付されているマークは、順位による"
                   "賞位の受賞を示しています。")
            + CrLf;
    if (dayMark)
        out += QStringLiteral(
                   "<BR><FONT color=#ff0000>日順位</FONT>に付されているマークは、当日賞の受賞"
                   "を示しています。")
            + CrLf;
    out += QStringLiteral("<BR><BR><form>") + closeButton();
    out += QStringLiteral("<BR><BR></BODY>") + CrLf + QStringLiteral("</HTML>") + CrLf;
    return out;
}

} // namespace kc::pages
