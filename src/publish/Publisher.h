#pragma once

#include "publish/PublishProgress.h"

#include <QString>

namespace kc {

class Contest;

// The publish commands. Each builds a page whole in memory, then replaces its
// file in html/; the style sheet and images are supplied when missing.
namespace publisher {

// 集計結果出力（HTML): every participant page, Prize.html, Records.html,
// Result.html, Result2.html and graph.html, in that order, with the stage
// captions of the progress window. Returns the number of pages written.
int publishAll(Contest &contest, PublishProgress *progress = nullptr);
// 参加者一覧出力（HTML): Entry.html; false (nothing written) without participants.
bool publishEntries(Contest &contest, PublishProgress *progress = nullptr);
// Rules.html from the rule settings.
void publishRules(Contest &contest);
// What 受付終了 publishes: Entry.html and Rules.html.
void publishOnReceptionClosed(Contest &contest);
// test.html of the support menu.
void publishTestPage(Contest &contest);

// Window caption while pages are built.
inline const QString ProgressCaption = QStringLiteral("HTML 文書作成中");

} // namespace publisher
} // namespace kc
