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

// What a row does to the folder before the run; `file` is in Data/, or for
// Shell a command run in the contest folder, or for Manifest the file named
// by a committed manifest.
// clang-format off
enum class Damage { None, Lock, LiveLock, BusyDatabase, DropColumn, Resize, Remove, Patch, Folder, Shell, Manifest };
// clang-format on
enum class After { Unchanged, DatabaseSetAside, Changed };

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
    const char *check = nullptr; // a command that must succeed in the contest folder afterwards
};

int shell(const QString &data, const char *script)
{
    return QProcess::execute(QStringLiteral("sh"),
                             {QStringLiteral("-ec"),
                              QStringLiteral("cd \"$0\"/..; ") + QString::fromUtf8(script), data});
}

// A manifest as a stopped run leaves it, its id committed.
void plantManifest(const QString &data, const QString &name)
{
    const QString id = QStringLiteral("00000000-0000-4000-8000-000000000001");
    QByteArray b;
    QDataStream out(&b, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << quint32(0x4b434a31) << quint32(1) << id << quint32(1) << name << true << QByteArray("x");
    QDir().mkpath(data + QStringLiteral("/.journal"));
    writeBytes(data + QStringLiteral("/.journal/") + id + QStringLiteral(".kcj"),
               b + QCryptographicHash::hash(b, QCryptographicHash::Sha256));
    sqlite(data + QStringLiteral("/kch.kch"),
           QStringLiteral("INSERT INTO kc_journal VALUES ('%1')").arg(id));
}

// Damages the folder; what it returns (a lock, another program) lives through the run.
std::shared_ptr<void> apply(const Row &row, const QString &data)
{
    const QString path = data + u'/' + QString::fromUtf8(row.file);
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
    case Damage::Patch: {
        QByteArray bytes = readBytes(path);
        setI16(bytes, row.offset, qint16(row.value));
        writeBytes(path, bytes);
        break;
    }
    case Damage::Folder:
        QFile::remove(path);
        QDir().mkdir(path);
        break;
    case Damage::Shell:
        EXPECT_EQ(shell(data, row.file), 0);
        break;
    case Damage::Manifest:
        plantManifest(data,
                      QString::fromUtf8(row.file).replace(QStringLiteral("WORK"),
                                                          data + QStringLiteral("/../..")));
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
    KC_SKIP_WITHOUT_EXE();
    QTemporaryDir templates;
    const auto words = [](const char *s) { return QString::fromUtf8(s).split(u' '); };
    const QMap<QString, QString> from {
        {QStringLiteral("demo"),
         makeTemplate(templates.filePath(QStringLiteral("demo")),
                      {words("demo --entries 5 --seed 3")})},
        {QStringLiteral("restarted"),
         makeTemplate(templates.filePath(QStringLiteral("restarted")),
                      {words("demo --entries 5 --seed 3"), words("result restart")})},
        {QStringLiteral("decided"),
         makeTemplate(templates.filePath(QStringLiteral("decided")), {words("rules decide")})},
        {QStringLiteral("fresh"),
         makeTemplate(templates.filePath(QStringLiteral("fresh")), {words("status")})},
        {QStringLiteral("registered"),
         makeTemplate(
             templates.filePath(QStringLiteral("registered")),
             {words("rules decide"),
              words("entry add --shikona 一郎 --picks 20,21,22,23,24,25,26 --reserve 30")})}};
    const QString fifo = templates.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);

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
        {"a blank ring name in an application file", "registered", Damage::Shell, "echo '　,,,,,,,20,21,22,23,24,25,26,30' > ../a.csv", 0, 0, "entry import-csv WORK/a.csv", 1, "四股名がありません"},
        {"a nameless record in Ranking.Dat", "decided", Damage::Shell, "cp Data/Entry.Dat Data/Ranking.Dat", 0, 0, "--yes entry import ranking", 1, "レコード 1 に四股名がない"},
        {"a record without a name opens, named", "demo", Damage::Shell, "printf '%16s' '' | dd of=Data/Entry.Dat bs=1 seek=752 conv=notrunc status=none", 0, 0, "status", 0, "レコード 2（ID 101）"},
        {"a pick outside every slot opens, named", "demo", Damage::Patch, "Entry.Dat", 752 + 146, 1000, "status", 0, "レコード 2（ID 101）"},
        {"a record without a name is mended", "registered", Damage::Shell, "printf '%16s' '' | dd of=Data/Entry.Dat bs=1 conv=notrunc status=none", 0, 0, "entry update 100 --shikona 直し", 0, "", After::Changed},
        {"lock: a named pipe", "demo", Damage::Shell, "mkfifo Data/kachikoshi.lock", 0, 0, "status", 0, ""},
        {"lock: a link to nothing", "demo", Damage::Shell, "ln -s ../missing Data/kachikoshi.lock", 0, 0, "status", 0, ""},
        {"lock: an empty folder", "demo", Damage::Folder, "kachikoshi.lock", 0, 0, "status", 0, ""},
        {"lock: a read-only file", "demo", Damage::Shell, "echo 1 > Data/kachikoshi.lock; chmod 444 Data/kachikoshi.lock", 0, 0, "status", 0, ""},
        {"lock: a folder that cannot go", "demo", Damage::Shell, "mkdir -p Data/kachikoshi.lock/x", 0, 0, "status", 4, "削除してください"},
        {"manifest writing above the folder", "demo", Damage::Manifest, "../escaped.txt", 0, 0, "status", 4, "Data と html の外"},
        {"manifest writing an absolute path", "demo", Damage::Manifest, "WORK/escaped.txt", 0, 0, "status", 4, "Data と html の外"},
        {"a page linked outside", "demo", Damage::Shell, "ln -sf ../../outside.txt html/Result.html", 0, 0, "publish", 4, "シンボリックリンク"},
        {"a CSV file linked outside", "demo", Damage::Shell, "ln -s ../../outside.txt Data/Entry.Csv", 0, 0, "export entry", 4, "シンボリックリンク"},
        {"html/ itself a link stays allowed", "demo", Damage::Shell, "mv html ../web; ln -s ../web html", 0, 0, "publish", 0, ""},
        {"a link to nothing fails the pre-commit check", "restarted", Damage::Shell, "ln -sf ../missing Data/Record.Dat", 0, 0, "--yes result confirm 1", 4, "シンボリックリンク"},
        {"rename to a name on the roster", "demo", Damage::None, "", 0, 0, "--yes rename 25=武蔵丸", 1, "重なっています"},
        {"a refused start keeps a dangling database link", "demo", Damage::Shell, "ln -sf ../missing Data/kch.kch", 0, 0, "status", 4, "kch.kch"},
        {"leftovers of interrupted writes go, nothing else", "demo", Damage::Shell, "cd html; touch Result.html.Ab3dE9 Result.html.backup ../Data/kachikoshi.lock.rmlock", 0, 0, "status", 0, "", After::Changed, "cd html; test -e Result.html.backup; test ! -e Result.html.Ab3dE9; test ! -e ../Data/kachikoshi.lock.rmlock"},
        {"a second repair keeps the first copy", "demo", Damage::Shell, "echo 1 > Data/Entry.Dat.damaged; truncate -s 2256 Data/Entry.Dat; cp Data/Entry.Dat ../cut", 0, 0, "--yes status", 0, "Entry.Dat.damaged-2", After::Changed, "cd Data; echo 1 | cmp Entry.Dat.damaged; cmp Entry.Dat.damaged-2 ../../cut"},
        {"a day written as a string", "restarted", Damage::Shell, R"(echo '[{"day":"1","eastShikona":"武蔵丸","westShikona":"貴乃花","winnerJp":"武蔵丸"}]' > ../d.json)", 0, 0, "result import WORK/d.json 1", 0, "", After::Changed},
        {"a day that is no number", "restarted", Damage::Shell, R"(echo '[{"day":"x","eastShikona":"武蔵丸","westShikona":"貴乃花","winnerJp":"武蔵丸"}]' > ../d.json)", 0, 0, "result import WORK/d.json 1", 1, "1～15"},
        {"a folder named in CP932 bytes (テスト) opens as itself", "demo", Damage::None, "", 0, 0, "status", 0, "", After::Unchanged, R"sh(cd ..; d="$(printf '\203e\203X\203g')"; mv contest "$d"; "$KC_EXE" --dir "$d" status | grep -q '参加人数: 5'; mv "$d" contest; test "$(ls)" = "$(printf 'contest\noutside.txt')")sh"},
        {"without --dir, KACHIKOSHI_DIR and HOME no folder is guessed", "demo", Damage::None, "", 0, 0, "status", 0, "", After::Unchanged, R"sh(a="$(ls -d /.local/share/* 2>/dev/null || true)"; r="$(env -u HOME -u KACHIKOSHI_DIR "$KC_EXE" status 2>&1 || echo "exit $?")"; case "$r" in *KACHIKOSHI_DIR*"exit 2") ;; *) exit 1;; esac; test "$a" = "$(ls -d /.local/share/* 2>/dev/null || true)")sh"},
    };
    // clang-format on
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir work;
        const QString dir = work.filePath(QStringLiteral("contest"));
        copyTree(from[QString::fromLatin1(row.from)], dir);
        const QString data = dir + QStringLiteral("/Data");
        writeBytes(work.filePath(QStringLiteral("outside.txt")), "outside");
        const std::shared_ptr<void> held = apply(row, data);
        const auto before = snapshotFiles(data);
        const auto list = [](const QString &d) {
            return QDir(d).entryList(QDir::AllEntries | QDir::System | QDir::Hidden);
        };
        const QStringList dataBefore = list(data), outsideBefore = list(work.path());
        QStringList args = QString::fromUtf8(row.args).split(u' ');
        for (QString &a : args)
            a.replace(QStringLiteral("FIFO"), fifo)
                .replace(QStringLiteral("WORK"), work.path())
                .replace(QStringLiteral("CUT"), QString(16, u' ') + QStringLiteral("太郎"))
                .replace(QStringLiteral("SP"), QStringLiteral(" "));
        const CliResult r = runExe(QStringList {QStringLiteral("--dir"), dir} + args);
        // Nothing outside the folder is touched; a refusal keeps even a dangling link.
        EXPECT_EQ(list(work.path()), outsideBefore);
        EXPECT_EQ(readBytes(work.filePath(QStringLiteral("outside.txt"))), "outside");
        EXPECT_TRUE(row.exit == 0 || list(data) == dataBefore);
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
        EXPECT_TRUE(!row.check || shell(data, row.check) == 0) << row.check;
        EXPECT_EQ(row.after == After::Changed ? before : after, before);
    }
}

// Permissions do not hold back root, so the run is made as another user.
TEST(DamagedFolder, UnreadableDatabaseIsLeftAlone)
{
    KC_SKIP_WITHOUT_EXE();
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
    KC_SKIP_WITHOUT_EXE();
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
