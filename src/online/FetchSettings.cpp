#include "online/FetchSettings.h"

#include "store/Contest.h"

#include <QRegularExpression>

namespace kc {

namespace {

const QString kTorikumiKey = QStringLiteral("torikumi");
const QString kBanzukeKey = QStringLiteral("banzuke");

} // namespace

QString FetchSettings::defaultTorikumiTemplate()
{
    return QStringLiteral("https://sumo-api.com/api/basho/{basho}/torikumi/{division}/{day}");
}

QString FetchSettings::defaultBanzukeTemplate()
{
    return QStringLiteral("https://sumo-api.com/api/basho/{basho}/banzuke/{division}");
}

QString FetchSettings::path(const Contest &contest)
{
    return contest.paths().data + QStringLiteral("/Fetch.txt");
}

FetchSettings FetchSettings::load(const Contest &contest)
{
    FetchSettings s;
    const auto bytes = contest.files().read(path(contest));
    if (!bytes)
        return s;
    for (const QString &line : QString::fromUtf8(*bytes).split(u'\n')) {
        const qsizetype eq = line.indexOf(u'=');
        if (line.startsWith(u'#') || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (!templateProblem(value).isEmpty())
            continue;
        if (key == kTorikumiKey)
            s.torikumiTemplate = value;
        else if (key == kBanzukeKey)
            s.banzukeTemplate = value;
    }
    return s;
}

void FetchSettings::save(Contest &contest) const
{
    const QString text = QStringLiteral("# 結果取得・番付取得の URL（{basho} {day} {division} が"
                                        "置き換わります）\n")
        + kTorikumiKey + u'=' + torikumiTemplate.trimmed() + u'\n' + kBanzukeKey + u'='
        + banzukeTemplate.trimmed() + u'\n';
    contest.files().write(path(contest), text.toUtf8());
}

QString FetchSettings::templateProblem(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QStringLiteral("URL が空です。");
    static const QRegularExpression placeholder(QStringLiteral("\\{([^}]*)\\}"));
    for (auto it = placeholder.globalMatch(t); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (name != u"basho" && name != u"day" && name != u"division")
            return QStringLiteral("{%1} は使えません（{basho} {day} {division} のみ）。").arg(name);
    }
    if (!expandTemplate(t, QStringLiteral("202601"), 1).isValid())
        return QStringLiteral("http:// または https:// で始まる URL を指定してください: %1").arg(t);
    return {};
}

std::optional<QString> bashoIdOf(const QString &code, const QString &name)
{
    static const QRegularExpression full(QStringLiteral("^(\\d{4})(0[1-9]|1[0-2])$"));
    static const QRegularExpression shortCode(QStringLiteral("^(\\d{2})(0[1-9]|1[0-2])$"));
    const QString c = code.trimmed();
    if (const auto m = full.match(c); m.hasMatch())
        return c;
    const auto m = shortCode.match(c);
    if (!m.hasMatch())
        return std::nullopt;
    int year = 2000 + m.captured(1).toInt();
    // The era years the club's tournament names use.
    static const QRegularExpression era(QStringLiteral("(昭和|平成|令和)\\s*(\\d{1,2})\\s*年"));
    static const QRegularExpression western(QStringLiteral("((?:19|20)\\d{2})\\s*年"));
    const QString n = name.trimmed();
    if (const auto e = era.match(n); e.hasMatch()) {
        const int base = e.captured(1) == u"昭和" ? 1925 : e.captured(1) == u"平成" ? 1988 : 2018;
        year = base + e.captured(2).toInt();
    } else if (const auto w = western.match(n); w.hasMatch()) {
        year = w.captured(1).toInt();
    }
    if (year % 100 != m.captured(1).toInt())
        year = 2000 + m.captured(1).toInt(); // the name speaks of another year: the code wins
    return QStringLiteral("%1%2").arg(year).arg(m.captured(2));
}

QString upcomingBashoId(const QDate &today)
{
    int year = today.year();
    int month = today.month();
    if (month % 2 == 0 && ++month > 12) {
        month = 1;
        ++year;
    }
    return QStringLiteral("%1%2").arg(year).arg(month, 2, 10, QLatin1Char('0'));
}

QUrl expandTemplate(const QString &text, const QString &basho, int day, const QString &division)
{
    QString t = text.trimmed();
    t.replace(QStringLiteral("{basho}"), basho);
    t.replace(QStringLiteral("{day}"), QString::number(day));
    t.replace(QStringLiteral("{division}"), division);
    const QUrl url(t, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty())
        return {};
    return url;
}

} // namespace kc
