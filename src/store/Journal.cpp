#include "store/Journal.h"

#include "store/Database.h"
#include "store/StoreError.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <algorithm>
#include <vector>

namespace kc {

namespace {
constexpr quint32 kMagic = 0x4b434a31; // "KCJ1"
constexpr quint32 kFormat = 1;
constexpr int kHashSize = 32; // SHA-256 of everything before it

// A name from a manifest, shown without what could garble the message.
QString quotedName(const QString &name)
{
    QString out = name.left(200);
    for (QChar &c : out)
        if (c.unicode() < 0x20)
            c = u'?';
    return out;
}

QString manifestPattern()
{
    return QStringLiteral("^([0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12})\\.kcj$");
}
} // namespace

// Where a path relative to the contest folder leads, when that is a file
// inside Data/ or html/ reached without a link (the folders themselves may be
// links the organiser made); empty otherwise.
QString Journal::confined(const QString &name) const
{
    if (name.isEmpty() || QDir::isAbsolutePath(name) || name.contains(u'\\'))
        return {};
    const QStringList parts = name.split(u'/');
    if (parts.size() < 2 || (parts[0] != u"Data" && parts[0] != u"html"))
        return {};
    QString path = m_root + u'/' + parts[0];
    for (int i = 1; i < parts.size(); ++i) {
        if (parts[i].isEmpty() || parts[i] == u"." || parts[i] == u"..")
            return {};
        path += u'/' + parts[i];
        if (i + 1 < parts.size() && QFileInfo(path).isSymLink())
            return {};
    }
    return path;
}

Journal::Journal(FileStore &disk, Database &db, const QString &dataDir)
    : m_disk(disk), m_db(db), m_root(QFileInfo(dataDir).absolutePath()),
      m_folder(QDir::cleanPath(dataDir) + QStringLiteral("/.journal"))
{
}

QString Journal::key(const QString &path) const
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool Journal::exists(const QString &path) const
{
    if (m_depth > 0) {
        const auto it = m_staged.find(key(path));
        if (it != m_staged.end())
            return it->second.has_value();
    }
    return m_disk.exists(path);
}

std::optional<QByteArray> Journal::read(const QString &path) const
{
    if (m_depth > 0) {
        const auto it = m_staged.find(key(path));
        if (it != m_staged.end())
            return it->second;
    }
    return m_disk.read(path);
}

void Journal::write(const QString &path, const QByteArray &bytes)
{
    if (m_depth > 0) {
        m_staged[key(path)] = bytes;
        return;
    }
    settle();
    m_disk.write(path, bytes);
}

void Journal::remove(const QString &path)
{
    if (m_depth > 0) {
        m_staged[key(path)] = std::nullopt;
        return;
    }
    settle();
    m_disk.remove(path);
}

void Journal::syncFolder(const QString &dir)
{
    if (m_depth == 0)
        m_disk.syncFolder(dir);
}

void Journal::begin()
{
    if (m_depth == 0) {
        settle();
        // The database commit is the commit point of the files, so it cannot
        // sit inside a transaction that someone else commits later.
        if (m_db.transactionDepth() != 0)
            throw StoreError(QStringLiteral("データベースのトランザクションの中で処理を始めることは"
                                            "できません。（%1）")
                                 .arg(QFileInfo(m_db.path()).fileName()),
                             m_db.path());
        m_db.begin();
        m_staged.clear();
        m_doomed = false;
    }
    ++m_depth;
}

void Journal::abandon()
{
    if (m_depth <= 0)
        return;
    if (m_depth > 1) {
        --m_depth;
        m_doomed = true;
        return;
    }
    m_depth = 0;
    dropUnit();
}

void Journal::dropUnit()
{
    m_staged.clear();
    m_doomed = false;
    if (m_db.transactionDepth() > 0)
        m_db.rollback();
}

void Journal::commit()
{
    if (m_depth <= 0)
        return;
    if (m_depth > 1) {
        --m_depth;
        return;
    }
    m_depth = 0;
    // A nested unit or transaction that failed has already rolled the database
    // back; committing the files alone would split the action.
    if (m_doomed || m_db.transactionDepth() != 1) {
        dropUnit();
        throw StoreError(
            QStringLiteral("処理の途中で失敗したため、この処理による変更はすべて取り消し"
                           "ました。"),
            m_db.path());
    }
    Staged staged;
    staged.swap(m_staged);
    if (staged.empty()) {
        try {
            m_db.commit();
        } catch (...) {
            dropUnit();
            throw;
        }
        return;
    }

    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString manifest = m_folder + u'/' + id + QStringLiteral(".kcj");
    try {
        // Everything that could stop a file being put in place is found out
        // here, before the commit point, so a refused action leaves no trace.
        qint64 need = 0;
        for (const auto &[path, bytes] : staged) {
            if (confined(QDir(m_root).relativeFilePath(path)) != path)
                throw StoreError(
                    QStringLiteral("ファイル %1 はコンテストフォルダの Data と html の外"
                                   "にあるため、書き込みません。何も変更していません。")
                        .arg(QDir::toNativeSeparators(path)),
                    path);
            m_disk.checkReplaceable(path,
                                    bytes ? std::optional<qint64>(bytes->size()) : std::nullopt);
            need += bytes.value_or(QByteArray()).size() + 4096;
        }
        // The manifest and the new files stand side by side until the end.
        m_disk.checkSpace(m_folder, 2 * need + 65536);
        ensureTable();
        m_disk.write(manifest, encodeManifest(id, staged));
        m_disk.syncFolder(m_folder);
        // Earlier ids are finished: their manifests are gone (settle() saw to that).
        m_db.exec(QStringLiteral("DELETE FROM ") + tableName());
        m_db.exec(QStringLiteral("INSERT INTO ") + tableName() + QStringLiteral(" (id) VALUES (?)"),
                  {id});
        m_db.commit();
    } catch (...) {
        // Whether the commit point was reached is the database's to say;
        // recover() asks it and finishes or drops the manifest.
        m_unsettled = true;
        try {
            dropUnit();
            recover();
        } catch (...) {
        }
        throw;
    }
    // Committed: from here on the action is finished, now or at the next start-up.
    m_unsettled = true;
    try {
        apply(staged);
    } catch (const StoreError &e) {
        m_interrupted = true;
        throw StoreError::completesLater(
            e.message() + u'\n'
                + QStringLiteral("この処理は記録されています。書き込めるようになった後、次回の"
                                 "起動時に最後まで行われます。もう一度行わないでください。"),
            e.file());
    } catch (...) {
        m_interrupted = true;
        throw;
    }
    try {
        // Synced, or a power cut could bring the manifest back after later
        // single-file writes and start-up would put older bytes over them.
        m_disk.remove(manifest);
        m_disk.syncFolder(m_folder);
    } catch (const StoreError &) {
        // Every file is in place: the action succeeded. The manifest only
        // rewrites the same bytes, and settle() removes it before any other write.
        return;
    }
    removeFolderIfEmpty();
    m_unsettled = false;
}

void Journal::settle()
{
    if (m_unsettled)
        recover();
    forget();
}

void Journal::forget()
{
    if (m_finished.isEmpty())
        return;
    while (!m_finished.isEmpty()) {
        m_disk.remove(m_finished.first());
        m_finished.removeFirst();
    }
    m_disk.syncFolder(m_folder);
    removeFolderIfEmpty();
}

void Journal::apply(const Staged &files)
{
    QSet<QString> folders;
    for (const auto &[path, bytes] : files) {
        if (bytes)
            m_disk.write(path, *bytes);
        else
            m_disk.remove(path);
        folders.insert(QFileInfo(path).absolutePath());
    }
    // The renames must be on the disk before the manifest goes.
    for (const QString &dir : std::as_const(folders))
        if (QFileInfo(dir).isDir())
            m_disk.syncFolder(dir);
}

void Journal::ensureTable()
{
    m_db.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS ") + tableName()
              + QStringLiteral(" (id TEXT PRIMARY KEY)"));
}

qint64 Journal::committedRow(const QString &id)
{
    QSqlQuery q(m_db.connection());
    q.prepare(QStringLiteral("SELECT rowid FROM ") + tableName() + QStringLiteral(" WHERE id = ?"));
    q.addBindValue(id);
    if (!q.exec())
        m_db.fail(QStringLiteral("読み込み"), q.lastError().text());
    return q.next() ? q.value(0).toLongLong() : -1;
}

void Journal::removeFolderIfEmpty()
{
    QDir().rmdir(m_folder); // fails, harmlessly, when something is left
}

Journal::Recovery Journal::recover(bool keepFinished)
{
    Recovery out;
    if (m_depth > 0)
        return out;
    ensureTable();
    const QDir dir(m_folder);
    if (!dir.exists()) {
        m_finished.clear();
        m_unsettled = false;
        m_interrupted = false;
        return out;
    }
    static const QRegularExpression manifestName(manifestPattern());
    std::vector<std::pair<qint64, QString>> committed;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    // A manifest's own temporary file while QSaveFile wrote it.
    static const QRegularExpression partName(manifestPattern().chopped(1)
                                             + QStringLiteral("\\.[A-Za-z0-9]+$"));
    for (const QString &name : names) {
        const auto match = manifestName.match(name);
        // Files that are not the program's are not its to remove.
        if (!match.hasMatch() && !partName.match(name).hasMatch())
            continue;
        const qint64 row = match.hasMatch() ? committedRow(match.captured(1)) : -1;
        if (row >= 0) {
            committed.emplace_back(row, match.captured(1));
        } else {
            // Not committed, or a manifest whose writing stopped half way.
            m_disk.remove(dir.filePath(name));
            out.undone = true;
        }
    }
    std::sort(committed.begin(), committed.end());
    for (const auto &[row, id] : committed) {
        const QString path = m_folder + u'/' + id + QStringLiteral(".kcj");
        apply(decodeManifest(path, id));
        out.finished = true;
        if (!m_finished.contains(path))
            m_finished << path;
    }
    m_unsettled = false;
    m_interrupted = false;
    if (!keepFinished)
        forget();
    removeFolderIfEmpty();
    return out;
}

QByteArray Journal::encodeManifest(const QString &id, const Staged &files) const
{
    QByteArray payload;
    {
        QDataStream out(&payload, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << kMagic << kFormat << id << quint32(files.size());
        const QDir root(m_root);
        for (const auto &[path, bytes] : files) {
            // Relative, so that a contest folder moved before start-up still works.
            QString name = root.relativeFilePath(path);
            if (name.startsWith(QStringLiteral("../")))
                name = path;
            out << name << bytes.has_value() << bytes.value_or(QByteArray());
        }
    }
    return payload + QCryptographicHash::hash(payload, QCryptographicHash::Sha256);
}

Journal::Staged Journal::decodeManifest(const QString &path, const QString &id) const
{
    const auto bad = [&] {
        return StoreError(QStringLiteral("処理の記録 %1 が壊れているため、中断された処理を完了"
                                         "できません。")
                              .arg(QDir::toNativeSeparators(path)),
                          path);
    };
    const auto bytes = m_disk.read(path);
    if (!bytes || bytes->size() <= kHashSize)
        throw bad();
    const QByteArray payload = bytes->left(bytes->size() - kHashSize);
    if (QCryptographicHash::hash(payload, QCryptographicHash::Sha256) != bytes->right(kHashSize))
        throw bad();
    QDataStream in(payload);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0, format = 0, count = 0;
    QString storedId;
    in >> magic >> format >> storedId >> count;
    if (magic != kMagic || format != kFormat || storedId != id)
        throw bad();
    Staged files;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString name;
        bool present = false;
        QByteArray content;
        in >> name >> present >> content;
        const QString target = confined(name);
        // A manifest from elsewhere must not write outside this folder's data.
        if (target.isEmpty() && in.status() == QDataStream::Ok)
            throw StoreError(
                QStringLiteral("処理の記録 %1 に、このコンテストフォルダの Data と html の外の"
                               "ファイル（%2）が含まれているため、中断された処理を完了できません。"
                               "何も書き込んでいません。ほかから持ち込まれた記録なら、%3 "
                               "フォルダを削除してから起動してください。")
                    .arg(QDir::toNativeSeparators(path), quotedName(name),
                         QDir::toNativeSeparators(m_folder)),
                path);
        if (present)
            files[target] = content;
        else
            files[target] = std::nullopt;
    }
    if (in.status() != QDataStream::Ok || files.size() != count)
        throw bad();
    return files;
}

} // namespace kc
