#pragma once

#include <QDir>
#include <QString>

namespace kc {

// Every contest file lives under one contest folder: Data/ and html/.
struct Paths
{
    QString root, data, html;
    QString credit, record, entry, entryBak, ranking, rikishi, banzuke, rename, perfect;
    QString database, entryCsv, resultCsv, prizeCsv, help, lock;

    explicit Paths(const QString &rootDir = QString())
    {
        root = QDir::cleanPath(QDir(rootDir).absolutePath());
        data = root + QStringLiteral("/Data");
        html = root + QStringLiteral("/html");
        credit = data + QStringLiteral("/Credit.Dat");
        record = data + QStringLiteral("/Record.Dat");
        entry = data + QStringLiteral("/Entry.Dat");
        entryBak = data + QStringLiteral("/Entry.Bak");
        ranking = data + QStringLiteral("/Ranking.Dat");
        rikishi = data + QStringLiteral("/Rikishi.Dat");
        banzuke = data + QStringLiteral("/Banzuke.Dat");
        rename = data + QStringLiteral("/Rename.Dat");
        perfect = data + QStringLiteral("/Perfect.Dat");
        database = data + QStringLiteral("/kch.kch");
        entryCsv = data + QStringLiteral("/Entry.Csv");
        resultCsv = data + QStringLiteral("/Result.Csv");
        prizeCsv = data + QStringLiteral("/Prize.Csv");
        help = root + QStringLiteral("/Kachiho.hlp");
        lock = data + QStringLiteral("/kachikoshi.lock");
    }
};

// The contest folder when none is named: $KACHIKOSHI_DIR, else the per-user
// data folder. Both front ends start from it. Empty without a home folder:
// the front ends then refuse with noContestDirMessage().
QString defaultContestDir();
QString noContestDirMessage();
// A folder for people to read: one reached through its descriptor (a --dir
// that is not text in the locale) shown by the name it has.
QString shownFolder(const QString &path);

} // namespace kc
