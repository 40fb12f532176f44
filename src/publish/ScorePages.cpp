#include "publish/ScorePages.h"

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

QString preamble(bool gap)
{
    return head() + QStringLiteral("<A name=LBTOP>")
        + (gap ? QStringLiteral("<BR><BR>") : QString()) + backButton();
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
    RecordSet rs(c.database(), QStringLiteral("entry00"));
    rs.setSort(QStringLiteral("順位 ASC"));
    rs.moveFirst();
    return rs;
}

QString nameText(const RecordSet &rs)
{
    return escape(rs.textValue(QStringLiteral("しこな")).trimmed());
}

} // namespace

QString result(Contest &c, const DailyRecords &daily, ProgressTrack &progress)
{
    const int day = std::clamp<int>(c.rules().currentDay, 0, kDays);
    const QString code = c.roster().bashoCode;
    QString out = preamble(false) + tableOpen()
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
        const int id = rs.intValue(QStringLiteral("ID"));
        out += rowOpen();
        out += cell(rowClass('e', r), day == 0 ? QString() : rs.textValue(QStringLiteral("順位")));
        out += cell(rowClass('c', r), QString::number(id));
        out += cell(rowClass('c', r), participantLink(code, id, nameText(rs)));
        out += cell(rowClass('e', r), day == 0 ? QString() : rs.textValue(QStringLiteral("合計")));
        for (int d = 1; d <= kDays; ++d) {
            if (d > day) {
                out += cell(rowClass('d', r), QString());
                continue;
            }
            const bool top = daily.at(DailyRecords::TopEntry, d) == id - 100;
            out += cell(top ? QStringLiteral("class=Hi") : rowClass('d', r),
                        rs.textValue(dayColumnName(d)));
        }
        out += rowClose();
    }
    out += tableClose()
        + QStringLiteral("<BR><FONT color=#ff0000>得点に付されているマーク</FONT>は、当日賞の設定に"
                         "かかわらず、当日の最高点（同点の場合の優先順位は、基本ルールに従います。)"
                         "を示しています。<BR>")
        + CrLf + QStringLiteral("</BODY>") + CrLf + QStringLiteral("</HTML>") + CrLf;
    return out;
}

QString result2(Contest &c, ProgressTrack &progress)
{
    const int day = std::clamp<int>(c.rules().currentDay, 0, kDays);
    const QString code = c.roster().bashoCode;
    const int columns = pickCount(c) + reserveColumns(c) + 4;
    RecordSet rs = rankOrder(c);
    QString out = preamble(true) + blockIndex(rs.count(), true) + tableOpen()
        + titleBars(title(c.roster().bashoName, day),
                    QStringLiteral("成績順　指名力士一覧　（現在力士表示）"), columns);
    for (int r = 0; !rs.eof(); ++r, rs.moveNext()) {
        progress.advance(4);
        if (r % 30 == 0)
            out += pickHeader(c, r);
        const int id = rs.intValue(QStringLiteral("ID"));
        const int k = id - 100;
        out += rowOpen();
        out += cell(rowClass('e', r), rs.textValue(QStringLiteral("順位")));
        out += cell(rowClass('c', r), QString::number(id));
        out += cell(rowClass('c', r), participantLink(code, id, nameText(rs)));
        out += cell(rowClass('e', r), rs.textValue(QStringLiteral("合計")));
        const bool known = k >= 0 && k < c.participantCount();
        for (int s = 0; s < pickCount(c); ++s)
            out += cell(rowClass('c', r), known ? wrestler(c, c.entries()[k].picks[s]) : QString());
        if (reserveColumns(c))
            out += cell(rowClass('c', r), known ? wrestler(c, c.entries()[k].reserve) : QString());
        out += rowClose();
    }
    return out + foot();
}

QString entry(const Contest &c, ProgressTrack &progress)
{
    const int day = std::clamp<int>(c.rules().currentDay, 0, kDays);
    const QString code = c.roster().bashoCode;
    const int n = c.participantCount();
    const int columns = pickCount(c) + reserveColumns(c) + 4;
    const QString name = escape(c.roster().bashoName.trimmed());
    const QString pageTitle = Phase::of(c.rules()).receptionClosed()
        ? QString(name + stateText(day) + QStringLiteral("　　(受付は終了しました) 　　　　　　"))
        : QString(name + QStringLiteral("　　(投票受付中）"));
    QString out = preamble(true) + blockIndex(n, true) + tableOpen()
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
    return out + foot();
}

} // namespace kc::pages
