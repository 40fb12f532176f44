#pragma once

#include "scoring/ResultMarks.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kc {

class Contest;
class WrestlerNames;
struct Roster;

// One day's marks read from a downloaded file, before anything changes:
//  - the day's bouts as JSON (one object per bout: east and west names and ranks,
//    the winner, the kimarite), either an array or an object holding "torikumi";
//  - a CSV "力士名,結果" with 黒 白 銀 金 休 or 0..4, UTF-8 or CP932.
// A fusen loss is an absence (休), a fusen win a win. From the JSON the stars come
// from the two ranks: a sekiwake or lower beating a yokozuna wins 金星; beating an
// ōzeki, or an ōzeki beating a yokozuna, wins 銀星.
struct ResultFile
{
    struct Mark
    {
        int slot = 0;
        int mark = 0;
        QString name; // as the file wrote it
    };

    bool ok = false;
    QString message; // the refusal, naming the file and where
    QStringList unknownNames; // names that match nobody on the banzuke
    std::vector<Mark> marks;
    std::optional<int> day; // the day the JSON names
    int bouts = 0; // bouts read from the JSON

    // An empty `fileName` (downloaded bytes) leaves the file's name out of the messages.
    static ResultFile parse(const QByteArray &bytes, const QString &fileName, const Roster &roster,
                            const WrestlerNames &names);
    static ResultFile readFile(const QString &path, const Contest &contest);
};

// The mark of a win by the two wrestlers' rank codes (4 横綱 … 0 前頭): 金星, 銀星 or 白星.
int winningMark(int winnerRank, int loserRank);

struct ResultImportOutcome
{
    std::optional<QString> refusal; // nothing changed
    int changed = 0;
    QStringList locked; // "name: why" for marks the locks kept
};

// Puts the file's marks on `day` through the same locks as a click; wrestlers the
// file does not name keep their marks. Nothing is saved or confirmed: the caller
// keeps them as the window's 閉じる does.
ResultImportOutcome applyResultFile(Contest &contest, const ResultFile &file, int day);

} // namespace kc
