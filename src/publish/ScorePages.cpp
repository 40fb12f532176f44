#include "publish/ScorePages.h"
#include "store/EntryTable.h"

#include "publish/HtmlPage.h"
#include "publish/PublishProgress.h"
#include "store/Contest.h"
#include "store/Phase.h"

namespace kc::pages {

using namespace html;

namespace {

int pickCount(const Contest &c)
{
    return std::clamp<int>(c.rules().pickCount, 0, kMaxPicks);
}

int reserveColumns(const Contest &c)
{
    return c.rules().reserveInUse() ? 1 : 0;
}

QString wrestler(const Contest &c, int slot)
{
    return escape(c.roster().name(slot));
}

QString preamble(const Site &site, Page page, bool gap)
{
    return head(site, page) + topAnchor() + (gap ? QStringLiteral("<BR><BR>") : QString())
        + backButton() + navigation(site, page);
}

QString pickHeader(const Contest &c, int r)
{
    QString out = rowOpen() + blockHeadCell(r, QStringLiteral("順位"))
        + headerCell(25, QStringLiteral("ID")) + headerCell(120, QStringLiteral("しこな"))
        + headerCell(40, QStringLiteral("合計"));
    for (int k = 0; k < pickCount(c); ++k)
        out += headerCell(70, QString::number(c.rules().slotPoints[k]) + QStringLiteral("点力士"));
    if (reserveColumns(c))
        out += headerCell(70, QStringLiteral("予備力士"));
    return out + rowClose();
}

// The entry table in rank order, read through a record set of its own so
// the organiser's sort of the grid is left alone.
RecordSet rankOrder(Contest &c)
{
    RecordSet rs(c.database(), entrytable::name);
    rs.setSort(entrytable::byRank);
    rs.moveFirst();
    return rs;
}

QString nameText(const RecordSet &rs)
{
    return escape(rs.textValue(entrytable::column::shikona).trimmed());
}

} // namespace

QString result(Contest &c, const Site &site, const DailyRecords &daily, ProgressTrack &progress)
{
    const int day = std::clamp<int>(c.rules().currentDay, 0, kDays);
    const QString code = c.roster().bashoCode;
    QString out = preamble(site, Page::Result, false) + tableOpen()
        + titleBars(title(c.roster().bashoName, day), QStringLiteral("総 合 得 点 表"), 19);
    RecordSet rs = rankOrder(c);
    for (int r = 0; !rs.eof(); ++r, rs.moveNext()) {
        progress.advance(5);
        if (r % 30 == 0) {
            out += rowOpen() + blockHeadCell(r, QStringLiteral("順位"))
                + headerCell(25, QStringLiteral("ID")) + headerCell(120, QStringLiteral("しこな"))
                + headerCell(40, QStringLiteral("合計"));
            for (int d = 1; d <= kDays; ++d)
                out += headerCell(25, QString::number(d));
            out += rowClose();
        }
        const int id = rs.intValue(entrytable::column::id);
        out += rowOpen();
        out += cell(rowClass('e', r),
                    day == 0 ? QString() : rs.textValue(entrytable::column::rank));
        out += cell(rowClass('c', r), QString::number(id));
        out += cell(rowClass('c', r), participantLink(code, id, nameText(rs)));
        out += cell(rowClass('e', r),
                    day == 0 ? QString() : rs.textValue(entrytable::column::total));
        for (int d = 1; d <= kDays; ++d) {
            if (d > day) {
                out += cell(rowClass('d', r), QString());
                continue;
            }
            const bool top = daily.at(DailyRecords::TopEntry, d) == id - 100;
            out += cell(top ? QStringLiteral("class=Hi") : rowClass('d', r),
                        rs.textValue(entrytable::column::day(d)));
        }
        out += rowClose();
    }
    out += tableClose()
        + QStringLiteral("<BR><FONT color=#ff0000>得点に付されているマーク</FONT>は、当日賞の設定に"
                         "かかわらず、当日の最高点（同点の場合の優先順位は、基本ルールに従います。)"
                         "を示しています。<BR>")
        + CrLf + pageEnd(site);
    return out;
}

QString result2(Contest &c, const Site &site, ProgressTrack &progress)
{
    const int day = std::clamp<int>(c.rules().currentDay, 0, kDays);
    const QString code = c.roster().bashoCode;
    const int columns = pickCount(c) + reserveColumns(c) + 4;
    RecordSet rs = rankOrder(c);
    QString out = preamble(site, Page::Result2, true) + blockIndex(rs.count(), true) + tableOpen()
        + titleBars(title(c.roster().bashoName, day),
                    QStringLiteral("成績順　指名力士一覧　（現在力士表示）"), columns);
    for (int r = 0; !rs.eof(); ++r, rs.moveNext()) {
        progress.advance(4);
        if (r % 30 == 0)
            out += pickHeader(c, r);
        const int id = rs.intValue(entrytable::column::id);
        const int k = id - 100;
        out += rowOpen();
        out += cell(rowClass('e', r), rs.textValue(entrytable::column::rank));
        out += cell(rowClass('c', r), QString::number(id));
        out += cell(rowClass('c', r), participantLink(code, id, nameText(rs)));
        out += cell(rowClass('e', r), rs.textValue(entrytable::column::total));
        const bool known = k >= 0 && k < c.participantCount();
        for (int s = 0; s < pickCount(c); ++s)
            out += cell(rowClass('c', r), known ? wrestler(c, c.entries()[k].picks[s]) : QString());
        // The reserve now first in line, as the picks shown are the current ones.
        if (reserveColumns(c))
            out += cell(rowClass('c', r),
                        known ? wrestler(c, c.entries()[k].reserveList[0]) : QString());
        out += rowClose();
    }
    return out + foot(site);
}

QString entry(const Contest &c, const Site &site, ProgressTrack &progress)
{
    const int day = std::clamp<int>(c.rules().currentDay, 0, kDays);
    const QString code = c.roster().bashoCode;
    const int n = c.participantCount();
    const int columns = pickCount(c) + reserveColumns(c) + 4;
    const QString name = escape(c.roster().bashoName.trimmed());
    const QString pageTitle = Phase::of(c.rules()).receptionClosed()
        ? QString(name + stateText(day) + QStringLiteral("　　(受付は終了しました) 　　　　　　"))
        : QString(name + QStringLiteral("　　(投票受付中）"));
    QString out = preamble(site, Page::Entry, true) + blockIndex(n, true) + tableOpen()
        + titleBars(pageTitle, QStringLiteral("登録順　指名力士一覧　（初期力士表示）"), columns);
    for (int r = 0; r < n; ++r) {
        progress.advance(2);
        if (r % 30 == 0)
            out += pickHeader(c, r);
        const EntryRecord &e = c.entries()[r];
        const int id = r + 100;
        const QString shikona = escape(e.shikona.trimmed());
        out += rowOpen();
        out += cell(rowClass('e', r), QString());
        out += cell(rowClass('c', r), QString::number(id) + u' ');
        out += cell(rowClass('c', r), day >= 1 ? participantLink(code, id, shikona) : shikona);
        out += cell(rowClass('e', r), QString());
        for (int s = 0; s < pickCount(c); ++s)
            out += cell(rowClass('c', r), wrestler(c, e.enteredPicks[s]));
        if (reserveColumns(c))
            out += cell(rowClass('c', r), wrestler(c, e.reserve));
        out += rowClose();
    }
    return out + foot(site);
}

namespace {

// The participant's rank after each tallied day as a line 56 x 14, rank 1 at
// the top; a few dozen bytes a row, so 300 rows stay light.
QString sparkline(const EntryRecord &e, int day, int participants)
{
    if (day < 2 || participants < 2)
        return QString();
    QString points;
    for (int j = 1; j <= day; ++j) {
        const int rank = std::clamp<int>(e.dayRank[j - 1], 1, participants);
        points += QString::number(4 * (j - 1)) + u','
            + QString::number(1 + (rank - 1) * 12 / (participants - 1)) + u' ';
    }
    points.chop(1);
    return QStringLiteral(" <svg class=spark viewBox=\"0 0 56 14\" width=56 height=14 "
                          "aria-hidden=true><polyline fill=none stroke=#1a4d8f points=\"")
        + points + QStringLiteral("\"/></svg>");
}

// The winners of the prizes the last tallied day decided: its day prize, the
// mid-tournament prize on day 8, the rank prizes on the last day.
QString dayWinners(Contest &c, const Site &site)
{
    if (site.day < 1)
        return QString();
    RecordSet rs(c.database(), QStringLiteral("PRIZE"));
    rs.setSort(QStringLiteral("表示順 ASC"));
    QString rows;
    int r = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const qint64 order = rs.value(QStringLiteral("表示順")).toLongLong();
        const int id = rs.intValue(QStringLiteral("ID"));
        const bool today = order == 1000000 + site.day || (site.day == 8 && order == 1000000)
            || (site.day == kDays && order < 1000000);
        if (!today || id < 100)
            continue;
        const QString name = escape(rs.textValue(QStringLiteral("しこな")).trimmed());
        rows += rowOpen()
            + cell(rowClass('c', r), escape(rs.textValue(QStringLiteral("賞位")).trimmed()))
            + cell(rowClass('c', r),
                   site.participantPages ? QString(QStringLiteral("<A href=")
                                                   + participantFile(c.roster().bashoCode, id)
                                                   + u'>' + name + QStringLiteral("</A>"))
                                         : name)
            + cell(rowClass('e', r), rs.textValue(QStringLiteral("得点"))) + rowClose();
        ++r;
    }
    if (rows.isEmpty())
        return QString();
    return QStringLiteral("<BR>") + tableOpen() + subTitleBar(QStringLiteral("当日の受賞者"), 3)
        + rowOpen() + headerCell(140, QStringLiteral("賞位"))
        + headerCell(120, QStringLiteral("受賞者")) + headerCell(40, QStringLiteral("得点"))
        + rowClose() + rows + tableClose();
}

// Filters the names as the reader types: width and case folded, katakana read
// as hiragana. Without it the whole list stays.
const char kFinder[] = R"(<SCRIPT>
(function(){var q=document.getElementById('find'),l=document.getElementById('names'),f=document.getElementById('found');
if(!q||!l)return;document.getElementById('finder').hidden=false;
function n(s){s=s.normalize?s.normalize('NFKC'):s;return s.toLowerCase().replace(/[\u30a1-\u30f6]/g,function(c){return String.fromCharCode(c.charCodeAt(0)-96);});}
var items=[].map.call(l.getElementsByTagName('li'),function(li){return [li,n(li.getElementsByClassName('nm')[0].textContent)];});
q.addEventListener('input',function(){var v=n(q.value.trim()),k=0;items.forEach(function(x){var on=!v||x[1].indexOf(v)>=0;x[0].style.display=on?'':'none';if(on)k++;});f.textContent=v?k+' \u540d':'';});})();
</SCRIPT>)";

} // namespace

QString home(Contest &c, const Site &site)
{
    const int day = site.day;
    const int n = c.participantCount();
    const QString code = c.roster().bashoCode;
    QString out = head(site, Page::Home) + navigation(site, Page::Home) + tableOpen()
        + titleBars(escape(c.roster().bashoName.trimmed()) + QStringLiteral("　　　　　　　")
                        + site.state,
                    QStringLiteral("更新: ")
                        + site.updated.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
                    4);

    struct Row
    {
        int id, rank, total;
        QString name;
    };
    std::vector<Row> rows;
    if (day >= 1) {
        for (RecordSet rs = rankOrder(c); !rs.eof(); rs.moveNext())
            rows.push_back({rs.intValue(entrytable::column::id),
                            rs.intValue(entrytable::column::rank),
                            rs.intValue(entrytable::column::total), nameText(rs)});
    } else {
        for (int k = 0; k < n; ++k)
            rows.push_back({k + 100, 0, 0, escape(c.entries()[k].shikona.trimmed())});
    }
    auto nameOf = [&](const Row &row, const QString &cls) -> QString {
        if (site.participantPages)
            return QStringLiteral("<A ") + cls + QStringLiteral(" href=")
                + participantFile(code, row.id) + u'>' + row.name + QStringLiteral("</A>");
        return QStringLiteral("<SPAN ") + cls + u'>' + row.name + QStringLiteral("</SPAN>");
    };

    if (day >= 1 && !rows.empty()) {
        out += rowOpen() + headerCell(40, QStringLiteral("順位"))
            + headerCell(120, QStringLiteral("しこな")) + headerCell(40, QStringLiteral("合計"))
            + headerCell(40, QStringLiteral("点差")) + rowClose();
        for (int r = 0; r < std::min<int>(10, int(rows.size())); ++r) {
            const Row &row = rows[r];
            out += rowOpen() + cell(rowClass('e', r), QString::number(row.rank))
                + cell(rowClass('c', r), nameOf(row, QStringLiteral("class=nm")))
                + cell(rowClass('e', r), QString::number(row.total))
                + cell(rowClass('d', r), QString::number(rows[0].total - row.total)) + rowClose();
        }
    }
    out += tableClose() + dayWinners(c, site);

    out += QStringLiteral("<UL class=pages>") + CrLf;
    static const std::pair<Page, const char16_t *> pageList[]
        = {{Page::Result, u"順位と日々の得点"},        {Page::Result2, u"順位と今の指名力士"},
           {Page::Entry, u"登録順の指名力士"},         {Page::Graph, u"得点の棒グラフ"},
           {Page::Records, u"日々の最高・最低と記録"}, {Page::Prize, u"賞と受賞者"},
           {Page::Rules, u"遊び方と点数のルール"}};
    for (const auto &[page, what] : pageList)
        if (site.linked[int(page)])
            out += QStringLiteral("<LI><A href=") + fileOf(page) + u'>' + pageName(page)
                + QStringLiteral("</A> ") + QString::fromUtf16(what) + QStringLiteral("</LI>")
                + CrLf;
    out += QStringLiteral("</UL>") + CrLf;

    out += QStringLiteral("<H2 class=names>参加者（%1名）</H2>").arg(n) + CrLf
        + QStringLiteral("<P id=finder hidden><INPUT type=search id=find autocomplete=off "
                         "placeholder=しこなで探す aria-label=しこなで探す> <SPAN id=found "
                         "aria-live=polite></SPAN></P>")
        + CrLf + QStringLiteral("<UL class=names id=names>") + CrLf;
    for (const Row &row : rows) {
        out += QStringLiteral("<LI>") + nameOf(row, QStringLiteral("class=nm"));
        if (day >= 1) {
            const int k = row.id - 100;
            out += QStringLiteral(" <SPAN class=rk>%1位 %2点</SPAN>").arg(row.rank).arg(row.total);
            if (k >= 0 && k < n)
                out += sparkline(c.entries()[k], day, n);
        }
        out += QStringLiteral("</LI>") + CrLf;
    }
    out += QStringLiteral("</UL>") + CrLf + QString::fromLatin1(kFinder) + CrLf;
    return out + pageEnd(site);
}

} // namespace kc::pages
