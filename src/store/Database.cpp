#include "store/Database.h"

#include "store/EntryTable.h"
#include "store/Records.h"
#include "store/StoreError.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

namespace kc {

namespace {
QAtomicInt g_connectionCounter;

QString quoted(const QString &column)
{
    return u'"' + QString(column).replace(u'"', QStringLiteral("\"\"")) + u'"';
}
} // namespace

const QStringList &Database::entryColumns()
{
    static const QStringList cols = [] {
        using namespace entrytable;
        QStringList c {column::id, column::shikona};
        for (int d = 1; d <= kDays; ++d)
            c << column::day(d);
        c << column::total << column::rank;
        for (int s = 0; s < kMaxPicks; ++s)
            c << column::pick(s);
        c << column::reserve << column::midTotal << column::sortKey << column::furigana;
        return c;
    }();
    return cols;
}

const QStringList &Database::prizeColumns()
{
    static const QStringList cols {QStringLiteral("賞位"),     QStringLiteral("しこな"),
                                   QStringLiteral("ID"),       QStringLiteral("得点"),
                                   QStringLiteral("ポイント"), QStringLiteral("表示順")};
    return cols;
}

bool Database::isTextColumn(const QString &table, const QString &column)
{
    if (table == u"PRIZE")
        return column == u"賞位" || column == u"しこな";
    // Asked for every cell the grid paints: the names are built once.
    static const QSet<QString> text = [] {
        using namespace entrytable;
        QSet<QString> names {column::shikona, column::furigana, column::reserve};
        for (int s = 0; s < kMaxPicks; ++s)
            names.insert(column::pick(s));
        return names;
    }();
    return text.contains(column);
}

Database::Database()
    : m_name(QStringLiteral("kc-db-%1").arg(g_connectionCounter.fetchAndAddOrdered(1)))
{
}

Database::~Database()
{
    close();
}

void Database::fail(const QString &what, const QString &detail) const
{
    throw StoreError(QStringLiteral("データベース %1 の%2に失敗しました。（%3）")
                         .arg(QFileInfo(m_path).fileName(), what, detail),
                     m_path);
}

void Database::open(const QString &path)
{
    close();
    m_path = path;
    QDir().mkpath(QFileInfo(path).absolutePath());
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(path);
    m_failure = Failure::Other;
    if (!m_db.open())
        fail(QStringLiteral("オープン"), m_db.lastError().text());
    // A file that is not a database fails on its first real query.
    QSqlQuery probe(m_db);
    if (!probe.exec(QStringLiteral("PRAGMA schema_version"))) {
        // SQLite's own codes: 5 busy, 6 locked, 11 corrupt, 26 not a database.
        const QString code = probe.lastError().nativeErrorCode();
        if (code == u"5" || code == u"6") {
            m_failure = Failure::Busy;
            throw StoreError(QStringLiteral("データベース %1 は別のプログラムが使用中（ロック中）"
                                            "です。そのプログラムを終了してから、もう一度始めて"
                                            "ください。何も変更していません。")
                                 .arg(QFileInfo(m_path).fileName()),
                             m_path);
        }
        if (code == u"11" || code == u"26")
            m_failure = Failure::Damaged;
        fail(QStringLiteral("読み込み"), probe.lastError().text());
    }
    probe.finish();
    const QStringList tables = m_db.tables();
    m_wasComplete = tables.contains(entrytable::name) && tables.contains(QStringLiteral("PRIZE"));
    if (tables.contains(entrytable::name))
        checkColumns(entrytable::name, entryColumns());
    if (tables.contains(QStringLiteral("PRIZE")))
        checkColumns(QStringLiteral("PRIZE"), prizeColumns());
    exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    exec(QStringLiteral("PRAGMA synchronous=FULL"));
    createTables();
    m_failure = Failure::None;
}

void Database::checkColumns(const QString &table, const QStringList &expected)
{
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("PRAGMA table_info(") + quoted(table) + u')'))
        fail(QStringLiteral("読み込み"), q.lastError().text());
    QStringList have;
    while (q.next())
        have << q.value(1).toString();
    QStringList missing;
    for (const QString &c : expected)
        if (!have.contains(c))
            missing << c;
    if (missing.isEmpty())
        return;
    m_failure = Failure::Damaged;
    throw StoreError(QStringLiteral("データベース %1 の表 %2 に列 %3 がありません")
                         .arg(QFileInfo(m_path).fileName(), table, missing.join(u'、')),
                     m_path);
}

void Database::createTables()
{
    QStringList defs;
    for (const QString &c : entryColumns())
        defs << quoted(c)
                + (isTextColumn(entrytable::name, c) ? QStringLiteral(" TEXT DEFAULT ''")
                                                     : QStringLiteral(" INTEGER DEFAULT 0"));
    exec(QStringLiteral("CREATE TABLE IF NOT EXISTS ") + entrytable::name + QStringLiteral(" (")
         + defs.join(u',') + u')');
    defs.clear();
    for (const QString &c : prizeColumns())
        defs << quoted(c)
                + (isTextColumn(QStringLiteral("PRIZE"), c) ? QStringLiteral(" TEXT DEFAULT ''")
                                                            : QStringLiteral(" INTEGER DEFAULT 0"));
    exec(QStringLiteral("CREATE TABLE IF NOT EXISTS PRIZE (") + defs.join(u',') + u')');
}

void Database::close()
{
    if (m_db.isValid()) {
        if (m_db.isOpen()) {
            if (m_depth > 0)
                m_db.rollback();
            m_db.close();
        }
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    m_depth = 0;
}

bool Database::isOpen() const
{
    return m_db.isValid() && m_db.isOpen();
}

void Database::exec(const QString &sql, const QVariantList &bind)
{
    QSqlQuery q(m_db);
    if (!q.prepare(sql))
        fail(QStringLiteral("操作"), q.lastError().text());
    for (const QVariant &v : bind)
        q.addBindValue(v);
    if (!q.exec())
        fail(QStringLiteral("操作"), q.lastError().text());
}

int Database::rowCount(const QString &table)
{
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + quoted(table)) || !q.next())
        fail(QStringLiteral("読み込み"), q.lastError().text());
    return q.value(0).toInt();
}

void Database::deleteAll(const QString &table)
{
    exec(QStringLiteral("DELETE FROM ") + quoted(table));
}

void Database::begin()
{
    if (m_depth == 0 && !m_db.transaction())
        fail(QStringLiteral("トランザクション開始"), m_db.lastError().text());
    ++m_depth;
}

void Database::commit()
{
    if (m_depth <= 0)
        return;
    if (m_depth == 1 && !m_db.commit())
        fail(QStringLiteral("書き込み"), m_db.lastError().text());
    --m_depth;
    if (m_depth == 0 && m_afterCommit)
        m_afterCommit();
}

void Database::rollback()
{
    if (m_depth <= 0)
        return;
    // An inner failure undoes the whole outer transaction.
    m_depth = 0;
    m_db.rollback();
}

} // namespace kc
