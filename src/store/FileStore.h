#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace kc {

// Every read and write of a contest file goes through this layer, so that a
// unit of work can stage writes and tests can make a write fail.
class FileStore
{
public:
    virtual ~FileStore() = default;

    virtual bool exists(const QString &path) const = 0;
    // nullopt when the file does not exist; throws StoreError when it cannot be read.
    virtual std::optional<QByteArray> read(const QString &path) const = 0;
    // Replaces the file whole or not at all; throws StoreError.
    virtual void write(const QString &path, const QByteArray &bytes) = 0;
    // Removes the file if present; throws StoreError when it stays.
    virtual void remove(const QString &path) = 0;
    // Makes the renames done in a folder durable (a power cut cannot undo
    // them); the unit of work orders its steps with it. Throws StoreError.
    virtual void syncFolder(const QString &dir) { Q_UNUSED(dir); }
    // Throws StoreError, changing nothing, when `path` could not now be
    // replaced by `bytes` bytes (or removed, for nullopt): a read-only or
    // immutable file, a folder in its place, a folder that cannot be written.
    virtual void checkReplaceable(const QString &path, std::optional<qint64> bytes) const
    {
        Q_UNUSED(path);
        Q_UNUSED(bytes);
    }
    // Throws StoreError when the disk holding `dir` has fewer than `bytes` free.
    virtual void checkSpace(const QString &dir, qint64 bytes) const
    {
        Q_UNUSED(dir);
        Q_UNUSED(bytes);
    }

    qint64 size(const QString &path) const;
    void copy(const QString &from, const QString &to);
};

// The real disk, with atomic replacement through QSaveFile.
class DiskFileStore : public FileStore
{
public:
    bool exists(const QString &path) const override;
    std::optional<QByteArray> read(const QString &path) const override;
    void write(const QString &path, const QByteArray &bytes) override;
    void remove(const QString &path) override;
    void syncFolder(const QString &dir) override;
    void checkReplaceable(const QString &path, std::optional<qint64> bytes) const override;
    void checkSpace(const QString &dir, qint64 bytes) const override;
};

// Reads a file the organiser names (an import): only a regular file of at
// most maxBytes is read, so a device, a pipe or a huge file is refused at
// once. Returns the message in `refusal` instead of the bytes.
std::optional<QByteArray> readInputFile(const QString &path, qint64 maxBytes, QString &refusal);

// Writes bytes to path atomically (QSaveFile); throws StoreError naming the file.
void writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace kc
