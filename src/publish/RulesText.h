#pragma once

#include "store/Records.h"

#include <QString>

namespace kc {

namespace html {
struct Site;
}

// The rules of the contest in sentences, built from the settings: the plain text
// (CRLF lines, shown in the information window and printed under the banzuke)
// and the same sentences as HTML for Rules.html.
struct RulesExplanation
{
    QString plain;
    QString html;
};

RulesExplanation explainRules(const RulesRecord &rules);

// The whole text of Rules.html; the page writer ends it with CRLF like every page.
QString rulesPage(const RulesExplanation &explanation, const html::Site &site);

} // namespace kc
