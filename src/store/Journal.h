#pragma once

#include "store/FileStore.h"

#include <QString>
#include <QStringList>
#include <map>
#include <optional>

namespace kc {

class Database;

// The file layer a Contest hands out. Outside a unit of work every write goes
// straight to the disk layer (atomic per file). Inside one, writes and removals
// are kept in memory, reads see them, and commit() makes them durable together
// with the database transaction:
//
//   1. every staged file goes into one manifest, Data/.journal/<id>.kcj,
//      written atomically and synced;
//   2. the unit's id is inserted into kc_journal and the database transaction
//      commits: this is the commit point;
//   3. each file is replaced (atomically), the folders are synced and the
//      manifest is removed.
//
// recover() runs at start-up before anything is read: a manifest whose id the
// database holds is finished (step 3 again; it only rewrites the same bytes), any
// other is dropped. Why a journal and not a snapshot: docs/ARCHITECTURE.md.
class Journal : public FileStore
{
public:
    Journal(FileStore &disk, Database &db, const QString &dataDir);

    bool exists(const QString &path) const override;
    std::optional<QByteArray> read(const QString &path) const override;
    void write(const QString &path, const QByteArray &bytes) override;
    void remove(const QString &path) override;
    void syncFolder(const QString &dir) override;

    // Units nest: only the outermost begin() opens the database transaction
    // and only the outermost commit() writes anything.
    void begin();
    void commit();
    // Leaves the unit without committing. An inner unit that leaves this way
    // dooms the outer one (its commit throws), as the database does.
    void abandon();
    int depth() const { return m_depth; }

    struct Recovery
    {
        bool finished = false; // a committed action was completed
        bool undone = false; // an uncommitted action was dropped
    };
    // Finishes or drops what a stopped process left behind and removes the
    // journal folder. With keepFinished the finished manifests stay until
    // forget(): start-up removes them only once the organiser has been told,
    // so a stop in between tells again instead of never. Throws StoreError.
    Recovery recover(bool keepFinished = false);
    // Removes the manifests recover(true) kept; before any other write too.
    void forget();

    // Whether the last commit failed after its commit point, so that its
    // files are still being put in place (recover() finishes them).
    bool interrupted() const { return m_interrupted; }

    QString folder() const { return m_folder; }
    static QString tableName() { return QStringLiteral("kc_journal"); }

private:
    using Staged = std::map<QString, std::optional<QByteArray>>; // nullopt = removed

    QString key(const QString &path) const;
    QString confined(const QString &name) const;
    void settle();
    void dropUnit();
    void apply(const Staged &files);
    void ensureTable();
    qint64 committedRow(const QString &id);
    void removeFolderIfEmpty();
    QByteArray encodeManifest(const QString &id, const Staged &files) const;
    Staged decodeManifest(const QString &path, const QString &id) const;

    FileStore &m_disk;
    Database &m_db;
    QString m_root;
    QString m_folder;
    Staged m_staged;
    int m_depth = 0;
    bool m_doomed = false;
    // A manifest may still be on disk (a commit failed after its commit point
    // or the outcome is unknown): settled before any further write.
    bool m_unsettled = false;
    bool m_interrupted = false;
    QStringList m_finished; // applied, kept by recover(true)
};

} // namespace kc
