#include "publish/RecordPages.h"
#include "store/EntryTable.h"

#include "publish/HtmlPage.h"
#include "publish/PrizeListReport.h"
#include "publish/PublishProgress.h"
#include "store/Contest.h"
#include "store/RecordFile.h"

#include <cmath>

namespace kc::pages {

using namespace html;

namespace {

int tallied(const Contest &c)
{
    return std::clamp<int>(c.rules().currentDay, 0, kDays);
}

// A link to the page of the participant at `position`; empty when the stored
// position names nobody.
QString holder(const Contest &c, int position)
{
    if (position < 0 || position >= c.participantCount())
        return QString();
    return participantLink(c.roster().bashoCode, position + 100,
                           escape(c.entries()[position].shikona.trimmed()));
}

QString number(int v)
{
    return QString::number(v);
}

} // namespace

QString records(Contest &c, const Site &site, const DailyRecords &daily)
{
    const int day = tallied(c);
    QString out = head(site, Page::Records) + navigation(site, Page::Records) + tableOpen()
        + titleBars(title(c.roster().bashoName, day), QStringLiteral("各種データ"), 9);
    out += rowOpen() + QStringLiteral("      <TD class=c10>　</TD>") + CrLf;
    for (const char16_t *label :
         {u"最高得点", u"最低得点", u"最大ランクアップ", u"最大ランクダウン"})
        out += QStringLiteral("      <TD class=c10 colspan=2>") + QString::fromUtf16(label)
            + QStringLiteral("</TD>") + CrLf;
    out += rowClose();
    out += rowOpen() + headerCell(90, QStringLiteral("取組み日"))
        + headerCell(40, QStringLiteral("点数")) + headerCell(90, QStringLiteral("該当者"))
        + headerCell(40, QStringLiteral("点数")) + headerCell(90, QStringLiteral("該当者"))
        + headerCell(40, QStringLiteral("UP")) + headerCell(90, QStringLiteral("該当者"))
        + headerCell(40, QStringLiteral("down")) + headerCell(90, QStringLiteral("該当者"))
        + rowClose();

    int top = 0, low = 9999, rise = 0, fall = 0;
    for (int j = 1; j <= day; ++j) {
        const QString cc = rowClass('c', j - 1);
        const int t = daily.at(DailyRecords::TopScore, j), l = daily.at(DailyRecords::LowScore, j);
        top = std::max(top, t);
        low = std::min(low, l);
        out += rowOpen() + cell(cc, dayLabel(j)) + cell(cc, number(t))
            + cell(cc, holder(c, daily.at(DailyRecords::TopEntry, j))) + cell(cc, number(l))
            + cell(cc, holder(c, daily.at(DailyRecords::LowEntry, j)));
        if (j == 1) {
            for (int k = 0; k < 4; ++k)
                out += cell(cc, QString());
        } else {
            const int up = daily.at(DailyRecords::MaxRise, j),
                      down = daily.at(DailyRecords::MaxFall, j);
            rise = std::max(rise, up);
            fall = std::max(fall, std::abs(down));
            out += cell(cc, number(up)) + cell(cc, holder(c, daily.at(DailyRecords::Riser, j)))
                + cell(cc, number(down)) + cell(cc, holder(c, daily.at(DailyRecords::Faller, j)));
        }
        out += rowClose();
    }
    out += rowOpen() + QStringLiteral("      <TD class=c10>場所中最大</TD>") + CrLf;
    const QString ra = QStringLiteral("class=ra");
    for (int v : {top, low, rise, fall})
        out += cell(ra, day < 2 ? QString() : number(v)) + cell(ra, QStringLiteral(" "));
    out += rowClose() + tableClose();

    const int count = std::max<int>(daily.perfectCount(), 0);
    std::vector<PerfectRecord> perfect
        = recordfile::readAll<PerfectRecord>(c.files(), c.paths().perfect);
    if (int(perfect.size()) > count)
        perfect.resize(count);
    const char16_t *kinds[] = {u"全　勝　記　録", u"一　敗　記　録", u"全　敗　記　録"};
    for (int kind = 0; kind < 3; ++kind) {
        out += QStringLiteral("<BR><BR>") + tableOpen()
            + subTitleBar(QString::fromUtf16(kinds[kind]), 9);
        out += rowOpen() + headerCell(120, QStringLiteral("取組日"))
            + headerCell(150, QStringLiteral("しこな")) + headerCell(40, QStringLiteral("得点"))
            + headerCell(40, QStringLiteral("日順位")) + rowClose();
        for (const PerfectRecord &p : perfect) {
            if (p.kind != kind)
                continue;
            const QString c2 = rowClass('c', 2), d2 = rowClass('d', 2);
            const bool dayKnown = p.day >= 1 && p.day <= kDays;
            // The log keeps the overall rank; the column means the day's score rank.
            const bool known = dayKnown && p.entryIndex >= 0 && p.entryIndex < c.participantCount();
            out += rowOpen() + cell(c2, dayKnown ? dayLabel(p.day) : QString())
                + cell(c2, holder(c, p.entryIndex)) + cell(d2, number(p.dayTotal))
                + cell(d2,
                       known ? number(c.entries()[p.entryIndex].dayScoreRank[p.day - 1])
                             : QString())
                + rowClose();
        }
        out += tableClose();
    }
    out += QStringLiteral("<BR><BR>") + backButton() + QStringLiteral("<BR><BR>") + pageEnd(site);
    return out;
}

QString graph(Contest &c, const Site &site, const DailyRecords &daily, ProgressTrack &progress)
{
    const int day = tallied(c);
    const int n = c.participantCount();
    QString out = head(site, Page::Graph) + topAnchor() + QStringLiteral("<BR><BR>") + backButton()
        + navigation(site, Page::Graph) + blockIndex(n, false) + tableOpen()
        + titleBars(title(c.roster().bashoName, day), QStringLiteral("レースの展望"), 6);
    int scale = 0;
    for (int j = 1; j <= day; ++j)
        scale += daily.at(DailyRecords::TopScore, j);
    if (scale == 0)
        scale = 1;
    int leader = 0;
    {
        RecordSet rs(c.database(), entrytable::name);
        rs.setSort(entrytable::byRank);
        if (rs.moveFirst())
            leader = rs.intValue(entrytable::column::total);
    }
    for (int r = 0; r < n; ++r) {
        progress.advance(2);
        if (r % 30 == 0)
            out += rowOpen() + blockHeadCell(r, QStringLiteral("ID"))
                + headerCell(120, QStringLiteral("　　しこな"))
                + headerCell(35, QStringLiteral("得点")) + headerCell(35, QStringLiteral("順位"))
                + headerCell(200, QString()) + headerCell(35, QStringLiteral("点差")) + rowClose();
        const EntryRecord &e = c.entries()[r];
        int total = 0;
        for (int j = 1; j <= day; ++j)
            total += e.dayTotal[j - 1];
        const int width = std::max(0, int(std::lround(double(total) * 380.0 / scale)));
        out += rowOpen() + cell(rowClass('d', r), number(r + 100) + QStringLiteral("　"));
        out += QStringLiteral("      <TD ") + rowClass('c', r) + u'>'
            + participantLink(c.roster().bashoCode, r + 100, escape(e.shikona.trimmed()))
            + QStringLiteral("</TD>") + CrLf;
        out += cell(rowClass('e', r), day == 0 ? QString() : number(total));
        out += cell(rowClass('d', r), day == 0 ? QString() : number(e.dayRank[day - 1]));
        out += cell(rowClass('c', r),
                    QStringLiteral("<img src=./pic/bar.gif width=%1 height=10>").arg(width)
                        + QStringLiteral("<img src=./pic/bar_top.gif width=4 height=10>"));
        out += cell(rowClass('e', r), day == 0 ? QString() : number(leader - total));
        out += rowClose();
    }
    out += tableClose() + QStringLiteral("<BR><BR>") + pageEnd(site);
    return out;
}

QString prize(Contest &c, const Site &site)
{
    const int day = tallied(c);
    QString out = head(site, Page::Prize) + navigation(site, Page::Prize) + tableOpen()
        + titleBars(title(c.roster().bashoName, day), QStringLiteral("受賞者　発表"), 5);
    out += rowOpen();
    const std::pair<const char16_t *, int> heads[]
        = {{u"賞位", 140}, {u"受賞者", 120}, {u"ID", 50}, {u"得点", 70}, {u"受賞ﾎﾟｲﾝﾄ", 100}};
    for (const auto &[label, width] : heads)
        out += QStringLiteral("      <TD class=c10 width=") + number(width) + u'>'
            + QString::fromUtf16(label) + QStringLiteral("</TD>") + CrLf;
    out += rowClose();
    int r = 0;
    for (const PrizeListRow &row : readPrizeRows(c)) {
        const QString cc = rowClass('c', r), dd = rowClass('d', r);
        ++r;
        const QString winner = row.id < 100
            ? QStringLiteral(" ")
            : participantLink(c.roster().bashoCode, row.id,
                              QStringLiteral("<B>") + escape(row.shikona.trimmed())
                                  + QStringLiteral("</B>"));
        out += rowOpen() + cell(cc, escape(row.prize.trimmed())) + cell(cc, winner)
            + cell(dd, number(row.id)) + cell(dd, number(row.score))
            + cell(dd, QString::number(row.points)) + rowClose();
    }
    out += tableClose() + QStringLiteral("<BR><BR>") + backButton() + QStringLiteral("<BR><BR>")
        + pageEnd(site);
    return out;
}

QString test(const DailyRecords &daily)
{
    QString out = CrLf + QStringLiteral("<!DOCTYPE HTML PUBLIC -//W3C//DTD HTML 4.0//EN>")
        + QStringLiteral("<HTML><HEAD><META http-equiv=Content-Type content=\"text/html; "
                         "charset=Shift_JIS\"><TITLE></TITLE>")
        + CrLf + QStringLiteral("<LINK rel=stylesheet href=Kachi1.css type=text/css>") + CrLf
        + QStringLiteral("<STYLE>") + CrLf
        + QStringLiteral("</STYLE></HEAD><BODY background=pic/WPaper.GIF><TABLE>") + CrLf;
    for (int d = 1; d <= kDays; ++d) {
        out += QStringLiteral("    <TR>");
        for (int v : {daily.at(DailyRecords::MaxRise, d), daily.at(DailyRecords::Riser, d),
                      daily.at(DailyRecords::MaxFall, d), daily.at(DailyRecords::Faller, d)})
            out += QStringLiteral("      <TD>") + CrLf + number(v) + QStringLiteral("</TD>") + CrLf;
    }
    out += QStringLiteral("  </TBODY>") + CrLf + QStringLiteral("</TABLE>") + CrLf
        + QStringLiteral("<BR><BR></BODY>") + CrLf + QStringLiteral("</HTML>") + CrLf;
    return out;
}

} // namespace kc::pages
