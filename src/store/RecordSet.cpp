#include "store/RecordSet.h"

#include "store/Database.h"
#include "store/StoreError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <map>

namespace kc {

namespace {
QString quoted(const QString &column)
{
    return u'"' + QString(column).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

RecordSet::RecordSet(Database &db, const QString &table)
    : m_db(db), m_table(table),
      m_columns(table == u"PRIZE" ? Database::prizeColumns() : Database::entryColumns())
{
    for (int i = 0; i < int(m_columns.size()); ++i) {
        m_columnIndex.insert(m_columns[i], i);
        m_textColumn.push_back(Database::isTextColumn(m_table, m_columns[i]));
    }
    requery();
}

int RecordSet::columnIndex(const QString &column) const
{
    const int i = m_columnIndex.value(column, -1);
    if (i < 0)
        throw StoreError(QStringLiteral("表 %1 に列「%2」がありません。").arg(m_table, column));
    return i;
}

void RecordSet::requery()
{
    QSqlQuery q(m_db.connection());
    QStringList cols;
    for (const QString &c : m_columns)
        cols << quoted(c);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT rowid,") + cols.join(u',') + QStringLiteral(" FROM ")
                + quoted(m_table) + QStringLiteral(" ORDER BY rowid")))
        m_db.fail(QStringLiteral("読み込み"), q.lastError().text());
    m_rows.clear();
    const int n = int(m_columns.size());
    while (q.next()) {
        Row r;
        r.rowid = q.value(0).toLongLong();
        r.values.resize(n);
        r.dirty = 0;
        for (int i = 0; i < n; ++i) {
            QVariant v = q.value(i + 1);
            if (!m_textColumn[i])
                v = v.isNull() ? QVariant() : QVariant(v.toLongLong());
            r.values[i] = v;
        }
        m_rows.push_back(std::move(r));
    }
    m_adding = false;
    rebuildView();
}

void RecordSet::setSort(const QString &sort)
{
    std::vector<SortKey> keys;
    const QString trimmed = sort.trimmed();
    if (!trimmed.isEmpty()) {
        for (const QString &part : trimmed.split(u',')) {
            const QStringList words = part.trimmed().split(u' ', Qt::SkipEmptyParts);
            if (words.isEmpty() || words.size() > 2)
                throw StoreError(
                    QStringLiteral("並べ替えの指定「%1」が正しくありません。").arg(sort));
            bool desc = false;
            if (words.size() == 2) {
                if (words[1].compare(u"DESC", Qt::CaseInsensitive) == 0)
                    desc = true;
                else if (words[1].compare(u"ASC", Qt::CaseInsensitive) != 0)
                    throw StoreError(
                        QStringLiteral("並べ替えの指定「%1」が正しくありません。").arg(sort));
            }
            keys.push_back({columnIndex(words[0]), desc});
        }
    }
    m_sort = sort;
    m_sortKeys = std::move(keys);
    rebuildView();
}

void RecordSet::setFilter(const QString &filter)
{
    FilterTerm term;
    const QString trimmed = filter.trimmed();
    if (!trimmed.isEmpty()) {
        const qsizetype eq = trimmed.indexOf(u'=');
        if (eq <= 0)
            throw StoreError(QStringLiteral("抽出条件「%1」が正しくありません。").arg(filter));
        term.column = columnIndex(trimmed.left(eq).trimmed());
        const QString rhs = trimmed.mid(eq + 1).trimmed();
        if (Database::isTextColumn(m_table, m_columns[term.column])) {
            QString s = rhs;
            if (s.size() >= 2 && s.startsWith(u'\'') && s.endsWith(u'\''))
                s = s.mid(1, s.size() - 2);
            term.value = s;
        } else {
            bool ok = false;
            const qlonglong v = rhs.toLongLong(&ok);
            if (!ok)
                throw StoreError(QStringLiteral("抽出条件「%1」が正しくありません。").arg(filter));
            term.value = v;
        }
    }
    m_filter = filter;
    m_filterTerm = term;
    rebuildView();
}

void RecordSet::rebuildView()
{
    // SQLite filters and sorts on the stored values; equal keys keep the
    // stored order.
    QString sql = QStringLiteral("SELECT rowid FROM ") + quoted(m_table);
    if (m_filterTerm.column >= 0)
        sql += QStringLiteral(" WHERE ") + quoted(m_columns[m_filterTerm.column])
            + QStringLiteral("=?");
    QStringList order;
    for (const SortKey &k : m_sortKeys)
        order << quoted(m_columns[k.column])
                + (k.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    order << QStringLiteral("rowid");
    sql += QStringLiteral(" ORDER BY ") + order.join(u',');
    QSqlQuery q(m_db.connection());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        m_db.fail(QStringLiteral("読み込み"), q.lastError().text());
    if (m_filterTerm.column >= 0)
        q.addBindValue(m_filterTerm.value);
    if (!q.exec())
        m_db.fail(QStringLiteral("読み込み"), q.lastError().text());
    QHash<qint64, int> indexOf;
    indexOf.reserve(qsizetype(m_rows.size()));
    for (int i = 0; i < int(m_rows.size()); ++i)
        indexOf.insert(m_rows[i].rowid, i);
    m_view.clear();
    while (q.next()) {
        const auto it = indexOf.constFind(q.value(0).toLongLong());
        if (it != indexOf.constEnd())
            m_view.push_back(*it);
    }
    m_pos = m_view.empty() ? -1 : 0;
}

bool RecordSet::moveFirst()
{
    m_adding = false;
    m_pos = m_view.empty() ? -1 : 0;
    return m_pos >= 0;
}

bool RecordSet::moveLast()
{
    m_adding = false;
    m_pos = m_view.empty() ? -1 : count() - 1;
    return m_pos >= 0;
}

bool RecordSet::moveNext()
{
    m_adding = false;
    if (m_pos < count())
        ++m_pos;
    return !eof();
}

bool RecordSet::movePrevious()
{
    m_adding = false;
    if (m_pos >= 0)
        --m_pos;
    return !eof();
}

bool RecordSet::moveTo(int position)
{
    m_adding = false;
    m_pos = (position >= 0 && position < count()) ? position : -1;
    return m_pos >= 0;
}

RecordSet::Row &RecordSet::current()
{
    if (m_adding)
        return m_newRow;
    if (eof())
        throw StoreError(QStringLiteral("表 %1 に現在の行がありません。").arg(m_table));
    return m_rows[m_view[m_pos]];
}

const RecordSet::Row &RecordSet::current() const
{
    return const_cast<RecordSet *>(this)->current();
}

QVariant RecordSet::value(const QString &column) const
{
    return current().values[columnIndex(column)];
}

QVariant RecordSet::valueAt(int position, int column) const
{
    if (position < 0 || position >= count() || column < 0 || column >= m_columns.size())
        return {};
    return m_rows[m_view[position]].values[column];
}

void RecordSet::setValue(const QString &column, const QVariant &v)
{
    const int i = columnIndex(column);
    Row &r = current();
    QVariant stored = v;
    if (m_textColumn[i])
        stored = v.toString();
    else
        stored = v.isNull() ? QVariant() : QVariant(v.toLongLong());
    r.values[i] = stored;
    r.dirty |= quint64(1) << i;
}

void RecordSet::addNew()
{
    const int n = int(m_columns.size());
    m_newRow = Row();
    m_newRow.values.resize(n);
    m_newRow.dirty = 0;
    for (int i = 0; i < n; ++i)
        m_newRow.values[i] = Database::isTextColumn(m_table, m_columns[i]) ? QVariant(QString())
                                                                           : QVariant(qlonglong(0));
    m_adding = true;
}

void RecordSet::update()
{
    if (m_adding) {
        QStringList cols, marks;
        QVariantList binds;
        for (int i = 0; i < m_columns.size(); ++i) {
            cols << quoted(m_columns[i]);
            marks << QStringLiteral("?");
            binds << m_newRow.values[i];
        }
        QSqlQuery q(m_db.connection());
        q.prepare(QStringLiteral("INSERT INTO ") + quoted(m_table) + u'(' + cols.join(u',')
                  + QStringLiteral(") VALUES (") + marks.join(u',') + u')');
        for (const QVariant &b : binds)
            q.addBindValue(b);
        if (!q.exec())
            m_db.fail(QStringLiteral("書き込み"), q.lastError().text());
        m_newRow.rowid = q.lastInsertId().toLongLong();
        m_newRow.dirty = 0;
        m_rows.push_back(m_newRow);
        m_adding = false;
        // The new row joins the view at the end, as a client-side cursor appends it.
        m_view.push_back(int(m_rows.size()) - 1);
        m_pos = count() - 1;
        return;
    }
    Row &r = current();
    QStringList sets;
    QVariantList binds;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (!(r.dirty >> i & 1))
            continue;
        sets << quoted(m_columns[i]) + QStringLiteral("=?");
        binds << r.values[i];
    }
    if (sets.isEmpty())
        return;
    QSqlQuery q(m_db.connection());
    q.prepare(QStringLiteral("UPDATE ") + quoted(m_table) + QStringLiteral(" SET ")
              + sets.join(u',') + QStringLiteral(" WHERE rowid=?"));
    for (const QVariant &b : binds)
        q.addBindValue(b);
    q.addBindValue(r.rowid);
    if (!q.exec())
        m_db.fail(QStringLiteral("書き込み"), q.lastError().text());
    r.dirty = 0;
}

void RecordSet::updateAll()
{
    Transaction tx(m_db);
    // Keyed by the set of changed columns (a table has fewer than 64).
    std::map<quint64, QSqlQuery> statements;
    for (Row &r : m_rows) {
        const quint64 mask = r.dirty;
        if (mask == 0)
            continue;
        auto it = statements.find(mask);
        if (it == statements.end()) {
            QStringList sets;
            for (int i = 0; i < m_columns.size(); ++i)
                if (mask >> i & 1)
                    sets << quoted(m_columns[i]) + QStringLiteral("=?");
            QSqlQuery q(m_db.connection());
            if (!q.prepare(QStringLiteral("UPDATE ") + quoted(m_table) + QStringLiteral(" SET ")
                           + sets.join(u',') + QStringLiteral(" WHERE rowid=?")))
                m_db.fail(QStringLiteral("書き込み"), q.lastError().text());
            it = statements.emplace(mask, std::move(q)).first;
        }
        QSqlQuery &q = it->second;
        int bind = 0;
        for (int i = 0; i < m_columns.size(); ++i)
            if (mask >> i & 1)
                q.bindValue(bind++, r.values[i]);
        q.bindValue(bind, r.rowid);
        if (!q.exec())
            m_db.fail(QStringLiteral("書き込み"), q.lastError().text());
        r.dirty = 0;
    }
    tx.commit();
}

void RecordSet::remove()
{
    if (m_adding) {
        m_adding = false;
        return;
    }
    Row &r = current();
    m_db.exec(QStringLiteral("DELETE FROM ") + quoted(m_table) + QStringLiteral(" WHERE rowid=?"),
              {r.rowid});
    const int rowIndex = m_view[m_pos];
    m_rows.erase(m_rows.begin() + rowIndex);
    m_view.erase(m_view.begin() + m_pos);
    for (int &v : m_view)
        if (v > rowIndex)
            --v;
    if (m_pos >= count())
        m_pos = count() - 1;
}

} // namespace kc
