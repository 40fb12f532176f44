#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QtEndian>
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

enum class After { Unchanged, DatabaseSetAside };

struct Row
{
    const char *name;
    const char *from; // demo: a whole tournament; fresh: nothing decided; registered: one entry
    std::function<std::shared_ptr<void>(const QString &data)> damage;
    QStringList args;
    int exit;
    QString words;
    After after = After::Unchanged;
};

} // namespace

// One row per kind of damage or hostile input: the program says so and exits
// with its status, and no file of the contest changes (a database that is not
// usable is kept aside whole).
TEST(DamagedFolder, EachKindIsReportedAndLosesNothing)
{
    if (qEnvironmentVariable("KC_EXE").isEmpty())
        GTEST_SKIP() << "KC_EXE not set (run through ctest)";
    QTemporaryDir templates;
    const QString demo = templates.filePath(QStringLiteral("demo"));
    const QString fresh = templates.filePath(QStringLiteral("fresh"));
    ASSERT_EQ(
        runExe({QStringLiteral("--dir"), demo, QStringLiteral("demo"), QStringLiteral("--entries"),
                QStringLiteral("5"), QStringLiteral("--seed"), QStringLiteral("3")})
            .code,
        0);
    ASSERT_EQ(runExe({QStringLiteral("--dir"), fresh, QStringLiteral("status")}).code, 0);
    const QString registered = templates.filePath(QStringLiteral("registered"));
    ASSERT_EQ(runExe({QStringLiteral("--dir"), registered, QStringLiteral("--yes"),
                      QStringLiteral("rules"), QStringLiteral("decide")})
                  .code,
              0);
    ASSERT_EQ(runExe({QStringLiteral("--dir"), registered, QStringLiteral("entry"),
                      QStringLiteral("add"), QStringLiteral("--shikona"), QStringLiteral("一郎"),
                      QStringLiteral("--picks"), QStringLiteral("20,21,22,23,24,25,26"),
                      QStringLiteral("--reserve"), QStringLiteral("30")})
                  .code,
              0);
    const QMap<QString, QString> templateDirs {{QStringLiteral("demo"), demo},
                                               {QStringLiteral("fresh"), fresh},
                                               {QStringLiteral("registered"), registered}};
    const auto none = [](const QString &) { return std::shared_ptr<void>(); };
    const QString fifo = templates.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString status = QStringLiteral("status");

    const std::vector<Row> rows = {
        {"lock left by a stopped copy",
         "demo",
         [](const QString &d) {
             writeBytes(d + QStringLiteral("/kachikoshi.lock"), "12345\nkachikoshi\n");
             return std::shared_ptr<void>();
         },
         {status},
         0,
         QString()},
        {"lock held by a running copy",
         "demo",
         [](const QString &d) {
             auto lock = std::make_shared<QLockFile>(d + QStringLiteral("/kachikoshi.lock"));
             EXPECT_TRUE(lock->tryLock(0));
             return std::shared_ptr<void>(lock);
         },
         {status},
         4,
         QStringLiteral("使用中")},
        {"database busy in another program",
         "demo",
         [](const QString &d) { return busyDatabase(d + QStringLiteral("/kch.kch")); },
         {status},
         4,
         QStringLiteral("使用中")},
        {"table without one of its columns",
         "demo",
         [](const QString &d) {
             sqlite(d + QStringLiteral("/kch.kch"),
                    QStringLiteral("ALTER TABLE PRIZE DROP COLUMN しこな"));
             return std::shared_ptr<void>();
         },
         {status},
         0,
         QStringLiteral("PRIZE"),
         After::DatabaseSetAside},
        {"Entry.Dat shorter than the table",
         "demo",
         [](const QString &d) {
             QFile::resize(d + QStringLiteral("/Entry.Dat"), 752 * 3);
             return std::shared_ptr<void>();
         },
         {status},
         4,
         QStringLiteral("Entry.Dat が壊れています")},
        {"a contest without Credit.Dat",
         "demo",
         [](const QString &d) {
             QFile::remove(d + QStringLiteral("/Credit.Dat"));
             return std::shared_ptr<void>();
         },
         {status},
         4,
         QStringLiteral("Credit.Dat がありません")},
        {"perfect-day count beyond Perfect.Dat",
         "demo",
         [](const QString &d) {
             patchI16(d + QStringLiteral("/Record.Dat"), 242, 32767);
             return std::shared_ptr<void>();
         },
         {status},
         4,
         QStringLiteral("Record.Dat")},
        {"a pick outside the roster",
         "demo",
         [](const QString &d) {
             patchI16(d + QStringLiteral("/Entry.Dat"), 752 + 146, 41);
             return std::shared_ptr<void>();
         },
         {status},
         4,
         QStringLiteral("Entry.Dat")},
        {"a file that cannot be replaced at the commit",
         "registered",
         [](const QString &d) {
             QFile::remove(d + QStringLiteral("/Entry.Bak"));
             QDir(d).mkdir(QStringLiteral("Entry.Bak"));
             return std::shared_ptr<void>();
         },
         {QStringLiteral("--yes"), QStringLiteral("reception"), QStringLiteral("close")},
         4,
         QStringLiteral("Entry.Bak")},
        {"a device as banzuke file",
         "fresh",
         none,
         {QStringLiteral("banzuke"), QStringLiteral("set"), QStringLiteral("/dev/zero")},
         1,
         QStringLiteral("普通のファイルではありません")},
        {"a pipe as banzuke file",
         "fresh",
         none,
         {QStringLiteral("banzuke"), QStringLiteral("set"), fifo},
         1,
         QStringLiteral("普通のファイルではありません")},
        {"a pipe as application file",
         "registered",
         none,
         {QStringLiteral("entry"), QStringLiteral("import-csv"), fifo},
         1,
         QStringLiteral("普通のファイルではありません")},
        {"a device as day result file",
         "demo",
         none,
         {QStringLiteral("result"), QStringLiteral("import"), QStringLiteral("/dev/zero"),
          QStringLiteral("1")},
         1,
         QStringLiteral("普通のファイルではありません")},
        {"bonus that overflows a score",
         "fresh",
         none,
         {QStringLiteral("rules"), QStringLiteral("set"), QStringLiteral("GoldStarBonus=30000")},
         1,
         QStringLiteral("32767")},
        {"text the files cannot hold",
         "fresh",
         none,
         {QStringLiteral("prizes"), QStringLiteral("set"), QStringLiteral("rank.1=1,優勝😀,1000")},
         1,
         QStringLiteral("U+1F600")},
        {"rename restore answered no",
         "demo",
         none,
         {QStringLiteral("rename"), QStringLiteral("restore")},
         3,
         QStringLiteral("既定の番付")},
        {"empty --dir",
         "demo",
         none,
         {QStringLiteral("--dir="), status},
         2,
         QStringLiteral("--dir")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir work;
        const QString dir = work.filePath(QStringLiteral("contest"));
        copyTree(templateDirs[QString::fromLatin1(row.from)], dir);
        const QString data = dir + QStringLiteral("/Data");
        const std::shared_ptr<void> held = row.damage(data);
        const auto before = snapshotFiles(data);
        const CliResult r = runExe(QStringList {QStringLiteral("--dir"), dir} + row.args);
        EXPECT_EQ(r.code, row.exit) << r.err.toStdString();
        EXPECT_TRUE(QString(r.out + r.err).contains(row.words)) << r.err.toStdString();
        auto after = snapshotFiles(data);
        if (row.after == After::DatabaseSetAside) {
            const QStringList aside = QDir(data).entryList({QStringLiteral("kch.kch.broken-*")});
            ASSERT_EQ(aside.size(), 1);
            EXPECT_EQ(after.take(aside[0]), before[QStringLiteral("kch.kch")]);
            after.insert(QStringLiteral("kch.kch"), before[QStringLiteral("kch.kch")]);
        }
        EXPECT_EQ(after, before);
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
