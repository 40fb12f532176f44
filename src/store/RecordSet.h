#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace kc {

class Database;

// A table's rows held in memory, sorted and filtered by the system's sort and
// filter strings ("中日計 DESC,ID ASC", "順位 = 3"), walked in order, read and
// written by column name. Writes go straight to the database. The strings are
// checked against the table's columns and handed to SQLite, which orders and
// filters the stored values (a change not yet saved does not move a row).
class RecordSet
{
public:
    RecordSet(Database &db, const QString &table);

    const QString &table() const { return m_table; }
    const QStringList &columns() const { return m_columns; }

    // Reloads from the database, keeping sort and filter; moves to the first row.
    void requery();

    // Throws StoreError for a column that does not exist or a malformed string.
    void setSort(const QString &sort);
    const QString &sort() const { return m_sort; }
    void setFilter(const QString &filter);
    const QString &filter() const { return m_filter; }

    int count() const { return int(m_view.size()); }
    bool isEmpty() const { return m_view.empty(); }

    bool moveFirst();
    bool moveLast();
    bool moveNext();
    bool movePrevious();
    bool moveTo(int position);
    int position() const { return m_pos; }
    bool eof() const { return m_pos < 0 || m_pos >= count(); }

    QVariant value(const QString &column) const;
    int intValue(const QString &column) const { return value(column).toInt(); }
    QString textValue(const QString &column) const { return value(column).toString(); }
    void setValue(const QString &column, const QVariant &v);

    // Saves the current row (changed fields) or inserts the row begun by addNew().
    void update();
    // Saves every row with changed fields in one transaction, one prepared
    // statement per set of changed columns: a bulk pass costs one commit, not
    // one statement compilation per row.
    void updateAll();
    void addNew();
    void remove();

    // Row values in view order, for models and reports.
    QVariant valueAt(int position, int column) const;

private:
    struct Row
    {
        qint64 rowid = -1;
        std::vector<QVariant> values;
        quint64 dirty = 0; // one bit per column (a table has fewer than 64)
    };
    struct SortKey
    {
        int column;
        bool descending;
    };
    struct FilterTerm
    {
        int column = -1;
        QVariant value;
    };

    int columnIndex(const QString &column) const;
    void rebuildView();
    Row &current();
    const Row &current() const;

    Database &m_db;
    QString m_table;
    QStringList m_columns;
    QHash<QString, int> m_columnIndex;
    std::vector<char> m_textColumn;
    std::vector<Row> m_rows; // stored order
    std::vector<int> m_view; // indexes into m_rows
    QString m_sort;
    std::vector<SortKey> m_sortKeys;
    QString m_filter;
    FilterTerm m_filterTerm;
    int m_pos = -1;
    bool m_adding = false;
    Row m_newRow;
};

} // namespace kc
