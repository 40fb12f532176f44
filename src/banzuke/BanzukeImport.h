#pragma once

#include "banzuke/BanzukeRegistration.h"
#include "banzuke/WrestlerNames.h"
#include "store/Records.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace kc {

// A banzuke read from a file the organiser typed or downloaded, checked before
// anything is stored. Two forms:
//  - text: line 1 the tournament name, line 2 its code, then "RANK NAME" lines;
//  - CSV: rows "rank,name" (a header row and rows 場所名,… / 場所コード,… may come first).
//  - JSON: the top division of a downloaded banzuke ("east" and "west" lists whose
//    items carry "rank" such as "Maegashira 3 West" and the names "shikonaJp" and
//    "shikonaEn"); the Latin names are kept so that result files can name wrestlers so.
// Either in UTF-8 or CP932; the encoding is detected. Wrestlers come in banzuke
// order, east before west, and a rank never rises again down the file.
struct BanzukeImport
{
    bool ok = false;
    QString message; // the refusal, naming the file and line
    BanzukeRecord record; // names, rank codes, count; name and code when given
    RankCounts counts;
    bool hasTitle = false; // the file gave the tournament name and code
    bool fromJson = false;
    EnglishNames english; // banzuke name and Latin name, from the JSON

    // Parses the bytes; `fileName` only names the file in messages and picks
    // CSV by its suffix.
    static BanzukeImport parse(const QByteArray &bytes, const QString &fileName);
    // Reads and parses a file; an unreadable file is a refusal too.
    static BanzukeImport readFile(const QString &path);

    // Rank code of a rank word: 横綱 大関 関脇 小結 前頭 (前頭筆頭, 前3, 東… allowed) or 4..0.
    static std::optional<int> rankOf(const QString &word);
};

} // namespace kc
