#pragma once

#include <QString>

namespace kc {

class Contest;

// The previous tournament's participants as the first entries of this one.
enum class ImportSource {
    Ranking, // 先場所ﾗﾝｷﾝｸﾞ反映: Ranking.Dat, in final rank order
    Ids // ﾗﾝｷﾝｸﾞ反映しない: Entry.Bak, in the previous ID order
};

struct ImportResult
{
    enum Outcome { Imported, MissingFile, AnsweredNo, Refused };
    Outcome outcome = Refused;
    int count = 0; // entries imported
    QString message; // the refusal when Refused
};

// Asks first; replaces every entry by the previous participants' member data
// (no picks), at most 300, and moves the contest to phase 3 even when the
// source is empty. One unit of work with entry00, Entry.Dat, Ranking.Dat and Credit.Dat.
ImportResult importPrevious(Contest &contest, ImportSource source);

QString importQuestion(ImportSource source);
QString importMissingMessage(ImportSource source);

} // namespace kc
