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

QString rankChart(const EntryRecord &e, int days, int participants)
{
    if (days < 1)
        return QString();
    const int n = std::max(participants, 1);
    // viewBox 400 x 250: ranks between y 24 and 130, bars on 230, days 24 apart.
    auto x = [](int j) { return 48 + 24 * (j - 1); };
    auto y
        = [n](int rank) { return n < 2 ? 24 : 24 + (std::clamp(rank, 1, n) - 1) * 106 / (n - 1); };
    int top = 1;
    for (int j = 1; j <= days; ++j)
        top = std::max<int>(top, e.dayTotal[j - 1]);
    QString alt = QStringLiteral("順位の推移と日計:");
    QString line, marks, bars;
    for (int j = 1; j <= days; ++j) {
        const int rank = e.dayRank[j - 1], score = std::max<int>(e.dayTotal[j - 1], 0);
        alt += QStringLiteral(" %1 %2位 %3点、").arg(dayLabel(j)).arg(rank).arg(score);
        line += QStringLiteral("%1,%2 ").arg(x(j)).arg(y(rank));
        marks += QStringLiteral("<circle cx=%1 cy=%2 r=3.5 /><text x=%1 y=%3>%4</text>")
                     .arg(x(j))
                     .arg(y(rank))
                     .arg(y(rank) - 7)
                     .arg(rank);
        const int h = score * 70 / top;
        bars += QStringLiteral("<rect x=%1 y=%2 width=14 height=%3 />")
                    .arg(x(j) - 7)
                    .arg(230 - h)
                    .arg(h);
        marks += QStringLiteral("<text x=%1 y=%2>%3</text>").arg(x(j)).arg(226 - h).arg(score);
    }
    alt.chop(1);
    QString days15;
    for (int j = 1; j <= kDays; ++j)
        days15 += QStringLiteral("<text x=%1 y=246>%2</text>").arg(x(j)).arg(j);
    line.chop(1);
    // Drawn with its own attributes, so a style sheet of the organiser's
    // leaves it readable; black and greys only, for print and black and white.
    return QStringLiteral("<svg class=rankchart viewBox=\"0 0 400 250\" width=400 height=250 "
                          "style=\"width:100%;max-width:560px;height:auto\" role=img font-size=12 "
                          "text-anchor=middle><title>")
        + alt + QStringLiteral("</title>")
        + QStringLiteral("<g stroke=#777 stroke-dasharray=\"3 3\"><line x1=36 y1=24 x2=396 y2=24 />"
                         "<line x1=36 y1=130 x2=396 y2=130 /></g><line x1=36 y1=230 x2=396 y2=230 "
                         "stroke=#000 />")
        + QStringLiteral("<g text-anchor=end><text x=32 y=28>1位</text><text x=32 y=134>%1位</text>"
                         "<text x=32 y=200>日計</text></g>")
              .arg(n)
        + QStringLiteral("<g fill=#ccc stroke=#000>") + bars + QStringLiteral("</g>")
        + QStringLiteral("<polyline fill=none stroke=#000 stroke-width=2 points=\"") + line
        + QStringLiteral("\"/>") + marks + days15 + QStringLiteral("</svg>") + CrLf;
}

QString participant(const Contest &c, const Site &site, int i)
{
    const RulesRecord &rules = c.rules();
    const Roster &roster = c.roster();
    const EntryRecord &e = c.entries()[i];
    const int day = std::clamp<int>(rules.currentDay, 0, kDays);
    const int picks = std::clamp<int>(rules.pickCount, 0, kMaxPicks);
    const QString d3 = rowClass('d', 3);

    const QString shikona = escape(e.shikona.trimmed());
    QString out = head(site, shikona) + navigation(site, Page::Participant) + tableOpen()
        + titleBars(title(roster.bashoName, day), shikona, 19);
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
    out += rankChart(e, day, c.participantCount());
    out += QStringLiteral("<BR><BR><form>") + closeButton();
    out += QStringLiteral("<BR><BR>") + pageEnd(site);
    return out;
}

} // namespace kc::pages
