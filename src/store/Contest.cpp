#include "store/Contest.h"
#include "store/EntryTable.h"
#include "store/Phase.h"

#include "store/RecordFile.h"
#include "store/StoreError.h"
#include "store/Text.h"
#include "store/UnitOfWork.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace kc {

namespace {
const QString kLegacyMessage
    = QStringLiteral(" ﾌｧｲﾙ形式のﾊﾞｰｼﾞｮﾝが旧ﾀｲﾌﾟとなっていますので、変換いたします。");

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

bool validWrestler(int v)
{
    return v >= 0 && v <= kNoWrestler;
}
} // namespace

bool isLegacyEntryLength(qint64 length, int count)
{
    return count >= 1 && length >= 0 && qAbs(length - qint64(count) * LegacyEntryRecord::Size) < 20
        && length != qint64(count) * EntryRecord::Size;
}

QString badDataMessage(const QString &path, const QString &detail)
{
    return QStringLiteral(
               "ファイル %1 の内容が正しくありません（%2）。ファイルは変更していません。")
        .arg(fileName(path), detail);
}

namespace {
// A fixed-size file of the wrong length is refused whole, naming the file.
void requireLength(const QString &path, qsizetype actual, int expected)
{
    if (actual != expected)
        throw StoreError(
            badDataMessage(
                path,
                QStringLiteral("長さ %1 バイト、正しくは %2 バイト").arg(actual).arg(expected)),
            path);
}
} // namespace

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

void Contest::lockFolder()
{
    if (!QDir().mkpath(m_paths.data))
        throw StoreError(QStringLiteral("フォルダ %1 を作成できません。")
                             .arg(QDir::toNativeSeparators(m_paths.data)),
                         m_paths.data);
    m_lock = std::make_unique<QLockFile>(m_paths.lock);
    m_lock->setStaleLockTime(0);
    bool locked = m_lock->tryLock(0);
    // A running copy holds a native lock on the file for as long as it runs;
    // without one the file is left over from a stop, whatever it holds, and
    // removeStaleLockFile() takes it only in that case.
    if (!locked && m_lock->error() == QLockFile::LockFailedError && m_lock->removeStaleLockFile())
        locked = m_lock->tryLock(0);
    if (locked)
        return;
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

void Contest::validateRules(const RulesRecord &r) const
{
    auto bad = [&](const QString &detail) {
        throw StoreError(badDataMessage(m_paths.credit, detail), m_paths.credit);
    };
    if (r.pickCount < 0 || r.pickCount > kMaxPicks)
        bad(QStringLiteral("選択力士数 %1").arg(r.pickCount));
    if (r.currentDay < 0 || r.currentDay > kDays)
        bad(QStringLiteral("確定日数 %1").arg(r.currentDay));
    if (!Phase::isStoredFlag(r.flag))
        bad(QStringLiteral("フラグ %1").arg(r.flag));
    if (r.rulesStart < 0 || r.rulesStart > 1)
        bad(QStringLiteral("RulesStart %1").arg(r.rulesStart));
}

void Contest::validateEntry(const EntryRecord &e, int recordNumber, const QString &path,
                            bool inRoster) const
{
    // A participant's wrestler number points into the roster, or is the empty slot.
    auto check = [&](int v, const QString &what) {
        if (!validWrestler(v) || (inRoster && v != kNoWrestler && v >= m_roster.wrestlerCount))
            throw StoreError(
                badDataMessage(
                    path, QStringLiteral("レコード %1 の%2 %3").arg(recordNumber).arg(what).arg(v)),
                path);
    };
    for (int i = 0; i < kMaxPicks; ++i) {
        check(e.picks[i], QStringLiteral("選択力士"));
        check(e.enteredPicks[i], QStringLiteral("登録力士"));
        check(e.reserveList[i], QStringLiteral("補充力士"));
    }
    check(e.reserve, QStringLiteral("予備力士"));
}

void Contest::loadRoster()
{
    m_roster.installDefault();
    if (const auto bytes = m_files->read(m_paths.banzuke)) {
        requireLength(m_paths.banzuke, bytes->size(), BanzukeRecord::Size);
        const BanzukeRecord b = BanzukeRecord::decode(*bytes);
        if (b.wrestlerCount < 1 || b.wrestlerCount > kMaxWrestlers)
            throw StoreError(badDataMessage(m_paths.banzuke,
                                            QStringLiteral("力士数 %1、1～%2 名のはず")
                                                .arg(b.wrestlerCount)
                                                .arg(kMaxWrestlers)),
                             m_paths.banzuke);
        for (int i = 0; i < b.wrestlerCount; ++i)
            if (b.rankCodes[i] < 0 || b.rankCodes[i] > 4)
                throw StoreError(
                    badDataMessage(
                        m_paths.banzuke,
                        QStringLiteral("力士 %1 の地位 %2").arg(i + 10).arg(b.rankCodes[i])),
                    m_paths.banzuke);
        m_roster.loadBanzuke(b);
    }
    m_roster.takeInitialNames();
    m_roster.applyRenames(readRenames());
}

std::vector<RenameRecord> Contest::readRenames() const
{
    const auto bytes = m_files->read(m_paths.rename);
    std::vector<RenameRecord> out;
    if (!bytes)
        return out;
    // A final partial record is ignored: the list ends at its first empty name anyway.
    const int n = int(std::min<qsizetype>(bytes->size() / RenameRecord::Size, 200));
    for (int i = 0; i < n; ++i)
        out.push_back(RenameRecord::decode(
            bytes->mid(qsizetype(i) * RenameRecord::Size, RenameRecord::Size)));
    return out;
}

void Contest::loadWrestlerResults()
{
    const auto bytes = m_files->read(m_paths.rikishi);
    if (!bytes)
        return;
    const int count = m_roster.wrestlerCount;
    if (bytes->size() % WrestlerRecord::Size != 0)
        throw StoreError(
            badDataMessage(
                m_paths.rikishi,
                QStringLiteral("長さ %1 バイトは %2 バイトのレコードの並びではありません")
                    .arg(bytes->size())
                    .arg(WrestlerRecord::Size)),
            m_paths.rikishi);
    if (bytes->size() < qint64(count) * WrestlerRecord::Size)
        throw StoreError(badDataMessage(m_paths.rikishi,
                                        QStringLiteral("%1 名分しかなく、%2 名分に足りません")
                                            .arg(bytes->size() / WrestlerRecord::Size)
                                            .arg(count)),
                         m_paths.rikishi);
    std::vector<WrestlerRecord> records;
    for (int i = 0; i < count; ++i) {
        WrestlerRecord w = WrestlerRecord::decode(
            bytes->mid(qsizetype(i) * WrestlerRecord::Size, WrestlerRecord::Size));
        if (w.rankCode < 0 || w.rankCode > 4)
            throw StoreError(
                badDataMessage(m_paths.rikishi,
                               QStringLiteral("レコード %1 の地位 %2").arg(i + 1).arg(w.rankCode)),
                m_paths.rikishi);
        for (int d = 0; d < kDays; ++d)
            if (w.dayResult[d] < 0 || w.dayResult[d] > MarkAbsentLater)
                throw StoreError(badDataMessage(m_paths.rikishi,
                                                QStringLiteral("レコード %1 の%2日目の結果 %3")
                                                    .arg(i + 1)
                                                    .arg(d + 1)
                                                    .arg(w.dayResult[d])),
                                 m_paths.rikishi);
        records.push_back(w);
    }
    for (int i = 0; i < count; ++i)
        m_roster.wrestlers[i] = records[i];
}

void Contest::loadRulesAndDaily()
{
    const auto credit = m_files->read(m_paths.credit);
    if (!credit) {
        // The first run is for a folder without a contest: one that holds a
        // contest has lost its Credit.Dat, and defaults would overwrite it.
        QStringList held;
        for (const QString &p : {m_paths.record, m_paths.entry, m_paths.rikishi, m_paths.perfect,
                                 m_paths.banzuke, m_paths.rename})
            if (QFileInfo::exists(p))
                held << fileName(p);
        if (m_db.rowCount(QStringLiteral("entry00")) > 0
            || m_db.rowCount(QStringLiteral("PRIZE")) > 0)
            held << fileName(m_paths.database);
        if (!held.isEmpty())
            throw StoreError(
                QStringLiteral(
                    "ファイル %1 がありません。このフォルダにはコンテストのデータ（%2）が"
                    "あるため、新しいコンテストとして始めることはしません。"
                    "%1 をバックアップから戻してください。何も変更していません。")
                    .arg(fileName(m_paths.credit), held.join(QStringLiteral("、"))),
                m_paths.credit);
        // First run: the defaults, written at once.
        m_rules = RulesRecord::firstRunDefaults();
        m_daily = DailyRecords::firstRunDefaults();
        UnitOfWork work(*this);
        saveRules();
        saveDaily();
        work.commit();
        return;
    }
    requireLength(m_paths.credit, credit->size(), RulesRecord::Size);
    const RulesRecord rules = RulesRecord::decode(*credit);
    validateRules(rules);
    const bool hadRecord = m_files->exists(m_paths.record);
    const DailyRecords daily = readDaily();
    m_rules = rules;
    m_daily = daily;
    if (!hadRecord)
        saveDaily();
}

DailyRecords Contest::readDaily() const
{
    const auto record = m_files->read(m_paths.record);
    if (!record)
        return DailyRecords::firstRunDefaults();
    requireLength(m_paths.record, record->size(), DailyRecords::Size);
    DailyRecords daily = DailyRecords::decode(*record);
    // The count numbers Perfect.Dat records from 1; at most one a day for each entry.
    if (daily.perfectCount() < 0)
        daily.setPerfectCount(0);
    if (daily.perfectCount() > kEntryCapacity * kDays)
        throw StoreError(badDataMessage(m_paths.record,
                                        QStringLiteral("全勝の記録の数 %1、上限は %2")
                                            .arg(daily.perfectCount())
                                            .arg(kEntryCapacity * kDays)),
                         m_paths.record);
    return daily;
}

void Contest::loadDaily()
{
    m_daily = readDaily();
}

void Contest::openDatabase()
{
    const QString &path = m_paths.database;
    const QFileInfo info(path);
    const bool existed = info.exists();
    // A file that cannot be read or written is not damaged: nothing is set aside.
    if (existed
        && (!info.isFile() || !info.isReadable() || !QFileInfo(info.absolutePath()).isWritable()
            || !info.isWritable()))
        throw StoreError(QStringLiteral("データベース %1 を読み書きできません（%2）。"
                                        "何も変更していません。")
                             .arg(fileName(path),
                                  info.isFile() ? QStringLiteral("アクセス権がありません")
                                                : QStringLiteral("ファイルではありません")),
                         path);
    try {
        m_db.open(path);
    } catch (const StoreError &e) {
        const Database::Failure failure = m_db.failure();
        m_db.close();
        if (failure != Database::Failure::Damaged) {
            // Busy, locked or a full disk: changed nothing; a file this run
            // created is not left behind.
            if (!existed)
                QFile::remove(path);
            throw;
        }
        // Not a database, or its tables are unusable: keep it aside and start
        // a new one; the entries come back from Entry.Dat, the prizes below.
        const QString aside = path + QStringLiteral(".broken-")
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
        if (!QFile::rename(path, aside))
            throw;
        m_startupNotes << e.message() + QStringLiteral("。");
        m_startupNotes << QStringLiteral("データベース %1 が使えなかったため %2 として保存し、"
                                         "新しく作成しました。")
                              .arg(fileName(path), fileName(aside));
        try {
            m_db.open(path);
        } catch (const StoreError &) {
            m_db.close();
            QFile::remove(path);
            QFile::rename(aside, path);
            throw;
        }
    }
}

EntryRecord Contest::entryFromRow(RecordSet &rs) const
{
    // Only names survive in a row; picks are found again by wrestler name.
    EntryRecord e = EntryRecord::cleared();
    e.shikona = rs.textValue(QStringLiteral("しこな"));
    e.furigana = rs.textValue(QStringLiteral("シコ"));
    auto slotOf = [&](const QString &name) -> qint16 {
        const QString n = name.trimmed();
        if (n.isEmpty())
            return kNoWrestler;
        for (int s = 0; s < m_roster.wrestlerCount; ++s)
            if (m_roster.name(s) == n)
                return qint16(s);
        return kNoWrestler;
    };
    for (int i = 0; i < kMaxPicks; ++i) {
        e.picks[i] = slotOf(rs.textValue(QStringLiteral("力士%1").arg(i + 1)));
        e.enteredPicks[i] = e.picks[i];
    }
    e.reserve = slotOf(rs.textValue(QStringLiteral("予備力士")));
    e.reserveList[0] = e.reserve;
    for (int d = 1; d <= kDays; ++d)
        e.dayTotal[d - 1] = qint16(rs.intValue(dayColumnName(d)));
    e.totalScore = qint16(rs.intValue(QStringLiteral("合計")));
    e.midScore = qint16(rs.intValue(QStringLiteral("中日計")));
    return e;
}

void Contest::loadEntries()
{
    const bool dbFresh = !m_db.wasComplete();
    int rows = dbFresh ? 0 : m_db.rowCount(QStringLiteral("entry00"));
    if (rows > kEntryCapacity)
        throw StoreError(QStringLiteral("データベース %1 の参加者数 %2 が上限 %3 を超えています。")
                             .arg(fileName(m_paths.database))
                             .arg(rows)
                             .arg(kEntryCapacity),
                         m_paths.database);
    qint64 length = m_files->size(m_paths.entry);
    if (isLegacyEntryLength(length, rows)) {
        m_prompter->inform(kLegacyMessage);
        convertLegacyEntries();
        length = m_files->size(m_paths.entry);
    }
    // What is wrong with the file, and what its repair (the file as the
    // record of truth, the table for what the file lacks) would lose.
    QStringList damage;
    std::vector<EntryRecord> fromFile;
    bool placeholderOnly = rows == 0 && Phase::of(m_rules).beforeFirstEntry();
    if (length >= 0) {
        const auto bytes = m_files->read(m_paths.entry);
        if (length / EntryRecord::Size > kEntryCapacity)
            throw StoreError(badDataMessage(m_paths.entry,
                                            QStringLiteral("%1 件、上限は %2 件")
                                                .arg(length / EntryRecord::Size)
                                                .arg(kEntryCapacity)),
                             m_paths.entry);
        if (length % EntryRecord::Size != 0)
            damage << QStringLiteral("長さ %1 バイトは %2 バイトのレコードの並びではありません。"
                                     "最後の %3 バイトは捨てられます")
                          .arg(length)
                          .arg(EntryRecord::Size)
                          .arg(length % EntryRecord::Size);
        for (qint64 i = 0; i < length / EntryRecord::Size; ++i)
            fromFile.push_back(
                EntryRecord::decode(bytes->mid(i * EntryRecord::Size, EntryRecord::Size)));
        // The placeholder ルール決定 writes holds a slot number outside the roster;
        // it stays the file's only record when the reception closes with nobody.
        if (rows == 0 && length == EntryRecord::Size && *bytes == rulesPlaceholderEntry().encode())
            placeholderOnly = true;
        for (int i = 0; i < int(fromFile.size()); ++i)
            validateEntry(fromFile[i], i + 1, m_paths.entry, !placeholderOnly);
    }
    // The placeholder record is not an entry.
    if (placeholderOnly && damage.isEmpty()) {
        m_entries.clear();
        return;
    }
    // Records without a name are not entries; the repair drops them only
    // beyond the table's rows, where nothing else holds a participant.
    int records = int(fromFile.size());
    for (int i = 0; i < records; ++i) {
        if (!fromFile[i].shikona.trimmed().isEmpty())
            continue;
        if (i < rows)
            throw StoreError(
                badDataMessage(m_paths.entry,
                               QStringLiteral("レコード %1 に四股名がありません").arg(i + 1)),
                m_paths.entry);
        damage << QStringLiteral("レコード %1 に四股名がありません。レコード %1 以降 %2 件は"
                                 "捨てられます")
                      .arg(i + 1)
                      .arg(records - i);
        records = i;
        fromFile.resize(records);
        break;
    }
    if (records == rows && damage.isEmpty()) {
        m_entries = fromFile;
        return;
    }
    std::vector<EntryRecord> repaired = fromFile;
    if (rows > records) {
        QStringList who;
        RecordSet rs(m_db, QStringLiteral("entry00"));
        rs.setSort(QStringLiteral("ID ASC"));
        for (rs.moveTo(records); !rs.eof(); rs.moveNext()) {
            repaired.push_back(entryFromRow(rs));
            if (who.size() < 10)
                who << QStringLiteral("%1 %2")
                           .arg(rs.intValue(QStringLiteral("ID")))
                           .arg(rs.textValue(QStringLiteral("しこな")).trimmed());
        }
        if (rows - records > who.size())
            who << QStringLiteral("ほか %1 名").arg(rows - records - who.size());
        damage << QStringLiteral(
                      "%1 件のレコードしかなく、表の %2 名に足りません。参加者 %3 は表から"
                      "作り直され、会員名・生年月日・電話・FAX・メール・登録時の選択"
                      "力士と補充力士の並び・日々の得点の内訳と順位が失われます")
                      .arg(records)
                      .arg(rows)
                      .arg(who.join(QStringLiteral("、")));
    }
    if (!damage.isEmpty()) {
        // Nothing is thrown away unless the organiser says so, knowing what.
        const QString what = damage.join(QStringLiteral("。\n"));
        const Question q {QStringLiteral("ファイル %1 が壊れています。\n%2。\n\n修復しますか。"
                                         "（修復の前のファイルは %3 として残します）")
                              .arg(fileName(m_paths.entry), what,
                                   fileName(m_paths.entry) + QStringLiteral(".damaged")),
                          QStringLiteral("Kachikoshi Cup"), Icon::Warning, true};
        if (!m_prompter->ask(q))
            throw StoreError(QStringLiteral("ファイル %1 が壊れています（%2）。修復しなかったため、"
                                            "何も変更していません。")
                                 .arg(fileName(m_paths.entry), what),
                             m_paths.entry);
    }
    // The table and the file disagree: the file is the record of truth.
    m_entries = repaired;
    UnitOfWork work(*this);
    if (!damage.isEmpty() && length >= 0)
        m_files->copy(m_paths.entry, m_paths.entry + QStringLiteral(".damaged"));
    rebuildEntryTable();
    if (!damage.isEmpty())
        saveEntries();
    work.commit();
    m_startupNotes << QStringLiteral(
                          "参加者の表（%1）が %2 と一致しなかったため、作り直しました（%3 名）。")
                          .arg(fileName(m_paths.database), fileName(m_paths.entry))
                          .arg(m_entries.size());
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
        openDatabase();
        recoverJournal(true);
        loadAll();
        if (repairs)
            m_startupNotes << repairs(*this);
        m_entryTable = std::make_unique<RecordSet>(m_db, QStringLiteral("entry00"));
        m_entryTable->setSort(QStringLiteral("順位 ASC"));
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
    loadRoster();
    loadRulesAndDaily();
    loadWrestlerResults();
    loadEntries();
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
    const QString sort = m_entryTable ? m_entryTable->sort() : QStringLiteral("順位 ASC");
    m_entryTable = std::make_unique<RecordSet>(m_db, QStringLiteral("entry00"));
    m_entryTable->setSort(sort);
    m_entryTable->moveFirst();
}

void Contest::rebuildEntryTable()
{
    entrytable::rebuild(*this);
    if (m_entryTable)
        reopenEntryTable();
}

void Contest::convertLegacyEntries()
{
    const int count
        = participantCount() > 0 ? participantCount() : m_db.rowCount(QStringLiteral("entry00"));
    const int pickCount = std::clamp<int>(m_rules.pickCount, 0, kMaxPicks);
    auto readLegacy = [&](const QString &path, int limit) {
        std::vector<LegacyEntryRecord> out;
        const auto bytes = m_files->read(path);
        if (!bytes)
            return out;
        const int n = int(bytes->size() / LegacyEntryRecord::Size);
        for (int i = 0; i < n && (limit < 0 || i < limit); ++i)
            out.push_back(LegacyEntryRecord::decode(
                bytes->mid(qsizetype(i) * LegacyEntryRecord::Size, LegacyEntryRecord::Size)));
        return out;
    };
    const auto entryOld = readLegacy(m_paths.entry, count);
    if (int(entryOld.size()) < count)
        throw StoreError(
            badDataMessage(
                m_paths.entry,
                QStringLiteral("旧形式のレコードが %1 件しかありません").arg(entryOld.size())),
            m_paths.entry);
    // Picks as registered and the first substitute come from the backup taken
    // at the close of registration; without one, from the entry itself.
    std::vector<LegacyEntryRecord> bak;
    const qint64 bakLength = m_files->size(m_paths.entryBak);
    if (bakLength >= 0 && bakLength % EntryRecord::Size != 0)
        bak = readLegacy(m_paths.entryBak, count);
    struct Remembered
    {
        std::array<qint16, 10> picks;
        qint16 reserve;
    };
    auto remembered = [&](int n, const LegacyEntryRecord &self) {
        const LegacyEntryRecord &src = n < int(bak.size()) ? bak[n] : self;
        Remembered r;
        for (int i = 0; i < kMaxPicks; ++i)
            r.picks[i] = i < pickCount ? src.ints[i] : 0;
        r.reserve = src.ints[10];
        return r;
    };
    auto convert = [&](const LegacyEntryRecord &old, const Remembered &rem) {
        EntryRecord e;
        e.shikona = old.shikona;
        e.furigana = old.furigana;
        e.memberName = old.memberName;
        e.birth = old.birth;
        e.tel = old.tel;
        e.fax = old.fax;
        e.mail = old.mail;
        for (int i = 0; i < kMaxPicks; ++i) {
            e.picks[i] = old.ints[i];
            e.enteredPicks[i] = rem.picks[i];
            e.reserveList[i] = old.ints[10 + i];
        }
        e.reserve = rem.reserve;
        for (int d = 0; d < kDays; ++d) {
            e.dayGoldBonus[d] = old.ints[20 + d];
            e.daySilverBonus[d] = old.ints[35 + d];
            e.dayStreakBonus[d] = old.ints[50 + d];
            e.dayTotal[d] = old.ints[65 + d];
            e.daySpareArray[d] = old.ints[81 + d];
        }
        e.dayRank[14] = old.ints[97];
        e.totalScore = old.ints[80];
        e.midScore = old.ints[96];
        return e;
    };
    // Convert everything first, so that a bad record leaves every file as it was.
    std::vector<EntryRecord> ranking;
    const qint64 rankingLength = m_files->size(m_paths.ranking);
    const bool convertRanking = rankingLength >= 0 && rankingLength % EntryRecord::Size != 0;
    if (convertRanking) {
        const auto old = readLegacy(m_paths.ranking, -1);
        for (int n = 0; n < int(old.size()); ++n) {
            Remembered rem = remembered(n, old[n]);
            if (n >= int(bak.size())) {
                rem.picks.fill(kNoWrestler);
                rem.reserve = kNoWrestler;
            }
            ranking.push_back(convert(old[n], rem));
            validateEntry(ranking.back(), n + 1, m_paths.ranking);
        }
    }
    std::vector<EntryRecord> converted;
    for (int n = 0; n < count; ++n) {
        converted.push_back(convert(entryOld[n], remembered(n, entryOld[n])));
        validateEntry(converted.back(), n + 1, m_paths.entry);
    }
    // Ranking.Dat, Entry.Dat and Entry.Bak change together or not at all.
    UnitOfWork work(*this);
    if (convertRanking)
        recordfile::writeAll<EntryRecord>(*m_files, m_paths.ranking, ranking);
    recordfile::writeAll<EntryRecord>(*m_files, m_paths.entry, converted);
    m_files->remove(m_paths.entryBak);
    m_files->copy(m_paths.entry, m_paths.entryBak);
    work.commit();
    m_entries = converted;
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
    m_db.deleteAll(QStringLiteral("entry00"));
    m_db.deleteAll(QStringLiteral("PRIZE"));
    work.commit();
    m_entries.clear();
    reopenEntryTable();
    return true;
}

} // namespace kc
