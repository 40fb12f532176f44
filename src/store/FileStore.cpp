#include "store/FileStore.h"

#include "store/StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kc {

qint64 FileStore::size(const QString &path) const
{
    const auto bytes = read(path);
    return bytes ? bytes->size() : -1;
}

void FileStore::copy(const QString &from, const QString &to)
{
    const auto bytes = read(from);
    if (!bytes)
        throw StoreError(
            QStringLiteral("ファイル %1 がありません。").arg(QDir::toNativeSeparators(from)), from);
    write(to, *bytes);
}

bool DiskFileStore::exists(const QString &path) const
{
    // Something else in a file's place is there, and read() calls it damaged.
    return QFileInfo::exists(path);
}

std::optional<QByteArray> DiskFileStore::read(const QString &path) const
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    if (!info.isFile())
        throw StoreError(QStringLiteral("ファイル %1 が壊れています（ファイルの代わりにフォルダなど"
                                        "があります）。何も変更していません。")
                             .arg(QDir::toNativeSeparators(path)),
                         path);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw StoreError(QStringLiteral("ファイル %1 を読み込めません。（%2）")
                             .arg(QDir::toNativeSeparators(path), f.errorString()),
                         path);
    return f.readAll();
}

std::optional<QByteArray> readInputFile(const QString &path, qint64 maxBytes, QString &refusal)
{
    const QFileInfo info(path);
    const QString name = QDir::toNativeSeparators(path);
    if (!info.exists())
        refusal = QStringLiteral("ファイル %1 がありません。").arg(name);
    else if (!info.isFile())
        refusal
            = QStringLiteral("%1 は普通のファイルではありません（フォルダ、装置、パイプなど）。")
                  .arg(name);
    else if (info.size() > maxBytes)
        refusal = QStringLiteral("ファイル %1 が大きすぎます（%2 KB、上限 %3 KB）。")
                      .arg(name)
                      .arg(info.size() / 1024)
                      .arg(maxBytes / 1024);
    if (!refusal.isEmpty())
        return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        refusal = QStringLiteral("ファイル %1 を読めません（%2）。").arg(name, f.errorString());
        return std::nullopt;
    }
    // The file may have grown since: never more than the limit.
    QByteArray bytes = f.read(maxBytes + 1);
    if (bytes.size() > maxBytes) {
        refusal = QStringLiteral("ファイル %1 が大きすぎます（上限 %2 KB）。")
                      .arg(name)
                      .arg(maxBytes / 1024);
        return std::nullopt;
    }
    return bytes;
}

void writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw StoreError(QStringLiteral("ファイル %1 に書き込めません。（%2）")
                             .arg(QDir::toNativeSeparators(path), f.errorString()),
                         path);
}

namespace {
// A contest file that is a link would be written where the link leads,
// perhaps outside the folder: it is named, never written through.
void refuseLink(const QString &path, const QString &prefix, const QString &suffix = QString())
{
    const QFileInfo fi(path);
    if (!fi.isSymLink())
        return;
    throw StoreError(prefix
                         + QStringLiteral("（シンボリックリンクです。リンク先 %1%2）。リンクを"
                                          "削除するか本物のファイルに置き換えてください。")
                               .arg(QDir::toNativeSeparators(fi.symLinkTarget()),
                                    fi.exists() ? QString() : QStringLiteral("、存在しません"))
                         + suffix,
                     path);
}
} // namespace

void DiskFileStore::write(const QString &path, const QByteArray &bytes)
{
    refuseLink(
        path,
        QStringLiteral("ファイル %1 に書き込みませんでした").arg(QDir::toNativeSeparators(path)));
    writeFileAtomically(path, bytes);
}

void DiskFileStore::remove(const QString &path)
{
    QFile f(path);
    if (f.exists() && !f.remove())
        throw StoreError(QStringLiteral("ファイル %1 を削除できません。（%2）")
                             .arg(QDir::toNativeSeparators(path), f.errorString()),
                         path);
}

namespace {
// The nearest folder of `dir` that exists (a write creates the rest).
QString existingFolder(QString dir)
{
    while (!QFileInfo(dir).exists() && QFileInfo(dir).absolutePath() != dir)
        dir = QFileInfo(dir).absolutePath();
    return dir;
}

bool canWrite(const QString &path)
{
#ifdef Q_OS_UNIX
    // access() also refuses root an immutable file or folder.
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
#else
    return QFileInfo(path).isWritable();
#endif
}
} // namespace

void DiskFileStore::checkReplaceable(const QString &path, std::optional<qint64> bytes) const
{
    const auto refuse = [&](const QString &why) {
        throw StoreError(QStringLiteral("ファイル %1 を置き換えられないため、処理を行いませんでした"
                                        "（%2）。何も変更していません。")
                             .arg(QDir::toNativeSeparators(path), why),
                         path);
    };
    // Removing a link removes only the link.
    if (bytes)
        refuseLink(path,
                   QStringLiteral("ファイル %1 を置き換えられないため、処理を行いませんでした")
                       .arg(QDir::toNativeSeparators(path)),
                   QStringLiteral("何も変更していません。"));
    const QFileInfo fi(path);
    if (fi.exists() && !fi.isFile())
        refuse(QStringLiteral("同じ名前のフォルダまたはファイルでないものがあります"));
    if (bytes && fi.exists() && !canWrite(path))
        refuse(QStringLiteral("書き込みが禁止されています"));
    const QString dir = existingFolder(fi.absolutePath());
    if (!QFileInfo(dir).isDir() || !canWrite(dir))
        refuse(QStringLiteral("フォルダ %1 に書き込めません").arg(QDir::toNativeSeparators(dir)));
}

void DiskFileStore::checkSpace(const QString &dir, qint64 bytes) const
{
    const QStorageInfo disk(existingFolder(dir));
    if (disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < bytes)
        throw StoreError(QStringLiteral("ディスクの空き容量が足りないため、処理を行いませんでした"
                                        "（%1 KB 必要、空き %2 KB）。何も変更していません。")
                             .arg((bytes + 1023) / 1024)
                             .arg(disk.bytesAvailable() / 1024),
                         dir);
}

void DiskFileStore::syncFolder(const QString &dir)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // Some file systems cannot sync a folder (EINVAL); their renames are as durable as they get.
    const bool ok = fd >= 0 && (::fsync(fd) == 0 || errno == EINVAL);
    if (fd >= 0)
        ::close(fd);
    if (!ok)
        throw StoreError(QStringLiteral("フォルダ %1 をディスクに書き込めません。")
                             .arg(QDir::toNativeSeparators(dir)),
                         dir);
#else
    // No folder handle to sync here; the file system orders the rename itself.
    Q_UNUSED(dir);
#endif
}

} // namespace kc
