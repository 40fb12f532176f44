#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace kc {

// The contest database: entry00 and PRIZE in one SQLite file.
class Database
{
public:
    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens (creating when missing) the file and both tables. Throws StoreError.
    void open(const QString &path);
    void close();
    bool isOpen() const;
    const QString &path() const { return m_path; }

    // Whether the file held both tables before open() (false for a new or repaired file).
    bool wasComplete() const { return m_wasComplete; }

    // Why the last open() failed: only Damaged means the file itself is bad
    // (not a database, or a table without its columns); Busy is another
    // program's lock.
    enum class Failure { None, Damaged, Busy, Other };
    Failure failure() const { return m_failure; }

    QSqlDatabase &connection() { return m_db; }

    // Runs a statement; throws StoreError naming the database on failure.
    void exec(const QString &sql, const QVariantList &bind = {});
    int rowCount(const QString &table);
    void deleteAll(const QString &table);

    // Nested transactions: only the outermost begins and commits.
    void begin();
    void commit();
    void rollback();
    int transactionDepth() const { return m_depth; }
    // Runs after every outermost commit (the crash tests end the process there).
    void setAfterCommit(std::function<void()> hook) { m_afterCommit = std::move(hook); }

    static const QStringList &entryColumns(); // entry00, in grid order (33)
    static const QStringList &prizeColumns(); // PRIZE, in stored order (6)
    static bool isTextColumn(const QString &table, const QString &column);

    [[noreturn]] void fail(const QString &what, const QString &detail) const;

private:
    void createTables();
    void checkColumns(const QString &table, const QStringList &expected);

    QSqlDatabase m_db;
    QString m_name;
    QString m_path;
    int m_depth = 0;
    bool m_failed = false;
    bool m_wasComplete = false;
    Failure m_failure = Failure::None;
    std::function<void()> m_afterCommit;
};

// RAII: rolls back unless committed.
class Transaction
{
public:
    explicit Transaction(Database &db) : m_db(db) { m_db.begin(); }
    ~Transaction()
    {
        if (!m_done) {
            try {
                m_db.rollback();
            } catch (...) {
            }
        }
    }
    void commit()
    {
        m_db.commit();
        m_done = true;
    }

private:
    Database &m_db;
    bool m_done = false;
};

} // namespace kc
