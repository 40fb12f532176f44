#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>

namespace kc {

class Contest;

// The frame every published page shares: head, table opening, title bars,
// cells, row classes, the back button and the participant-page links.
namespace html {

inline const QString CrLf = QStringLiteral("\r\n");

// Text typed by a user, made safe inside a page: & < > " as entities; a
// character the page's code page cannot hold becomes a numeric reference.
QString escape(const QString &text);
// The tournament code as it may stand in a file name and a link: ASCII
// letters, digits, '-' and '_' only.
QString safeCode(const QString &code);
// "z" + code + ID + ".html"
QString participantFile(const QString &code, int id);
// The link that opens a participant page in a new window; `text` is already
// page text (escaped).
QString participantLink(const QString &code, int id, const QString &text);

// The pages a reader moves between; Participant is any z*.html page.
enum class Page { Home, Result, Result2, Entry, Graph, Records, Prize, Rules, Participant };
inline constexpr int kLinkedPages = 8; // every kind but Participant

// What every reader's page shows beyond its table: the tournament, the state,
// when the pages were made and which pages the navigation line may link to.
struct Site
{
    QString bashoName; // as typed
    int day = 0; // days tallied, 0..15
    QString state; // the day's state text, or the reception's before day 1
    QDateTime updated;
    std::array<bool, kLinkedPages> linked {}; // by Page; Home always
    bool participantPages = false; // the z*.html pages exist to link to
};

QString fileOf(Page page); // "index.html", "Result.html" …
QString pageName(Page page); // "ホーム", "総合得点表" …
// The tournament name (escaped) and `name`, for TITLE.
QString pageTitle(const Site &site, const QString &name);

// The six head lines with the character set declared first inside HEAD, then
// the phone viewport; the title is the tournament name and `name`.
QString head(const Site &site, const QString &name);
QString head(const Site &site, Page page);
// One line of links to the other pages, the current one marked; its id names
// the page, so the style sheet can tell the pages apart.
QString navigation(const Site &site, Page current);
// "更新: YYYY/MM/DD HH:MM" and the state.
QString footLine(const Site &site);
QString tableOpen();
QString tableClose(); // "  </TBODY>" CRLF "</TABLE>" CRLF
QString foot(const Site &site); // tableClose(), the foot line, "</BODY>" CRLF "</HTML>" CRLF
// The end of every page: the foot line, "</BODY>" CRLF "</HTML>" CRLF.
QString pageEnd(const Site &site);
// The top anchor the "▲" links return to, closed so it holds nothing.
QString topAnchor();
QString backButton();
QString closeButton();

// Day counter to the text after the title: "", "初日", "二日目" … "最終結果".
QString stateText(int day);
// Tournament name (escaped), seven ideographic spaces and the state text.
QString title(const QString &bashoName, int day);
// The title bar and the sub-title bar, each one full-width row.
QString titleBars(const QString &title, const QString &subTitle, int columns);
QString subTitleBar(const QString &subTitle, int columns);

// Row-class table: kind 'c', 'd' or 'e' of the row r ("class=c0" …).
QString rowClass(char kind, int r);
// "      <TD " + cls + ">" + text + "</TD>" CRLF
QString cell(const QString &cls, const QString &text);
// "      <TD class=c10 nowrap width=" + width + ">" + label + "</TD>" CRLF
QString headerCell(int width, const QString &label);
QString rowOpen();
QString rowClose();

// The first header cell of a 30-row block: `first` for block 1, the block's
// anchor and a link back to the top for later blocks.
QString blockHeadCell(int row, const QString &first);
// "■" then one link per block of 30 rows, then "<BR>"; `label` gives a block's text.
QString blockIndex(int rows, bool rankSuffix);

// Day label of the records pages: "初日", "二日目" … "中日" … "千秋楽".
QString dayLabel(int day);

} // namespace html
} // namespace kc
