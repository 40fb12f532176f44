#pragma once

#include "publish/PrintDocument.h"
#include "store/Records.h"

#include <QString>

namespace kc {

class Contest;
struct Roster;

namespace banzukereport {
// Why the banzuke cannot be printed yet (the rules are not decided); empty when it can.
QString refusal(const RulesRecord &rules);
// The rank shown on row r: the row's label, or on a continuation row its wrestlers' rank.
QString rowRank(const Roster &roster, int row);
} // namespace banzukereport

// 番付表: the banzuke on the left, the two entry forms on the right, the rules
// text below; the rules text runs onto a second page only when it is too long.
PrintDocument buildBanzukeReport(const RulesRecord &rules, const Roster &roster,
                                 const QString &rulesText);
// Throws nothing for the refusal: callers check refusal() first.
PrintDocument buildBanzukeReport(Contest &contest);

} // namespace kc
