#include "TestSupport.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QtEndian>
#include <dirent.h>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

using namespace kc::test;

namespace {

void copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const QFileInfo &f :
         QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (f.isDir())
            copyTree(f.filePath(), to + u'/' + f.fileName());
        else
            QFile::copy(f.filePath(), to + u'/' + f.fileName());
    }
}

void patchI16(const QString &path, int offset, qint16 value)
{
    QByteArray b = readBytes(path);
    qToLittleEndian<qint16>(value, b.data() + offset);
    writeBytes(path, b);
}

void sqlite(const QString &path, const QString &statement)
{
    const QString name = QStringLiteral("damage");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        EXPECT_TRUE(QSqlQuery(db).exec(statement)) << statement.toStdString();
    }
    QSqlDatabase::removeDatabase(name);
}

// Another program in the middle of a write transaction, for as long as it lives.
std::shared_ptr<void> busyDatabase(const QString &path)
{
    auto p = std::make_shared<QProcess>();
    p->start(QStringLiteral("sqlite3"), {path});
    EXPECT_TRUE(p->waitForStarted()) << "sqlite3 is needed (scripts/install-deps.sh)";
    p->write("BEGIN EXCLUSIVE;\nDELETE FROM PRIZE WHERE 0;\nSELECT 'held';\n");
    EXPECT_TRUE(p->waitForReadyRead(10000));
    return std::shared_ptr<void>(p.get(), [p](void *) {
        p->closeWriteChannel();
        p->waitForFinished(5000);
    });
}

// What a row does to the folder before the run; `file` is in Data/.
// FullFolder: a folder holding a file; LinkOut: a link to a file outside the
// folder; Dangling: a link to nothing; HtmlLink: html/ a link to a folder
// outside; Blank: Entry.Dat with the name at `offset` blanked, written as
// `file`; Manifest: a committed manifest writing `file`; SecondRepair: an
// earlier repair's copy, and Entry.Dat cut to `offset` bytes.
// clang-format off
enum class Damage { None, Lock, LiveLock, BusyDatabase, DropColumn, Resize, Remove, Patch, Folder,
    FullFolder, Fifo, ReadOnly, LinkOut, Dangling, HtmlLink, Blank, Manifest, Leftovers, SecondRepair };
// clang-format on
enum class After { Unchanged, DatabaseSetAside, Changed, LeftoversGone, BothCopiesKept };

struct Row
{
    const char *name;
    const char *from; // demo: a whole tournament; fresh: nothing decided; registered: one entry
    Damage damage;
    const char *file;
    int offset, value; // Resize: size in offset; Patch: a 16-bit value at offset
    const char *args; // blank-separated; FIFO stands for a named pipe
    int exit;
    const char *words;
    After after = After::Unchanged;
};

// A manifest as an earlier run would have left it, its id committed.
void plantManifest(const QString &data, const QString &name)
{
    const QString id = QStringLiteral("00000000-0000-4000-8000-000000000001");
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << quint32(0x4b434a31) << quint32(1) << id << quint32(1) << name << true
        << QByteArray("escaped");
    QDir().mkpath(data + QStringLiteral("/.journal"));
    writeBytes(data + QStringLiteral("/.journal/") + id + QStringLiteral(".kcj"),
               payload + QCryptographicHash::hash(payload, QCryptographicHash::Sha256));
    sqlite(data + QStringLiteral("/kch.kch"),
           QStringLiteral("INSERT INTO kc_journal VALUES ('%1')").arg(id));
}

// Damages the folder; what it returns (a lock, another program) lives through the run.
std::shared_ptr<void> apply(const Row &row, const QString &data, const QString &outside)
{
    const QString path = data + u'/' + QString::fromUtf8(row.file);
    const QString html = data + QStringLiteral("/../html");
    switch (row.damage) {
    case Damage::None:
        break;
    case Damage::Lock:
        writeBytes(path, "12345\nkachikoshi\n");
        break;
    case Damage::LiveLock: {
        auto lock = std::make_shared<QLockFile>(path);
        EXPECT_TRUE(lock->tryLock(0));
        return lock;
    }
    case Damage::BusyDatabase:
        return busyDatabase(path);
    case Damage::DropColumn:
        sqlite(path, QStringLiteral("ALTER TABLE PRIZE DROP COLUMN しこな"));
        break;
    case Damage::Resize:
        QFile::resize(path, row.offset);
        break;
    case Damage::Remove:
        QFile::remove(path);
        break;
    case Damage::Patch:
        patchI16(path, row.offset, qint16(row.value));
        break;
    case Damage::Folder:
        QFile::remove(path);
        QDir().mkdir(path);
        break;
    case Damage::FullFolder:
        QDir().mkpath(path);
        writeBytes(path + QStringLiteral("/x"), "x");
        break;
    case Damage::Fifo:
        EXPECT_EQ(mkfifo(path.toLocal8Bit().constData(), 0600), 0);
        break;
    case Damage::ReadOnly:
        writeBytes(path, "1\nkachikoshi\n");
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        break;
    case Damage::LinkOut:
    case Damage::Dangling:
        QFile::remove(path);
        QFile::link(row.damage == Damage::LinkOut ? outside + QStringLiteral("/outside.txt")
                                                  : outside + QStringLiteral("/missing/none"),
                    path);
        break;
    case Damage::HtmlLink:
        QDir(html).removeRecursively();
        QDir().mkpath(outside + QStringLiteral("/web"));
        QFile::link(outside + QStringLiteral("/web"), html);
        break;
    case Damage::Blank: {
        QByteArray b = readBytes(data + QStringLiteral("/Entry.Dat"));
        b.replace(row.offset, 16, QByteArray(16, ' '));
        writeBytes(path, b);
        break;
    }
    case Damage::Manifest:
        plantManifest(data, QString::fromUtf8(row.file).replace(u'@', outside));
        break;
    case Damage::Leftovers:
        for (const char *name : {"Result.html.Ab3dE9", "Result.html.backup"})
            writeBytes(html + u'/' + QString::fromLatin1(name), "half");
        writeBytes(data + QStringLiteral("/kachikoshi.lock.rmlock"), "1\n");
        break;
    case Damage::SecondRepair:
        writeBytes(data + QStringLiteral("/Entry.Dat.damaged"), "earlier");
        QFile::resize(data + QStringLiteral("/Entry.Dat"), row.offset);
        break;
    }
    return {};
}

QString makeTemplate(const QString &dir, const QList<QStringList> &commands)
{
    for (const QStringList &c : commands)
        EXPECT_EQ(
            runExe(QStringList {QStringLiteral("--dir"), dir, QStringLiteral("--yes")} + c).code, 0)
            << c.join(u' ').toStdString();
    return dir;
}

} // namespace

// One row per kind of damage or hostile input: the program says so and exits
// with its status, and no file of the contest changes (a database that is not
// usable is kept aside whole).
TEST(DamagedFolder, EachKindIsReportedAndLosesNothing)
{
    if (qEnvironmentVariable("KC_EXE").isEmpty())
        GTEST_SKIP() << "KC_EXE not set (run through ctest)";
    QTemporaryDir templates;
    const auto words = [](const char *s) { return QString::fromUtf8(s).split(u' '); };
    QMap<QString, QString> from {
        {QStringLiteral("demo"),
         makeTemplate(templates.filePath(QStringLiteral("demo")),
                      {words("demo --entries 5 --seed 3")})},
        {QStringLiteral("fresh"),
         makeTemplate(templates.filePath(QStringLiteral("fresh")), {words("status")})},
        {QStringLiteral("registered"),
         makeTemplate(
             templates.filePath(QStringLiteral("registered")),
             {words("rules decide"),
              words("entry add --shikona 一郎 --picks 20,21,22,23,24,25,26 --reserve 30")})}};
    from.insert(
        QStringLiteral("decided"),
        makeTemplate(templates.filePath(QStringLiteral("decided")), {words("rules decide")}));
    from.insert(QStringLiteral("restarted"),
                makeTemplate(templates.filePath(QStringLiteral("restarted")),
                             {words("demo --entries 5 --seed 3"), words("result restart")}));
    const QString fifo = templates.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const auto bout = [](const char *day) -> QByteArray {
        return QByteArray(R"([{"day":)") + day
            + R"(,"eastShikona":"武蔵丸","eastRank":"Yokozuna 1 East","westShikona":"貴乃花",)"
              R"("westRank":"Yokozuna 1 West","kimarite":"yorikiri","winnerJp":"武蔵丸"}])";
    };
    writeBytes(templates.filePath(QStringLiteral("day1.json")), bout(R"("1")"));
    writeBytes(templates.filePath(QStringLiteral("dayx.json")), bout(R"("x")"));
    writeBytes(templates.filePath(QStringLiteral("blank.csv")),
               "　,,,,,,,20,21,22,23,24,25,26,30\n");
    const QMap<QString, QString> placeholders {
        {QStringLiteral("FIFO"), fifo},
        {QStringLiteral("TPL"), templates.path()},
        {QStringLiteral("SP"), QStringLiteral(" ")},
        {QStringLiteral("CUT"), QString(16, u' ') + QStringLiteral("太郎")}};

    // clang-format off
    const Row rows[] = {
        {"lock left by a stopped copy", "demo", Damage::Lock, "kachikoshi.lock", 0, 0, "status", 0, ""},
        {"lock held by a running copy", "demo", Damage::LiveLock, "kachikoshi.lock", 0, 0, "status", 4, "使用中"},
        {"database busy in another program", "demo", Damage::BusyDatabase, "kch.kch", 0, 0, "status", 4, "使用中"},
        {"table without one of its columns", "demo", Damage::DropColumn, "kch.kch", 0, 0, "status", 0, "PRIZE", After::DatabaseSetAside},
        {"Entry.Dat shorter than the table", "demo", Damage::Resize, "Entry.Dat", 752 * 3, 0, "status", 4, "Entry.Dat が壊れています"},
        {"a contest without Credit.Dat", "demo", Damage::Remove, "Credit.Dat", 0, 0, "status", 4, "Credit.Dat がありません"},
        {"perfect-day count beyond Perfect.Dat", "demo", Damage::Patch, "Record.Dat", 242, 32767, "status", 4, "Record.Dat"},
        {"a file that cannot be replaced at the commit", "registered", Damage::Folder, "Entry.Bak", 0, 0, "--yes reception close", 4, "Entry.Bak"},
        {"a device as banzuke file", "fresh", Damage::None, "", 0, 0, "banzuke set /dev/zero", 1, "普通のファイルではありません"},
        {"a pipe as banzuke file", "fresh", Damage::None, "", 0, 0, "banzuke set FIFO", 1, "普通のファイルではありません"},
        {"a pipe as application file", "registered", Damage::None, "", 0, 0, "entry import-csv FIFO", 1, "普通のファイルではありません"},
        {"a device as day result file", "demo", Damage::None, "", 0, 0, "result import /dev/zero 1", 1, "普通のファイルではありません"},
        {"bonus that overflows a score", "fresh", Damage::None, "", 0, 0, "rules set GoldStarBonus=30000", 1, "32767"},
        {"text the files cannot hold", "fresh", Damage::None, "", 0, 0, "prizes set rank.1=1,優勝😀,1000", 1, "U+1F600"},
        {"rename restore answered no", "demo", Damage::None, "", 0, 0, "rename restore", 3, "既定の番付"},
        {"empty --dir", "demo", Damage::None, "", 0, 0, "--dir= status", 2, "--dir"},
        {"a blank ring name", "registered", Damage::None, "", 0, 0, "entry add --shikona SP --picks 20,21,22,23,24,25,26 --reserve 31", 1, "四股名がありません"},
        {"a full-width blank ring name", "registered", Damage::None, "", 0, 0, "entry update 100 --shikona 　", 1, "四股名がありません"},
        {"a ring name the field cut leaves blank", "registered", Damage::None, "", 0, 0, "entry add --shikona CUT --picks 20,21,22,23,24,25,26 --reserve 31", 1, "四股名がありません"},
        {"a blank ring name in an application file", "registered", Damage::None, "", 0, 0, "entry import-csv TPL/blank.csv", 1, "四股名がありません"},
        {"a blank ring name in Ranking.Dat", "decided", Damage::Blank, "Ranking.Dat", 0, 0, "--yes entry import ranking", 1, "レコード 1 に四股名がない"},
        {"a record without a name opens, named", "demo", Damage::Blank, "Entry.Dat", 752, 0, "status", 0, "レコード 2（ID 101）"},
        {"a pick outside the roster opens, named", "demo", Damage::Patch, "Entry.Dat", 752 + 146, 41, "status", 0, "レコード 2（ID 101）"},
        {"a record without a name is mended", "registered", Damage::Blank, "Entry.Dat", 0, 0, "entry update 100 --shikona 直し", 0, "", After::Changed},
        {"lock: a named pipe", "demo", Damage::Fifo, "kachikoshi.lock", 0, 0, "status", 0, ""},
        {"lock: a link to nothing", "demo", Damage::Dangling, "kachikoshi.lock", 0, 0, "status", 0, ""},
        {"lock: an empty folder", "demo", Damage::Folder, "kachikoshi.lock", 0, 0, "status", 0, ""},
        {"lock: a read-only file", "demo", Damage::ReadOnly, "kachikoshi.lock", 0, 0, "status", 0, ""},
        {"lock: a folder that cannot go", "demo", Damage::FullFolder, "kachikoshi.lock", 0, 0, "status", 4, "削除してください"},
        {"manifest writing above the folder", "demo", Damage::Manifest, "../escaped.txt", 0, 0, "status", 4, "Data と html の外"},
        {"manifest writing an absolute path", "demo", Damage::Manifest, "@/escaped.txt", 0, 0, "status", 4, "Data と html の外"},
        {"a page linked outside", "demo", Damage::LinkOut, "../html/Result.html", 0, 0, "publish", 4, "シンボリックリンク"},
        {"a CSV file linked outside", "demo", Damage::LinkOut, "Entry.Csv", 0, 0, "export entry", 4, "シンボリックリンク"},
        {"html/ itself a link stays allowed", "demo", Damage::HtmlLink, "", 0, 0, "publish", 0, ""},
        {"a link to nothing fails the pre-commit check", "restarted", Damage::Dangling, "Record.Dat", 0, 0, "--yes result confirm 1", 4, "シンボリックリンク"},
        {"rename to a name on the roster", "demo", Damage::None, "", 0, 0, "--yes rename 25=武蔵丸", 1, "重なっています"},
        {"a refused start keeps a dangling database link", "demo", Damage::Dangling, "kch.kch", 0, 0, "status", 4, "kch.kch"},
        {"leftovers of interrupted writes go, nothing else", "demo", Damage::Leftovers, "", 0, 0, "status", 0, "", After::LeftoversGone},
        {"a second repair keeps the first copy", "demo", Damage::SecondRepair, "", 752 * 3, 0, "--yes status", 0, "Entry.Dat.damaged-2", After::BothCopiesKept},
        {"a day written as a string", "restarted", Damage::None, "", 0, 0, "result import TPL/day1.json 1", 0, "", After::Changed},
        {"a day that is no number", "restarted", Damage::None, "", 0, 0, "result import TPL/dayx.json 1", 1, "1～15"},
    };
    // clang-format on
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir work;
        const QString dir = work.filePath(QStringLiteral("contest"));
        copyTree(from[QString::fromLatin1(row.from)], dir);
        writeBytes(work.filePath(QStringLiteral("outside.txt")), "outside");
        const QString data = dir + QStringLiteral("/Data");
        const std::shared_ptr<void> held = apply(row, data, work.path());
        const auto before = snapshotFiles(data);
        const QStringList outsideBefore
            = QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QStringList args = QString::fromUtf8(row.args).split(u' ');
        for (QString &a : args)
            for (auto p = placeholders.begin(); p != placeholders.end(); ++p)
                a.replace(p.key(), p.value());
        const CliResult r = runExe(QStringList {QStringLiteral("--dir"), dir} + args);
        // Nothing outside the contest folder is touched.
        EXPECT_EQ(QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  outsideBefore);
        EXPECT_EQ(readBytes(work.filePath(QStringLiteral("outside.txt"))), "outside");
        const QFileInfo link(data + u'/' + QString::fromUtf8(row.file));
        EXPECT_TRUE(row.damage != Damage::Dangling || row.exit == 0 || link.isSymLink());
        EXPECT_EQ(r.code, row.exit) << r.err.toStdString();
        EXPECT_TRUE(QString(r.out + r.err).contains(QString::fromUtf8(row.words)))
            << r.err.toStdString();
        auto after = snapshotFiles(data);
        if (row.after == After::DatabaseSetAside) {
            const QStringList aside = QDir(data).entryList({QStringLiteral("kch.kch.broken-*")});
            ASSERT_EQ(aside.size(), 1);
            EXPECT_EQ(after.take(aside[0]), before[QStringLiteral("kch.kch")]);
            after.insert(QStringLiteral("kch.kch"), before[QStringLiteral("kch.kch")]);
        }
        if (row.after == After::LeftoversGone) {
            EXPECT_FALSE(after.contains(QStringLiteral("kachikoshi.lock.rmlock")));
            EXPECT_EQ(
                QDir(dir + QStringLiteral("/html")).entryList({QStringLiteral("Result.html.*")}),
                QStringList {QStringLiteral("Result.html.backup")});
            after.insert(QStringLiteral("kachikoshi.lock.rmlock"),
                         before[QStringLiteral("kachikoshi.lock.rmlock")]);
        }
        if (row.after == After::BothCopiesKept) {
            EXPECT_EQ(after.take(QStringLiteral("Entry.Dat.damaged-2")),
                      before[QStringLiteral("Entry.Dat")]);
            EXPECT_EQ(after[QStringLiteral("Entry.Dat.damaged")], "earlier");
            continue;
        }
        EXPECT_TRUE(row.after == After::Changed || after == before);
    }
}

// Permissions do not hold back root, so the run is made as another user.
TEST(DamagedFolder, UnreadableDatabaseIsLeftAlone)
{
    if (qEnvironmentVariable("KC_EXE").isEmpty())
        GTEST_SKIP() << "KC_EXE not set (run through ctest)";
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (geteuid() == 0 && setpriv.isEmpty())
        GTEST_SKIP() << "running as root without setpriv: cannot run as another user";
    QTemporaryDir work;
    const QString dir = work.filePath(QStringLiteral("contest"));
    ASSERT_EQ(runExe({QStringLiteral("--dir"), dir, QStringLiteral("status")}).code, 0);
    const QString data = dir + QStringLiteral("/Data");
    for (const QString &p : {work.path(), dir, data})
        QFile::setPermissions(p, QFileDevice::Permissions(0x7777));
    for (const QString &name : QDir(data).entryList(QDir::Files))
        QFile::setPermissions(data + u'/' + name, QFileDevice::Permissions(0x6666));
    QFile::setPermissions(data + QStringLiteral("/kch.kch"), QFileDevice::Permissions());
    const auto before = snapshotFiles(data);
    QProcess p;
    if (geteuid() == 0)
        p.start(setpriv,
                {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                 QStringLiteral("--clear-groups"), qEnvironmentVariable("KC_EXE"),
                 QStringLiteral("--dir"), dir, QStringLiteral("status")});
    else
        p.start(qEnvironmentVariable("KC_EXE"),
                {QStringLiteral("--dir"), dir, QStringLiteral("status")});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    if (err.contains(QStringLiteral("Permission denied")) && !err.contains(QStringLiteral("kch")))
        GTEST_SKIP() << "the other user cannot run the program here: " << err.toStdString();
    EXPECT_EQ(p.exitCode(), 4) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("kch.kch"))) << err.toStdString();
    EXPECT_EQ(snapshotFiles(data), before);
}

// A first run on a full disk leaves nothing set aside; the next run with room starts cleanly.
TEST(DamagedFolder, FullDiskOnTheFirstRun)
{
    if (qEnvironmentVariable("KC_EXE").isEmpty())
        GTEST_SKIP() << "KC_EXE not set (run through ctest)";
    QTemporaryDir mount;
    QProcess m;
    m.start(QStringLiteral("mount"),
            {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
             QStringLiteral("size=128k"), QStringLiteral("tmpfs"), mount.path()});
    if (!m.waitForFinished(10000) || m.exitCode() != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here: "
                     << m.readAllStandardError().toStdString();
    const std::shared_ptr<void> unmount(
        nullptr, [&](void *) { QProcess::execute(QStringLiteral("umount"), {mount.path()}); });
    const QString filler = mount.filePath(QStringLiteral("filler"));
    writeBytes(filler, QByteArray(100 * 1024, '\0'));
    const QString dir = mount.filePath(QStringLiteral("contest"));
    const CliResult full = runExe({QStringLiteral("--dir"), dir, QStringLiteral("status")});
    EXPECT_EQ(full.code, 4) << full.err.toStdString();
    EXPECT_TRUE(
        QDir(dir + QStringLiteral("/Data")).entryList({QStringLiteral("*broken*")}).isEmpty());
    QFile::remove(filler);
    const CliResult room = runExe({QStringLiteral("--dir"), dir, QStringLiteral("status")});
    EXPECT_EQ(room.code, 0) << room.err.toStdString();
    EXPECT_TRUE(
        QDir(dir + QStringLiteral("/Data")).entryList({QStringLiteral("*broken*")}).isEmpty());
}

// A folder copied from Windows, named in CP932 bytes, opens as itself; without
// --dir, KACHIKOSHI_DIR and HOME no folder is guessed.
TEST(DamagedFolder, TheFolderIsTheOneNamed)
{
    if (qEnvironmentVariable("KC_EXE").isEmpty())
        GTEST_SKIP() << "KC_EXE not set (run through ctest)";
    QTemporaryDir work;
    const QString plain = work.filePath(QStringLiteral("plain"));
    ASSERT_EQ(runExe({QStringLiteral("--dir"), plain, QStringLiteral("demo"),
                      QStringLiteral("--entries"), QStringLiteral("5")})
                  .code,
              0);
    const QByteArray cp932 = work.path().toLocal8Bit() + "/\x83\x65\x83\x58\x83\x67"; // テスト
    ASSERT_EQ(::rename(plain.toLocal8Bit().constData(), cp932.constData()), 0);
    const std::shared_ptr<void> back(
        nullptr, [&](void *) { ::rename(cp932.constData(), plain.toLocal8Bit().constData()); });
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "KACHIKOSHI_DIR"})
        env.remove(QString::fromLatin1(name));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("sh"),
            {QStringLiteral("-c"),
             QStringLiteral(R"sh(exec "$KC_EXE" --dir "$(printf "$1/\203e\203X\203g")" status)sh"),
             QStringLiteral("sh"), work.path()});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput()).contains(u"参加人数: 5"));
    int entries = 0; // no second folder with U+FFFD in its name; Qt cannot list such names
    if (DIR *d = ::opendir(work.path().toLocal8Bit().constData())) {
        while (const dirent *e = ::readdir(d))
            entries += e->d_name[0] != '.';
        ::closedir(d);
    }
    EXPECT_EQ(entries, 1);

    env.remove(QStringLiteral("HOME"));
    const bool rootFolder = QFileInfo::exists(QStringLiteral("/.local/share/KachikoshiCup"));
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("KC_EXE"), {QStringLiteral("status")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(u"KACHIKOSHI_DIR"));
    EXPECT_EQ(QFileInfo::exists(QStringLiteral("/.local/share/KachikoshiCup")), rootFolder);
}
