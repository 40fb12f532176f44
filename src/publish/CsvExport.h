#pragma once

#include "store/Records.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace kc {

class Contest;
class Database;
class RecordSet;
struct Roster;

// One value of an exported line: text is quoted, a number written bare.
struct CsvValue
{
    QString text;
    bool quoted = true;

    static CsvValue number(qint64 n) { return {QString::number(n), false}; }
};

namespace csvexport {
// The line of a spreadsheet file: values at commas, every text in quotes with
// an inner quote doubled (so a quote, comma or line break stays in its field),
// CRLF at the end, CP932.
QByteArray line(const std::vector<CsvValue> &values);
// Text cut to `width` bytes, as the fixed-width files hold it, then padded
// with blanks to `width` characters.
QString fixedWidth(const QString &text, int width);
// Text that a spreadsheet would take for a formula (it starts with =, +, -, @,
// a tab or a carriage return) with a leading ' so that it stays text.
QString inert(const QString &text);
// The eleven slot labels: "7点力士" … for the picks, then "予備" when the reserve is in use.
std::vector<QString> slotLabels(const RulesRecord &rules);
} // namespace csvexport

// Entry.Csv: the participants as registered (IDs, names, picks, reserve).
QByteArray entryCsv(const RulesRecord &rules, const Roster &roster,
                    const std::vector<EntryRecord> &entries);
// Result.Csv: the entry table in its current order, each value by its stored type.
QByteArray resultCsv(const RulesRecord &rules, RecordSet &table);
// Prize.Csv: the prize table in stored order.
QByteArray prizeCsv(Database &db);

enum class CsvExport { Entries, Results, Prizes };

// Writes the export whole into Data (replacing the file atomically) and
// returns its path. Entry.Csv comes from Entry.Bak once the reception is
// closed; Result.Csv follows `order` (the grid's sort string, empty for the
// table's own order). Throws StoreError naming a file that cannot be read or written.
QString exportCsv(Contest &contest, CsvExport which, const QString &order = QString());

} // namespace kc
