#pragma once

#include "banzuke/BanzukeImport.h"
#include "online/HttpFetcher.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>
#include <vector>

namespace kc {

class Contest;

// A day's bouts downloaded and put in as the result import puts a file in:
// proposals under the window's locks, never confirmed, in memory only (the
// caller keeps them as 閉じる does). Either failure or refusal is set and
// nothing changed, or the report says what the download did.
struct FetchedDay
{
    struct Change
    {
        int slot;
        int before;
        int after;
    };

    std::optional<QString> failure; // the download or its content was unusable
    std::optional<QString> refusal; // the contest would not take the marks
    int bouts = 0;
    int read = 0; // wrestlers of the banzuke the bouts gave a mark
    std::vector<Change> changes;
    QStringList locked; // "name: why" for marks the locks kept
    std::vector<int> noResult; // banzuke slots the bouts do not name (absent, or left out)
    std::vector<int> absent; // slots the bouts mark 休 (a fusen loss)
    QUrl url;
    QDateTime at;
};

// A banzuke downloaded and read, not yet stored.
struct FetchedBanzuke
{
    std::optional<QString> failure; // the download or its content was unusable
    std::optional<QString> refusal; // a banzuke the contest cannot register
    BanzukeImport read;
    QUrl url;
    QDateTime at;
};

namespace fetching {

// The basho the contest's tournament code names, or the reason there is none.
std::optional<QString> contestBasho(const Contest &contest, QString &problem);

// "…を取得できませんでした" with the address and the cause: the one message of a failure.
QString failureText(const QString &what, const QUrl &url, const QString &cause);
// Where the data came from and when, for the status bar and the command line.
QString sourceText(const QUrl &url, const QDateTime &at);
// 黒星 白星 銀星 金星 休場 for marks 0..6.
QString markName(int mark);

FetchedDay applyDay(Contest &contest, const FetchReply &reply, int day);
FetchedBanzuke readBanzuke(const FetchReply &reply);

} // namespace fetching

} // namespace kc
