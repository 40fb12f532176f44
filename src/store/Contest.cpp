#include "store/Contest.h"
#include "store/ContestLoader.h"
#include "store/EntryTable.h"
#include "store/Phase.h"

#include "store/RecordFile.h"
#include "store/StoreError.h"
#include "store/Text.h"
#include "store/UnitOfWork.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kc {

QString badDataMessage(const QString &path, const QString &detail)
{
    return QStringLiteral(
               "ファイル %1 の内容が正しくありません（%2）。ファイルは変更していません。")
        .arg(QFileInfo(path).fileName(), detail);
}

Contest::Contest(const QString &rootDir, Prompter &prompter, std::unique_ptr<FileStore> files)
    : m_paths(rootDir), m_prompter(&prompter),
      m_disk(files ? std::move(files) : std::make_unique<DiskFileStore>())
{
    m_files = std::make_unique<Journal>(*m_disk, m_db, m_paths.data);
    m_roster.installDefault();
    m_roster.takeInitialNames();
    m_rules = RulesRecord::firstRunDefaults();
    m_daily = DailyRecords::firstRunDefaults();
}

Contest::~Contest()
{
    if (m_open) {
        try {
            close(false);
        } catch (...) {
        }
    }
}

void Contest::clearForeignLock()
{
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(m_paths.lock);
    struct stat st;
    if (::lstat(path.constData(), &st) != 0)
        return;
    const bool regular = S_ISREG(st.st_mode);
    if (regular) {
        // A running copy holds the native lock of its lock file; only then is it in use.
        const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
            ::close(fd);
            if (held)
                return; // QLockFile refuses it below
            // Readable and free: QLockFile takes it over itself.
            if (::access(path.constData(), R_OK | W_OK) == 0)
                return;
        }
    }
    // What is in the lock's place is no running copy's lock (a copy makes a
    // plain file and never leaves a pipe, a link or a folder): it goes, and
    // when it cannot, the organiser is told what to do.
    const int failed = S_ISDIR(st.st_mode) ? ::rmdir(path.constData()) : ::unlink(path.constData());
    if (failed == 0)
        return;
    const int why = errno;
    const QString kind = regular ? QStringLiteral("このプログラムが開けないロックファイル")
        : S_ISDIR(st.st_mode)  ? QStringLiteral("空でないフォルダ")
        : S_ISLNK(st.st_mode)  ? QStringLiteral("シンボリックリンク")
        : S_ISFIFO(st.st_mode) ? QStringLiteral("名前付きパイプ")
                               : QStringLiteral("普通のファイルでないもの");
    throw StoreError(QStringLiteral("%1 は%2で、削除できません（%3）。Kachikoshi Cup が動いていない"
                                    "ことを確かめてから、これを削除してください（所有者が別の"
                                    "ユーザーなら sudo rm など）。何も変更していません。")
                         .arg(QDir::toNativeSeparators(m_paths.lock), kind,
                              QString::fromLocal8Bit(std::strerror(why))),
                     m_paths.lock);
#endif
}

void Contest::removeLeftovers()
{
    // Only what this program's own interrupted writes leave: the lock takeover's
    // file and the temporary file of a page (name.html.XXXXXX), never a link.
    const auto removeIfPlain = [](const QString &path) {
        const QFileInfo f(path);
        if (f.isFile() && !f.isSymLink())
            QFile::remove(path);
    };
    removeIfPlain(m_paths.lock + QStringLiteral(".rmlock"));
    static const QRegularExpression temporary(QStringLiteral("^.+\\.html\\.[A-Za-z0-9]{6}$"));
    static const QRegularExpression word(QStringLiteral("^(?:[a-z]{6}|[A-Z]{6})$"));
    for (const QString &name : QDir(m_paths.html).entryList(QDir::Files | QDir::Hidden)) {
        // A name that reads as a word ("Result.html.backup") is the organiser's.
        if (temporary.match(name).hasMatch() && !word.match(name.right(6)).hasMatch())
            removeIfPlain(m_paths.html + u'/' + name);
    }
}

void Contest::lockFolder()
{
    if (!QDir().mkpath(m_paths.data))
        throw StoreError(QStringLiteral("フォルダ %1 を作成できません。")
                             .arg(QDir::toNativeSeparators(m_paths.data)),
                         m_paths.data);
    clearForeignLock();
    m_lock = std::make_unique<QLockFile>(m_paths.lock);
    m_lock->setStaleLockTime(0);
    bool locked = m_lock->tryLock(0);
    // A running copy holds a native lock on the file for as long as it runs;
    // without one the file is left over from a stop, whatever it holds, and
    // removeStaleLockFile() takes it only in that case.
    if (!locked && m_lock->error() == QLockFile::LockFailedError && m_lock->removeStaleLockFile())
        locked = m_lock->tryLock(0);
    if (locked) {
        removeLeftovers();
        return;
    }
    const QLockFile::LockError error = m_lock->error();
    m_lock.reset();
    if (error == QLockFile::LockFailedError)
        throw StoreError(QStringLiteral("このコンテストフォルダ（%1）は、別に起動している "
                                        "Kachikoshi Cup が使用中です。")
                             .arg(QDir::toNativeSeparators(m_paths.root)),
                         m_paths.lock);
    QString why;
    const QStorageInfo disk(m_paths.data);
    if (QFileInfo(m_paths.lock).isDir())
        why = QStringLiteral("%1 という名前のフォルダがあります")
                  .arg(QFileInfo(m_paths.lock).fileName());
    else if (disk.isValid() && disk.isReadOnly())
        why = QStringLiteral("読み取り専用のディスクです");
    else if (!QFileInfo(m_paths.data).isWritable())
        why = QStringLiteral("フォルダに書き込む権限がありません");
    else if (disk.isValid() && disk.bytesAvailable() < 4096)
        why = QStringLiteral("ディスクに空きがありません");
    else
        why = QStringLiteral("原因不明のエラー");
    throw StoreError(QStringLiteral("フォルダ %1 をロックできません（%2）。何も変更していません。")
                         .arg(QDir::toNativeSeparators(m_paths.data), why),
                     m_paths.lock);
}

void Contest::loadRoster()
{
    m_roster = ContestLoader(*this).readRoster();
}

std::vector<RenameRecord> Contest::readRenames() const
{
    return ContestLoader::readRenames(m_paths, *m_files);
}

DailyRecords Contest::readDaily() const
{
    return ContestLoader::readDaily(m_paths, *m_files);
}

void Contest::loadDaily()
{
    m_daily = readDaily();
}

void Contest::convertLegacyEntries()
{
    m_entries = kc::convertLegacyEntries(*this, m_rules.pickCount, m_roster);
}

void Contest::open(const StartupRepairs &repairs)
{
    if (m_open)
        return;
    m_startupNotes.clear();
    lockFolder();
    try {
        // The database first: it says whether a half-done action is to be
        // finished or undone, and that happens before any file is read.
        m_startupNotes << openContestDatabase(m_db, m_paths.database);
        recoverJournal(true);
        loadAll();
        if (repairs)
            m_startupNotes << repairs(*this);
        m_entryTable = std::make_unique<RecordSet>(m_db, entrytable::name);
        m_entryTable->setSort(entrytable::byRank);
        m_entryTable->moveFirst();
    } catch (...) {
        while (m_files->depth() > 0)
            m_files->abandon();
        m_entryTable.reset();
        m_db.close();
        m_lock.reset();
        throw;
    }
    m_open = true;
    tellStartupNotes();
    try {
        m_files->forget();
    } catch (const StoreError &) {
        // Tried again before the next write.
    }
}

void Contest::recoverJournal(bool atStartUp)
{
    const bool interrupted = m_files->interrupted();
    const Journal::Recovery r = m_files->recover(true);
    if (!atStartUp) {
        // The front end has shown the failure; the action is done after all.
        if (r.finished && interrupted)
            m_startupNotes << QStringLiteral("直前の処理は書き込みの途中で失敗しましたが、"
                                             "記録が残っていたため最後まで行いました。");
        return;
    }
    if (r.finished)
        m_startupNotes << QStringLiteral("前回、処理の途中でプログラムが終了していたため、"
                                         "その処理を最後まで行いました。");
    if (r.undone)
        m_startupNotes << QStringLiteral("前回、処理の途中でプログラムが終了していたため、"
                                         "その処理を取り消し、処理の前の状態に戻しました。");
}

void Contest::loadAll()
{
    LoadedContest loaded = ContestLoader(*this).load();
    m_rules = std::move(loaded.state.rules);
    m_daily = std::move(loaded.state.daily);
    m_roster = std::move(loaded.state.roster);
    m_entries = std::move(loaded.state.entries);
    m_startupNotes << loaded.notes;
}

void Contest::tellStartupNotes()
{
    if (!m_startupNotes.isEmpty())
        m_prompter->tell(
            {m_startupNotes.join(u'\n'), QStringLiteral("Kachikoshi Cup"), Icon::Warning});
}

void Contest::reload()
{
    if (!m_open)
        return;
    // A unit still open here belongs to the failed action.
    while (m_files->depth() > 0)
        m_files->abandon();
    m_startupNotes.clear();
    recoverJournal(false);
    loadAll();
    reopenEntryTable();
    tellStartupNotes();
    m_files->forget();
}

void Contest::close(bool saveRulesFirst)
{
    if (!m_open)
        return;
    // A unit still open here never committed: its changes are dropped.
    while (m_files->depth() > 0)
        m_files->abandon();
    if (saveRulesFirst)
        saveRules();
    if (m_entryTable && !m_entryTable->isEmpty())
        m_entryTable->moveFirst();
    m_entryTable.reset();
    m_db.close();
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
    m_open = false;
}

void Contest::saveRules()
{
    recordfile::writeAll<RulesRecord>(*m_files, m_paths.credit, std::vector<RulesRecord> {m_rules});
}

void Contest::saveDaily()
{
    recordfile::writeAll<DailyRecords>(*m_files, m_paths.record,
                                       std::vector<DailyRecords> {m_daily});
}

void Contest::saveEntries()
{
    recordfile::writeAll<EntryRecord>(*m_files, m_paths.entry, m_entries);
}

void Contest::saveEntryRecord(int k)
{
    const EntryRecord e
        = (k >= 0 && k < participantCount()) ? m_entries[k] : EntryRecord::cleared();
    recordfile::writeOne<EntryRecord>(*m_files, m_paths.entry, k + 1, e);
}

void Contest::saveWrestlers()
{
    const int n = std::clamp(m_roster.wrestlerCount, 0, kRosterSlots);
    recordfile::writeAll<WrestlerRecord>(
        *m_files, m_paths.rikishi,
        std::vector<WrestlerRecord>(m_roster.wrestlers.begin(), m_roster.wrestlers.begin() + n));
}

void Contest::restore(ContestState state)
{
    m_rules = std::move(state.rules);
    m_daily = std::move(state.daily);
    m_roster = std::move(state.roster);
    m_entries = std::move(state.entries);
    if (m_open)
        reopenEntryTable();
}

void Contest::reopenEntryTable()
{
    const QString sort = m_entryTable ? m_entryTable->sort() : entrytable::byRank;
    m_entryTable = std::make_unique<RecordSet>(m_db, entrytable::name);
    m_entryTable->setSort(sort);
    m_entryTable->moveFirst();
}

void Contest::rebuildEntryTable()
{
    entrytable::rebuild(*this);
    if (m_entryTable)
        reopenEntryTable();
}

void Contest::resetDailyRecords()
{
    m_daily = DailyRecords::resetValues();
    saveDaily();
}

bool Contest::reset()
{
    const Question q {
        QStringLiteral("初期化を行うと、全てのデータが消去されます。よろしいですか。"), QString(),
        Icon::Warning, true};
    if (!m_prompter->ask(q))
        return false;
    UnitOfWork work(*this);
    if (m_files->exists(m_paths.credit)) {
        Phase::reset(m_rules);
        m_rules.currentDay = 0;
        resetDailyRecords();
        saveRules();
    }
    for (const QString &p :
         {m_paths.entry, m_paths.entryCsv, m_paths.rikishi, m_paths.perfect, m_paths.banzuke})
        m_files->remove(p);
    // The Latin names that came with a downloaded banzuke go with it.
    m_files->remove(m_paths.data + QStringLiteral("/ShikonaEn.txt"));
    loadRoster();
    for (auto &s : m_roster.wrestlers)
        s.dayResult.fill(0);
    m_db.deleteAll(entrytable::name);
    m_db.deleteAll(QStringLiteral("PRIZE"));
    work.commit();
    m_entries.clear();
    reopenEntryTable();
    return true;
}

} // namespace kc
