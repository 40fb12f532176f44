#pragma once

#include <QString>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace kc {

class Contest;
struct Roster;

// Pairs of a wrestler's banzuke name and his name in Latin letters.
using EnglishNames = std::vector<std::pair<QString, QString>>;

// Finds the roster slot a name in a downloaded or typed file means: the
// current name or the initial name (before renames), trimmed; Latin names
// compared without case and accents. A name in Latin letters is found through
// the table of English names that a downloaded banzuke left (or pairs the
// file itself gives); nothing is guessed beyond that.
class WrestlerNames
{
public:
    WrestlerNames(const Roster &roster, const EnglishNames &english);

    void addEnglish(const QString &japanese, const QString &english);
    std::optional<int> slotOf(const QString &name) const;

    // Blanks (also ideographic) trimmed, accents dropped, lower case.
    static QString fold(const QString &name);

    // Data/ShikonaEn.txt: "name<TAB>English" lines, UTF-8.
    static QString tablePath(const Contest &contest);
    static EnglishNames readTable(const Contest &contest);
    // Replaces the table through the contest's files; an empty table removes it.
    static void writeTable(Contest &contest, const EnglishNames &names);

private:
    std::optional<int> slotOfJapanese(const QString &folded) const;

    std::vector<std::pair<QString, int>> m_current; // folded name, slot
    std::vector<std::pair<QString, int>> m_initial;
    std::map<QString, QString> m_english; // folded English -> Japanese
};

} // namespace kc
