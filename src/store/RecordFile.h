#pragma once

#include "store/FileStore.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFileInfo>
#include <vector>

namespace kc {

// Random-access files of fixed-size records, numbered from 1. Every write
// replaces the whole file atomically.
namespace recordfile {

inline StoreError badLength(const QString &path, qint64 length, int recordSize)
{
    return StoreError(QStringLiteral("ファイル %1 の長さ（%2 バイト）が正しくありません。"
                                     "%3 バイトのレコードの並びではありません。")
                          .arg(QFileInfo(path).fileName())
                          .arg(length)
                          .arg(recordSize),
                      path);
}

// Number of whole records; throws when the file is not a whole number of records.
template<typename R> int count(const FileStore &fs, const QString &path)
{
    const auto bytes = fs.read(path);
    if (!bytes)
        return 0;
    if (bytes->size() % R::Size != 0)
        throw badLength(path, bytes->size(), R::Size);
    return int(bytes->size() / R::Size);
}

template<typename R> std::vector<R> readAll(const FileStore &fs, const QString &path)
{
    const auto bytes = fs.read(path);
    std::vector<R> out;
    if (!bytes)
        return out;
    if (bytes->size() % R::Size != 0)
        throw badLength(path, bytes->size(), R::Size);
    const int n = int(bytes->size() / R::Size);
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out.push_back(R::decode(bytes->mid(qsizetype(i) * R::Size, R::Size)));
    return out;
}

// Records 1..n; throws when the file is missing or shorter.
template<typename R> std::vector<R> readFirst(const FileStore &fs, const QString &path, int n)
{
    const auto bytes = fs.read(path);
    if (!bytes || bytes->size() < qint64(n) * R::Size)
        throw StoreError(QStringLiteral("ファイル %1 が短すぎます（%2 件のレコードが必要です）。")
                             .arg(QFileInfo(path).fileName())
                             .arg(n),
                         path);
    std::vector<R> out;
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out.push_back(R::decode(bytes->mid(qsizetype(i) * R::Size, R::Size)));
    return out;
}

template<typename R> R readOne(const FileStore &fs, const QString &path, int recordNumber)
{
    const auto bytes = fs.read(path);
    const qint64 offset = qint64(recordNumber - 1) * R::Size;
    if (!bytes || recordNumber < 1 || bytes->size() < offset + R::Size)
        throw StoreError(QStringLiteral("ファイル %1 にレコード %2 がありません。")
                             .arg(QFileInfo(path).fileName())
                             .arg(recordNumber),
                         path);
    return R::decode(bytes->mid(offset, R::Size));
}

template<typename R, typename Container> QByteArray encodeAll(const Container &records)
{
    QByteArray out;
    out.reserve(qsizetype(records.size()) * R::Size);
    for (const R &r : records)
        out += r.encode();
    return out;
}

template<typename R, typename Container>
void writeAll(FileStore &fs, const QString &path, const Container &records)
{
    fs.write(path, encodeAll<R>(records));
}

// Writes record n, keeping the others; a file shorter than n records grows
// with zero-filled records as a random-access file does.
template<typename R>
void writeOne(FileStore &fs, const QString &path, int recordNumber, const R &record)
{
    QByteArray bytes = fs.read(path).value_or(QByteArray());
    const qsizetype offset = qsizetype(recordNumber - 1) * R::Size;
    if (bytes.size() < offset + R::Size)
        bytes.append(offset + R::Size - bytes.size(), '\0');
    bytes.replace(offset, R::Size, record.encode());
    fs.write(path, bytes);
}

} // namespace recordfile
} // namespace kc
