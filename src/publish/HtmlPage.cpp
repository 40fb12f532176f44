#include "publish/HtmlPage.h"

#include "store/Records.h"

#include <QStringEncoder>
#include <optional>

namespace kc::html {

namespace {

// One converter for a whole text; a new one after a character it could not
// take, since the error stays with the converter.
class Cp932Check
{
public:
    bool fits(QStringView ch)
    {
        if (!m_enc || m_enc->hasError())
            m_enc.emplace("Windows-31J", QStringConverter::Flag::Stateless);
        if (!m_enc->isValid())
            return false;
        const QByteArray bytes = m_enc->encode(ch);
        return !m_enc->hasError() && !bytes.isEmpty();
    }

private:
    std::optional<QStringEncoder> m_enc;
};

} // namespace

QString escape(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    Cp932Check cp932;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        switch (ch.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            continue;
        case u'<':
            out += QStringLiteral("&lt;");
            continue;
        case u'>':
            out += QStringLiteral("&gt;");
            continue;
        case u'"':
            out += QStringLiteral("&quot;");
            continue;
        default:
            break;
        }
        if (ch.unicode() < 0x80) {
            out += ch;
            continue;
        }
        const qsizetype len = (ch.isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QStringView one = QStringView(text).mid(i, len);
        if (cp932.fits(one))
            out += one;
        else
            out += QStringLiteral("&#%1;").arg(one.toUcs4().value(0));
        i += len - 1;
    }
    return out;
}

QString safeCode(const QString &code)
{
    QString out;
    for (const QChar ch : code) {
        const char16_t u = ch.unicode();
        if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9')
            || u == u'-' || u == u'_')
            out += ch;
    }
    return out;
}

QString participantFile(const QString &code, int id)
{
    return u'z' + safeCode(code) + QString::number(id) + QStringLiteral(".html");
}

QString participantLink(const QString &code, int id, const QString &text)
{
    return QStringLiteral("<A href=") + participantFile(code, id)
        + QStringLiteral(" target=_blank>") + text + QStringLiteral("</A>");
}

QString fileOf(Page page)
{
    static const char *const files[] = {"index.html", "Result.html", "Result2.html",
                                        "Entry.html", "graph.html",  "Records.html",
                                        "Prize.html", "Rules.html",  ""};
    return QString::fromLatin1(files[int(page)]);
}

QString pageName(Page page)
{
    static const char16_t *const names[] = {u"ホーム",     u"総合得点表",   u"指名力士一覧",
                                            u"参加者一覧", u"レースの展望", u"各種データ",
                                            u"受賞者発表", u"ルール",       u""};
    return QString::fromUtf16(names[int(page)]);
}

QString pageTitle(const Site &site, const QString &name)
{
    const QString basho = escape(site.bashoName.trimmed());
    return basho.isEmpty() ? name : basho + QStringLiteral("　") + name;
}

QString head(const Site &site, const QString &name)
{
    return CrLf + QStringLiteral("<!DOCTYPE HTML PUBLIC -//W3C//DTD HTML 4.0//EN>")
        + QStringLiteral("<HTML><HEAD><META http-equiv=Content-Type content=\"text/html; "
                         "charset=Shift_JIS\">")
        + QStringLiteral("<META name=viewport content=\"width=device-width, initial-scale=1\">")
        + QStringLiteral("<TITLE>") + pageTitle(site, name) + QStringLiteral("</TITLE>") + CrLf
        + QStringLiteral("<LINK rel=stylesheet href=Kachi1.css type=text/css>") + CrLf
        + QStringLiteral("<STYLE>") + CrLf + QStringLiteral("</STYLE>") + CrLf
        + QStringLiteral("</HEAD>") + CrLf + QStringLiteral("<BODY background=pic/WPaper.GIF>")
        + CrLf;
}

QString head(const Site &site, Page page)
{
    return head(site, pageName(page));
}

QString navigation(const Site &site, Page current)
{
    static const char *const ids[]
        = {"index", "Result", "Result2", "Entry", "graph", "Records", "Prize", "Rules", "z"};
    QString out
        = QStringLiteral("<DIV class=nav id=nav-") + QString::fromLatin1(ids[int(current)]) + u'>';
    for (int k = 0; k < kLinkedPages; ++k) {
        const Page page = Page(k);
        if (page != Page::Home && page != current && !site.linked[k])
            continue;
        out += QStringLiteral("<A href=") + fileOf(page)
            + (page == current ? QStringLiteral(" aria-current=page>") : QStringLiteral(">"))
            + pageName(page) + QStringLiteral("</A> ");
    }
    out.chop(1);
    return out + QStringLiteral("</DIV>") + CrLf;
}

QString footLine(const Site &site)
{
    return QStringLiteral("<P class=foot>更新: ")
        + site.updated.toString(QStringLiteral("yyyy/MM/dd HH:mm")) + QStringLiteral("　")
        + site.state + QStringLiteral("</P>") + CrLf;
}

QString tableOpen()
{
    return QStringLiteral("<Table bgcolor=#cccccc>") + CrLf + QStringLiteral("  <TBODY>") + CrLf;
}

QString tableClose()
{
    return QStringLiteral("  </TBODY>") + CrLf + QStringLiteral("</TABLE>") + CrLf;
}

QString pageEnd(const Site &site)
{
    return footLine(site) + QStringLiteral("</BODY>") + CrLf + QStringLiteral("</HTML>") + CrLf;
}

QString foot(const Site &site)
{
    return tableClose() + pageEnd(site);
}

QString topAnchor()
{
    return QStringLiteral("<A name=LBTOP></A>");
}

QString backButton()
{
    return QStringLiteral(
               "<form><input type=button value=　戻　　る　 onclick=history.back()></form>")
        + CrLf;
}

QString closeButton()
{
    return QStringLiteral("<input type=button value=画面を閉じる onclick=window.close()></form>")
        + CrLf;
}

QString stateText(int day)
{
    if (day <= 0 || day > kDays)
        return QString();
    if (day == kDays)
        return QStringLiteral("最終結果");
    if (day == 1 || day == 8)
        return dayColumnName(day);
    return dayColumnName(day) + QStringLiteral("日目");
}

QString title(const QString &bashoName, int day)
{
    return escape(bashoName.trimmed()) + QStringLiteral("　　　　　　　") + stateText(day);
}

QString subTitleBar(const QString &subTitle, int columns)
{
    return rowOpen() + QStringLiteral("      <TD class=sh colspan=%1>").arg(columns) + CrLf
        + QStringLiteral("        <B>") + subTitle + QStringLiteral("</B>") + CrLf
        + QStringLiteral("      </TD>") + CrLf + rowClose();
}

QString titleBars(const QString &title, const QString &subTitle, int columns)
{
    return rowOpen() + QStringLiteral("      <TD class=c11 colspan=%1>").arg(columns) + CrLf
        + QStringLiteral("        <B>") + title + QStringLiteral("</B>") + CrLf
        + QStringLiteral("      </TD>") + CrLf + rowClose() + subTitleBar(subTitle, columns);
}

QString rowClass(char kind, int r)
{
    const int k = ((r % 5) + 5) % 5;
    return QStringLiteral("class=") + QChar::fromLatin1(kind) + QString::number(k);
}

QString cell(const QString &cls, const QString &text)
{
    return QStringLiteral("      <TD ") + cls + u'>' + text + QStringLiteral("</TD>") + CrLf;
}

QString headerCell(int width, const QString &label)
{
    return QStringLiteral("      <TD class=c10 nowrap width=") + QString::number(width) + u'>'
        + label + QStringLiteral("</TD>") + CrLf;
}

QString rowOpen()
{
    return QStringLiteral("    <TR>") + CrLf;
}

QString rowClose()
{
    return QStringLiteral("    </TR>") + CrLf;
}

QString blockHeadCell(int row, const QString &first)
{
    const int block = row / 30 + 1;
    // Each block's anchor is closed, so it holds no text and the index links reach it.
    const QString text = block == 1 ? QStringLiteral("<A name=LB1></A>") + first
                                    : QStringLiteral("<A name=LB%1></A> ").arg(block)
            + QStringLiteral("<A href=#LBTOP><B>▲</B></A>");
    return QStringLiteral("      <TD class=c10 nowrap width=40>") + text + CrLf
        + QStringLiteral("</TD>") + CrLf;
}

QString blockIndex(int rows, bool rankSuffix)
{
    QString out = QStringLiteral("■");
    for (int k = 0; k * 30 < rows; ++k)
        out += QStringLiteral("<A href=#LB%1>").arg(k + 1) + QString::number(30 * k + 1)
            + (rankSuffix ? QStringLiteral("位～") : QStringLiteral("～")) + QStringLiteral("</A>")
            + QStringLiteral("■");
    return out + QStringLiteral("<BR>");
}

QString dayLabel(int day)
{
    if (day == 1 || day == 8 || day == kDays)
        return dayColumnName(day);
    return dayColumnName(day) + QStringLiteral("日目");
}

} // namespace kc::html
