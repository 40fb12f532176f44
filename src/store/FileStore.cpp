#include "store/FileStore.h"

#include "store/StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    return QFileInfo(path).isFile();
}

std::optional<QByteArray> DiskFileStore::read(const QString &path) const
{
    QFile f(path);
    if (!f.exists())
        return std::nullopt;
    if (!f.open(QIODevice::ReadOnly))
        throw StoreError(QStringLiteral("ファイル %1 を読み込めません。（%2）")
                             .arg(QDir::toNativeSeparators(path), f.errorString()),
                         path);
    return f.readAll();
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

void DiskFileStore::write(const QString &path, const QByteArray &bytes)
{
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
