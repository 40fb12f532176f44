#pragma once

#include "publish/PublishProgress.h"

#include <QDateTime>
#include <QString>

namespace kc {

class Contest;

// The publish commands. Each builds a page whole in memory, then replaces its
// file in html/; the style sheet and images are supplied when missing. Every
// command also writes the home page index.html.
namespace publisher {

// 集計結果出力（HTML): every participant page, Prize.html, Records.html,
// Result.html, Result2.html and graph.html, in that order, with the stage
// captions of the progress window, then index.html. Returns the number of
// pages written.
int publishAll(Contest &contest, PublishProgress *progress = nullptr);
// The whole site: the pages of publishAll once the phase allows the results,
// Entry.html once someone is registered, Rules.html once the rules are
// decided, and index.html always. Returns the number of pages written.
int publishSite(Contest &contest, PublishProgress *progress = nullptr);
// 参加者一覧出力（HTML): Entry.html and index.html; false (nothing written)
// without participants.
bool publishEntries(Contest &contest, PublishProgress *progress = nullptr);
// Rules.html from the rule settings, and index.html.
void publishRules(Contest &contest);
// What 受付終了 publishes: Entry.html, Rules.html and index.html.
void publishOnReceptionClosed(Contest &contest);
// test.html of the support menu.
void publishTestPage(Contest &contest);

// The update time the pages show: when the contest's files last changed, so
// pages published again without a change keep their bytes and an upload sends
// nothing; now inside an action, whose files are not on disk yet; or
// KC_PUBLISH_TIME (yyyy-MM-ddTHH:mm) when set, so two runs write the same bytes.
QDateTime publishTime(Contest &contest);

// Window caption while pages are built.
inline const QString ProgressCaption = QStringLiteral("HTML 文書作成中");

} // namespace publisher
} // namespace kc
