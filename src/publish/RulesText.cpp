#include "publish/RulesText.h"

#include "publish/HtmlPage.h"

#include <QStringList>

namespace kc {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Appends sentences and headings to both texts at once.
class Explainer
{
public:
    RulesExplanation result;

    void heading(const QString &text)
    {
        result.plain += text + kCrLf;
        result.html += QStringLiteral("<B>") + text + QStringLiteral("</B><BR>") + kCrLf;
    }
    // The absence section's heading is not bold on the page.
    void plainHeading(const QString &text)
    {
        result.plain += text + kCrLf;
        result.html += text + QStringLiteral("<BR>") + kCrLf;
    }
    void sentence(const QString &text, bool endsSection = false)
    {
        result.plain += text + kCrLf;
        result.html
            += text + (endsSection ? QStringLiteral("<BR><BR>") : QStringLiteral("<BR>")) + kCrLf;
        if (endsSection)
            result.plain += kCrLf;
    }
    // Red on the page only; `close` ends the colour and what follows it.
    void note(const QStringList &lines, const QString &close, bool endsSection)
    {
        result.html += QStringLiteral("<FONT color=#990000>");
        for (int i = 0; i < lines.size(); ++i) {
            result.plain += lines[i] + kCrLf;
            result.html
                += lines[i] + (i + 1 < lines.size() ? QStringLiteral("<BR>") : close) + kCrLf;
        }
        if (endsSection)
            result.plain += kCrLf;
    }
};

} // namespace

RulesExplanation explainRules(const RulesRecord &r)
{
    Explainer e;
    e.result.plain = kCrLf;

    e.heading(QStringLiteral("【遊戯方法】"));
    e.sentence(
        QStringLiteral("　幕内力士の中から%1名の力士を選び､その勝ち星による点数を競うゲームです｡")
            .arg(r.pickCount));
    e.sentence(QStringLiteral("　力士にはそれぞれ点数が与えられ、その力士が勝つと勝ち星に応じ点数が"
                              "競技参加者の得点に加算されます。"),
               true);

    e.heading(QStringLiteral("【力士選出のルール】"));
    e.sentence(
        r.includeTopRanks == 0
            ? QStringLiteral("　①幕内力士の内、大関、横綱については選択することはできません。")
            : QStringLiteral("　①幕内力士の内、大関、横綱については、それらの中から1名のみ"
                             "選択できます。"));
    if (r.reserveInUse()) {
        e.sentence(QStringLiteral(
            "　②場所開催時、及び開催期間中の休場者に対し、補充力士を1名選択します。"));
        e.note(
            {QStringLiteral("　　　補充力士を選出すると、その力士より下位の力士で未使用の力士が9名"
                            "自動的に選択されます。"),
             QStringLiteral("　　　幕内最下位力士に達した場合は、関脇に戻ります。")},
            QStringLiteral("</FONT><BR><BR>"), true);
    } else {
        e.sentence(
            QStringLiteral("　②場所開催時、及び開催期間中の休場者に対しては補充を行いません。"),
            true);
    }

    e.heading(QStringLiteral("【点数加算のルール】"));
    e.sentence(QStringLiteral("　①白星を取得した場合は、その力士の点数が得点となります。"));
    if (r.fixedStarBonus()) {
        e.sentence(
            QStringLiteral("　②金星を取得した場合は、%1点が加算されます。").arg(r.goldStarBonus));
        e.sentence(
            QStringLiteral("　③銀星を取得した場合は、%1点が加算されます。").arg(r.silverStarBonus));
    } else {
        e.sentence(QStringLiteral(
                       "　②金星を取得した場合は、①に代わりその力士の点数の %1倍が得点となります。")
                       .arg(r.goldStarBonus));
        e.sentence(QStringLiteral(
                       "　③銀星を取得した場合は、①に代わりその力士の点数の %1倍が得点となります。")
                       .arg(r.silverStarBonus));
    }
    // A length of 0 or below switches the streak bonus off.
    if (r.streakMin > 0)
        e.sentence(QStringLiteral(
                       "　④選択した力士が、%1連勝すると%2点加算され、以降連勝を続ける毎に %2点が"
                       "加算されます。")
                       .arg(r.streakMin)
                       .arg(r.streakBonus));
    e.result.plain += kCrLf;
    e.note({QStringLiteral(
                "　　　なお、ここでの銀星とは、関脇以下の力士の大関戦での勝利、大関の横綱戦での"
                "勝利をいい、"),
            QStringLiteral("　　　金星とは、関脇以下の力士の横綱戦での勝利をいいます。")},
           QStringLiteral("</FONT><BR><BR>"), true);

    e.heading(QStringLiteral("【順位決定のルール】"));
    e.sentence(r.tieBreak() == TieRule::Lottery
                   ? QStringLiteral(
                       "　①同点となった場合の順位決定は、コンピュータプログラム内部の乱数による"
                       "クジ引きとなります。")
                   : QStringLiteral(
                       "　①同点となった場合の順位決定は、ＩＤ番号の小さいものが上位となります。"),
               true);

    e.plainHeading(QStringLiteral("【休場力士の取扱いについて】"));
    if (r.reserveInUse()) {
        e.sentence(
            QStringLiteral("　①休場当日は、黒星扱い（不戦敗）となります。当日の集計終了時に力士が"
                           "補充されます。"));
        e.sentence(
            QStringLiteral("　②休場者が復帰しても、補充力士がそのまま残ります。（空白のときは空白の"
                           "まま）"));
    } else {
        e.sentence(QStringLiteral("　①休場者は黒星扱いとなります。"));
    }
    e.note({QStringLiteral(
               "　　　初日より休場となった場合も上記に従いますので、休場が予定されている力士の"
               "指名にはご注意ください。")},
           QStringLiteral("</FONT><BR>"), false);
    return e.result;
}

QString rulesPage(const RulesExplanation &explanation, const html::Site &site)
{
    // The character set comes first in HEAD so that browsers outside a Japanese
    // locale read the CP932 bytes right; the style sheet only dresses the
    // navigation line, the foot line and the phone layout.
    return kCrLf + QStringLiteral("<HTML><HEAD>")
        + QStringLiteral("<META http-equiv=Content-Type content=\"text/html; charset=Shift_JIS\">")
        + QStringLiteral("<META name=viewport content=\"width=device-width, initial-scale=1\">")
        + QStringLiteral("<TITLE>") + html::pageTitle(site, html::pageName(html::Page::Rules))
        + QStringLiteral("</TITLE>") + kCrLf
        + QStringLiteral("<LINK rel=stylesheet href=Kachi1.css type=text/css>") + kCrLf
        + QStringLiteral("<STYLE>") + kCrLf + QStringLiteral("</STYLE>") + kCrLf
        + QStringLiteral("</HEAD>") + kCrLf + QStringLiteral("<BODY background=pic/WPaper.GIF>")
        + kCrLf + html::navigation(site, html::Page::Rules)
        + QStringLiteral("<P style=background-color:navy;color:white; align=center><B><FONT size=5>"
                         "ルールの説明</FONT></B></P><BR><BR>")
        + QStringLiteral("<FONT size=4>") + explanation.html + QStringLiteral("<BR>")
        + QStringLiteral("</FONT>") + html::footLine(site) + QStringLiteral("</BODY></HTML>");
}

} // namespace kc
