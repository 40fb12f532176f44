#include "publish/CsvExport.h"
#include "store/EntryTable.h"

#include "store/Contest.h"
#include "store/Database.h"
#include "store/Phase.h"
#include "store/RecordFile.h"
#include "store/RecordSet.h"
#include "store/Roster.h"
#include "store/Text.h"

namespace kc {

namespace {

constexpr int kNameWidth = 16; // a participant's name in the entry files
constexpr int kWrestlerWidth = 10; // a wrestler's name in the roster files

CsvValue text(const QString &s)
{
    return {s, true};
}

// Text the organiser typed: a spreadsheet must not run it as a formula.
CsvValue typed(const QString &s)
{
    return text(csvexport::inert(s));
}

CsvValue wrestler(const Roster &roster, int slot)
{
    return typed(csvexport::fixedWidth(roster.name(slot), kWrestlerWidth));
}

// A value as the table stores it: text quoted, a number bare (empty when null).
CsvValue stored(const RecordSet &table, int row, int column)
{
    const QVariant v = table.valueAt(row, column);
    if (Database::isTextColumn(table.table(), table.columns().at(column)))
        return typed(v.toString());
    return {v.isNull() ? QString() : QString::number(v.toLongLong()), false};
}

QByteArray tableLines(RecordSet &table, const QStringList &columns)
{
    std::vector<int> indexes;
    for (const QString &c : columns)
        indexes.push_back(int(table.columns().indexOf(c)));
    QByteArray out;
    for (int row = 0; row < table.count(); ++row) {
        std::vector<CsvValue> values;
        for (int i : indexes)
            values.push_back(stored(table, row, i));
        out += csvexport::line(values);
    }
    return out;
}

} // namespace

namespace csvexport {

QByteArray line(const std::vector<CsvValue> &values)
{
    QString s;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i)
            s += u',';
        const CsvValue &v = values[i];
        if (v.quoted) {
            QString t = v.text;
            s += u'"' + t.replace(u'"', QStringLiteral("\"\"")) + u'"';
        } else {
            s += v.text;
        }
    }
    return toCp932(s + QStringLiteral("\r\n"));
}

QString fixedWidth(const QString &text, int width)
{
    // Cut as the record holds it (bytes), padded as a reader counts (characters).
    QString s = fromCp932(fixedField(text, width));
    while (s.endsWith(u' '))
        s.chop(1);
    return s.leftJustified(width, u' ');
}

QString inert(const QString &text)
{
    static const QString starts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && starts.contains(text.front()))
        return u'\'' + text;
    return text;
}

std::vector<QString> slotLabels(const RulesRecord &rules)
{
    std::vector<QString> labels(11);
    const int picks = std::clamp<int>(rules.pickCount, 0, 10);
    for (int k = 0; k < picks; ++k)
        labels[k] = QString::number(rules.slotPoints[k]) + QStringLiteral("点力士");
    if (rules.reserveInUse())
        labels[10] = QStringLiteral("予備");
    return labels;
}

} // namespace csvexport

QByteArray entryCsv(const RulesRecord &rules, const Roster &roster,
                    const std::vector<EntryRecord> &entries)
{
    std::vector<CsvValue> header {text(QStringLiteral("ID")), text(QStringLiteral("しこな"))};
    for (const QString &label : csvexport::slotLabels(rules))
        header.push_back(text(label));
    QByteArray out = csvexport::line(header);
    const int picks = std::clamp<int>(rules.pickCount, 0, 10);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const EntryRecord &e = entries[i];
        std::vector<CsvValue> values {CsvValue::number(qint64(i) + 100),
                                      typed(csvexport::fixedWidth(e.shikona, kNameWidth))};
        for (int k = 0; k < 10; ++k)
            values.push_back(k < picks ? wrestler(roster, e.picks[k]) : text(QString()));
        values.push_back(rules.reserveInUse() ? wrestler(roster, e.reserveList[0])
                                              : text(QStringLiteral("---")));
        out += csvexport::line(values);
    }
    return out;
}

QByteArray resultCsv(const RulesRecord &rules, RecordSet &table)
{
    std::vector<CsvValue> header {text(QStringLiteral("順位")), text(QStringLiteral("四股名"))};
    for (int d = 1; d <= kDays; ++d)
        header.push_back(text(QString::number(d)));
    header.push_back(text(QStringLiteral("合計")));
    header.push_back(text(QStringLiteral("中日計")));
    for (const QString &label : csvexport::slotLabels(rules))
        header.push_back(text(label));
    header.push_back(text(QStringLiteral("ﾒﾝﾊﾞｰID")));
    using namespace entrytable;
    QStringList columns {column::rank, column::shikona};
    for (int d = 1; d <= kDays; ++d)
        columns << column::day(d);
    columns << column::total << column::midTotal;
    for (int s = 0; s < kMaxPicks; ++s)
        columns << column::pick(s);
    columns << column::reserve << column::id;
    return csvexport::line(header) + tableLines(table, columns);
}

QByteArray prizeCsv(Database &db)
{
    RecordSet table(db, QStringLiteral("PRIZE"));
    const std::vector<CsvValue> header {
        text(QStringLiteral("賞位")), text(QStringLiteral("しこな")), text(QStringLiteral("ID")),
        text(QStringLiteral("取得点")), text(QStringLiteral("賞位ﾎﾟｲﾝﾄ"))};
    return csvexport::line(header)
        + tableLines(table,
                     {QStringLiteral("賞位"), QStringLiteral("しこな"), QStringLiteral("ID"),
                      QStringLiteral("得点"), QStringLiteral("ポイント")});
}

QString exportCsv(Contest &contest, CsvExport which, const QString &order)
{
    const Paths &paths = contest.paths();
    QString path;
    QByteArray bytes;
    switch (which) {
    case CsvExport::Entries: {
        path = paths.entryCsv;
        // Once the reception is closed the registered picks live in the backup.
        if (Phase::of(contest.rules()).receptionClosed())
            bytes = entryCsv(contest.rules(), contest.roster(),
                             recordfile::readFirst<EntryRecord>(contest.files(), paths.entryBak,
                                                                contest.participantCount()));
        else
            bytes = entryCsv(contest.rules(), contest.roster(), contest.entries());
        break;
    }
    case CsvExport::Results: {
        path = paths.resultCsv;
        // Its own cursor, so the contest's table stays where it was.
        RecordSet table(contest.database(), entrytable::name);
        if (!order.isEmpty())
            table.setSort(order);
        bytes = resultCsv(contest.rules(), table);
        break;
    }
    case CsvExport::Prizes:
        path = paths.prizeCsv;
        bytes = prizeCsv(contest.database());
        break;
    }
    contest.files().write(path, bytes);
    return path;
}

} // namespace kc
