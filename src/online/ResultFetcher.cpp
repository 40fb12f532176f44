#include "online/ResultFetcher.h"

#include "banzuke/WrestlerNames.h"
#include "online/FetchSettings.h"
#include "scoring/ResultImport.h"
#include "scoring/ResultMarks.h"
#include "store/Contest.h"
#include "store/Roster.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <set>

namespace kc::fetching {

namespace {

const QString kTorikumi = QStringLiteral("取組結果");
const QString kBanzuke = QStringLiteral("番付");

// Why the body is no JSON document at all: an error page, or something else.
std::optional<QString> notJson(const FetchReply &reply)
{
    const QByteArray head = reply.body.trimmed().left(512).toLower();
    if (head.isEmpty())
        return QStringLiteral("応答が空です。");
    if (reply.contentType.contains(QStringLiteral("html"), Qt::CaseInsensitive)
        || head.startsWith('<'))
        return QStringLiteral("JSON ではなく HTML のページが返されました（エラーページか、URL が"
                              "違います）。");
    QJsonParseError error;
    if (QJsonDocument::fromJson(reply.body, &error).isNull())
        return QStringLiteral("JSON として読めません（%1 文字目: %2）。")
            .arg(error.offset)
            .arg(error.errorString());
    return std::nullopt;
}

// An empty list where the API keeps a day's bouts: the day has none yet.
bool noBoutsYet(const QByteArray &body)
{
    const QJsonDocument doc = QJsonDocument::fromJson(body);
    if (doc.isArray())
        return doc.array().isEmpty();
    const QJsonValue list = doc.object().value(QStringLiteral("torikumi"));
    return doc.object().contains(QStringLiteral("torikumi"))
        && (list.isNull() || (list.isArray() && list.toArray().isEmpty()));
}

} // namespace

std::optional<QString> contestBasho(const Contest &contest, QString &problem)
{
    const auto id = bashoIdOf(contest.roster().bashoCode, contest.roster().bashoName);
    if (!id)
        problem = QStringLiteral("場所コード「%1」から場所（例 202609）が分かりません。番付登録で"
                                 "場所コードを 202609 の形にするか、{basho} を使わない URL を"
                                 "指定してください。")
                      .arg(contest.roster().bashoCode.trimmed());
    return id;
}

QString failureText(const QString &what, const QUrl &url, const QString &cause)
{
    return QStringLiteral("%1を取得できませんでした。何も変更していません。\nURL: %2\n原因: %3")
        .arg(what, url.toDisplayString(), cause);
}

// A reply that arrived but whose content the contest refuses.
static QString unreadableText(const QString &what, const QUrl &url, const QString &cause)
{
    return QStringLiteral("取得した%1を読み込めません。何も変更していません。\nURL: %2\n原因: %3")
        .arg(what, url.toDisplayString(), cause);
}

// The failure message of a reply that did not arrive or is no JSON document.
static std::optional<QString> replyFailure(const QString &what, const FetchReply &reply)
{
    if (!reply.ok)
        return failureText(what, reply.url, reply.cause);
    if (const auto problem = notJson(reply))
        return failureText(what, reply.url, *problem);
    return std::nullopt;
}

QString sourceText(const QUrl &url, const QDateTime &at)
{
    return QStringLiteral("取得元: %1（%2）")
        .arg(url.toDisplayString(), at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

QString markName(int mark)
{
    static const char16_t *const kNames[] = {u"黒星", u"白星", u"銀星", u"金星", u"休場"};
    return QString::fromUtf16(kNames[std::clamp(mark, 0, 4)]);
}

FetchedDay applyDay(Contest &contest, const FetchReply &reply, int day)
{
    FetchedDay out;
    out.url = reply.url;
    out.at = reply.at;
    out.failure = replyFailure(kTorikumi, reply);
    if (out.failure)
        return out;
    if (noBoutsYet(reply.body)) {
        out.failure = failureText(kTorikumi, reply.url,
                                  QStringLiteral("%1日目の取組はまだありません（取組の一覧が"
                                                 "空です）。")
                                      .arg(day));
        return out;
    }
    const WrestlerNames names(contest.roster(), WrestlerNames::readTable(contest));
    const ResultFile file = ResultFile::parse(reply.body, QString(), contest.roster(), names);
    const Roster &roster = contest.roster();
    std::vector<int> before(kRosterSlots);
    for (int s = 0; s < kRosterSlots; ++s)
        before[s] = roster.wrestlers[s].dayResult[std::clamp(day, 1, int(kDays)) - 1];
    const ResultImportOutcome outcome = applyResultFile(contest, file, day);
    if (outcome.refusal) {
        out.refusal = unreadableText(kTorikumi, reply.url, *outcome.refusal);
        return out;
    }
    out.bouts = file.bouts;
    out.read = int(file.marks.size());
    out.locked = outcome.locked;
    std::set<int> named;
    for (const ResultFile::Mark &m : file.marks) {
        named.insert(m.slot);
        if (m.mark == MarkAbsent)
            out.absent.push_back(m.slot);
    }
    for (int s = 0; s < roster.wrestlerCount && s < kRosterSlots; ++s) {
        const int now = roster.wrestlers[s].dayResult[day - 1];
        if (now != before[s])
            out.changes.push_back({s, before[s], now});
        if (!named.count(s))
            out.noResult.push_back(s);
    }
    return out;
}

FetchedBanzuke readBanzuke(const FetchReply &reply)
{
    FetchedBanzuke out;
    out.url = reply.url;
    out.at = reply.at;
    out.failure = replyFailure(kBanzuke, reply);
    if (out.failure)
        return out;
    out.read = BanzukeImport::parse(reply.body, QString());
    if (!out.read.ok)
        out.refusal = unreadableText(kBanzuke, reply.url, out.read.message);
    return out;
}

} // namespace kc::fetching
