#pragma once

#include <QDate>
#include <QString>
#include <QUrl>
#include <optional>

namespace kc {

class Contest;

// Where 結果取得 and 番付取得 download from: two address templates with the
// placeholders {basho} (the results API's basho id, e.g. 202609), {day} (1..15)
// and {division} (Makuuchi), kept with the contest in Data/Fetch.txt.
struct FetchSettings
{
    QString torikumiTemplate = defaultTorikumiTemplate();
    QString banzukeTemplate = defaultBanzukeTemplate();

    static QString defaultTorikumiTemplate();
    static QString defaultBanzukeTemplate();
    static QString topDivision() { return QStringLiteral("Makuuchi"); }

    static QString path(const Contest &contest);
    // The defaults when the file is missing; a line that is not a usable
    // template keeps the default too, so a damaged file never blocks a fetch.
    static FetchSettings load(const Contest &contest);
    // Through the contest's files: atomic, and part of an open unit of work.
    void save(Contest &contest) const;

    // Why a template cannot be used (empty when it can): only http and https
    // addresses, only the three placeholders.
    static QString templateProblem(const QString &text);
};

// The API's basho id (YYYYMM) of the contest's tournament code: "202609" as it is,
// "0209" as year and month (the year read from the tournament name when it
// names one, 平成14年 or 2002年; else 2000 + the two digits).
std::optional<QString> bashoIdOf(const QString &code, const QString &name);

// The basho a banzuke published on `today` is for: this month's in an odd
// month, else the next odd month's.
QString upcomingBashoId(const QDate &today);

// The template with its placeholders filled; an invalid address when the
// result is not an http(s) URL.
QUrl expandTemplate(const QString &text, const QString &basho, int day,
                    const QString &division = FetchSettings::topDivision());

} // namespace kc
