#pragma once

#include <QString>
#include <vector>

namespace kc {

class Contest;
class Database;
class RecordSet;
struct EntryRecord;
struct Roster;

// entry00: its columns by name, and the one place that writes them from the
// entry array. Every writer of the table goes through here, so a column means
// the same whoever wrote it last.
namespace entrytable {

inline const QString name = QStringLiteral("entry00");

namespace column {
inline const QString id = QStringLiteral("ID");
inline const QString shikona = QStringLiteral("しこな");
inline const QString furigana = QStringLiteral("シコ");
inline const QString rank = QStringLiteral("順位");
inline const QString total = QStringLiteral("合計");
inline const QString midTotal = QStringLiteral("中日計");
inline const QString reserve = QStringLiteral("予備力士");
inline const QString sortKey = QStringLiteral("Dummy");
QString pick(int slot); // "力士1" for slot 0
QString day(int day); // "初日" … "千秋楽"
} // namespace column

// A sort string of one column; the two orders the table is mostly read in.
QString order(const QString &column, bool descending = false);
inline const QString byId = column::id + QStringLiteral(" ASC");
inline const QString byRank = column::rank + QStringLiteral(" ASC");
// The highest `column` first, ties in rank order (the grid's sort buttons).
QString highestFirst(const QString &column);

// A wrestler's name as the table holds it: the first 10 characters, trimmed.
QString wrestlerName(const Roster &roster, int slot);

// しこな and シコ, trimmed.
void writeNames(RecordSet &rs, const EntryRecord &e);
// 力士1 onward for `pickCount` slots and, with `reserve`, 予備力士: the
// reserve as registered (a substitution moves the queue, not the column).
void writePicks(RecordSet &rs, const EntryRecord &e, const Roster &roster, int pickCount,
                bool reserve = true);
// Every pick column and 予備力士 one blank: a row whose picks are not chosen yet.
void writeBlankPicks(RecordSet &rs);
// The score of `day`, 合計 and 中日計.
void writeScores(RecordSet &rs, const EntryRecord &e, int day);
// The whole row of element k: ID, names, every pick, the reserve, every day,
// the totals and `rank`.
void writeRow(RecordSet &rs, const EntryRecord &e, int k, const Roster &roster, int rank);
// entry00 again from the entry array, ranks of the last confirmed day; one
// transaction.
void rebuild(Contest &contest);
void rebuild(Database &db, const std::vector<EntryRecord> &entries, const Roster &roster, int day);

} // namespace entrytable

} // namespace kc
