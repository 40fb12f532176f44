#include "store/ContestLoader.h"
#include "store/EntryTable.h"
#include "store/LegacyEntries.h"
#include "store/Phase.h"

#include "store/RecordFile.h"
#include "store/StoreError.h"
#include "store/Text.h"
#include "store/UnitOfWork.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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

template<typename R> void writeOnly(FileStore &files, const QString &path, const R &record)
{
    recordfile::writeAll<R>(files, path, std::vector<R> {record});
}
} // namespace

QString entryProblem(EntryRecord &e, int wrestlerCount)
{
    // A participant's wrestler number points into the roster, or is the empty slot.
    // One outside every slot is held as the empty slot, so nothing reads past the roster.
    QStringList bad;
    auto check = [&](qint16 &v, const QString &what) {
        if (validWrestler(v) && (wrestlerCount < 0 || v == kNoWrestler || v < wrestlerCount))
            return;
        bad << QStringLiteral("%1 %2").arg(what).arg(v);
        if (!validWrestler(v))
            v = kNoWrestler;
    };
    for (int i = 0; i < kMaxPicks; ++i) {
        check(e.picks[i], QStringLiteral("選択力士"));
        check(e.enteredPicks[i], QStringLiteral("登録力士"));
        check(e.reserveList[i], QStringLiteral("補充力士"));
    }
    check(e.reserve, QStringLiteral("予備力士"));
    return bad.join(QStringLiteral("、"));
}

void checkEntryWrestlers(const EntryRecord &e, int recordNumber, const QString &path,
                         int wrestlerCount)
{
    EntryRecord copy = e;
    const QString problem = entryProblem(copy, wrestlerCount);
    if (!problem.isEmpty())
        throw StoreError(
            badDataMessage(path, QStringLiteral("レコード %1 の%2").arg(recordNumber).arg(problem)),
            path);
}

ContestLoader::ContestLoader(Contest &contest)
    : m_contest(contest), m_paths(contest.paths()), m_files(contest.files()),
      m_db(contest.database()), m_state(contest.state())
{
}

LoadedContest ContestLoader::load()
{
    m_state.roster = readRoster();
    loadRulesAndDaily();
    loadWrestlerResults();
    loadEntries();
    return {m_state, m_notes};
}

void ContestLoader::validateRules(const RulesRecord &r) const
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
    if (!Phase::isStoredRulesStart(r.rulesStart))
        bad(QStringLiteral("RulesStart %1").arg(r.rulesStart));
}

Roster ContestLoader::readRoster() const
{
    Roster roster = m_state.roster;
    roster.installDefault();
    if (const auto bytes = m_files.read(m_paths.banzuke)) {
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
        roster.loadBanzuke(b);
    }
    roster.takeInitialNames();
    roster.applyRenames(readRenames(m_paths, m_files));
    return roster;
}

std::vector<RenameRecord> ContestLoader::readRenames(const Paths &paths, const FileStore &files)
{
    const auto bytes = files.read(paths.rename);
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

void ContestLoader::loadWrestlerResults()
{
    const auto bytes = m_files.read(m_paths.rikishi);
    if (!bytes)
        return;
    const int count = m_state.roster.wrestlerCount;
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
        m_state.roster.wrestlers[i] = records[i];
}

void ContestLoader::loadRulesAndDaily()
{
    const auto credit = m_files.read(m_paths.credit);
    if (!credit) {
        // The first run is for a folder without a contest: one that holds a
        // contest has lost its Credit.Dat, and defaults would overwrite it.
        QStringList held;
        for (const QString &p : {m_paths.record, m_paths.entry, m_paths.rikishi, m_paths.perfect,
                                 m_paths.banzuke, m_paths.rename})
            if (QFileInfo::exists(p))
                held << fileName(p);
        if (m_db.rowCount(entrytable::name) > 0 || m_db.rowCount(QStringLiteral("PRIZE")) > 0)
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
        m_state.rules = RulesRecord::firstRunDefaults();
        m_state.daily = DailyRecords::firstRunDefaults();
        UnitOfWork work(m_contest);
        writeOnly(m_files, m_paths.credit, m_state.rules);
        writeOnly(m_files, m_paths.record, m_state.daily);
        work.commit();
        return;
    }
    requireLength(m_paths.credit, credit->size(), RulesRecord::Size);
    const RulesRecord rules = RulesRecord::decode(*credit);
    validateRules(rules);
    const bool hadRecord = m_files.exists(m_paths.record);
    const DailyRecords daily = readDaily(m_paths, m_files);
    m_state.rules = rules;
    m_state.daily = daily;
    if (!hadRecord)
        writeOnly(m_files, m_paths.record, m_state.daily);
}

DailyRecords ContestLoader::readDaily(const Paths &paths, const FileStore &files)
{
    const auto record = files.read(paths.record);
    if (!record)
        return DailyRecords::firstRunDefaults();
    requireLength(paths.record, record->size(), DailyRecords::Size);
    DailyRecords daily = DailyRecords::decode(*record);
    // The count numbers Perfect.Dat records from 1; at most one a day for each entry.
    if (daily.perfectCount() < 0)
        daily.setPerfectCount(0);
    if (daily.perfectCount() > kEntryCapacity * kDays)
        throw StoreError(badDataMessage(paths.record,
                                        QStringLiteral("全勝の記録の数 %1、上限は %2")
                                            .arg(daily.perfectCount())
                                            .arg(kEntryCapacity * kDays)),
                         paths.record);
    return daily;
}

EntryRecord ContestLoader::entryFromRow(RecordSet &rs) const
{
    // Only names survive in a row; picks are found again by wrestler name.
    EntryRecord e = EntryRecord::cleared();
    e.shikona = rs.textValue(entrytable::column::shikona);
    e.furigana = rs.textValue(entrytable::column::furigana);
    auto slotOf = [&](const QString &name) -> qint16 {
        const QString n = name.trimmed();
        if (n.isEmpty())
            return kNoWrestler;
        for (int s = 0; s < m_state.roster.wrestlerCount; ++s)
            if (m_state.roster.name(s) == n)
                return qint16(s);
        return kNoWrestler;
    };
    for (int i = 0; i < kMaxPicks; ++i) {
        e.picks[i] = slotOf(rs.textValue(entrytable::column::pick(i)));
        e.enteredPicks[i] = e.picks[i];
    }
    e.reserve = slotOf(rs.textValue(entrytable::column::reserve));
    e.reserveList[0] = e.reserve;
    for (int d = 1; d <= kDays; ++d)
        e.dayTotal[d - 1] = qint16(rs.intValue(entrytable::column::day(d)));
    e.totalScore = qint16(rs.intValue(entrytable::column::total));
    e.midScore = qint16(rs.intValue(entrytable::column::midTotal));
    return e;
}

void ContestLoader::loadEntries()
{
    const bool dbFresh = !m_db.wasComplete();
    int rows = dbFresh ? 0 : m_db.rowCount(entrytable::name);
    if (rows > kEntryCapacity)
        throw StoreError(QStringLiteral("データベース %1 の参加者数 %2 が上限 %3 を超えています。")
                             .arg(fileName(m_paths.database))
                             .arg(rows)
                             .arg(kEntryCapacity),
                         m_paths.database);
    qint64 length = m_files.size(m_paths.entry);
    if (isLegacyEntryLength(length, rows)) {
        m_contest.prompter().inform(kLegacyMessage);
        convertLegacyEntries(m_contest, m_state.rules.pickCount, m_state.roster);
        length = m_files.size(m_paths.entry);
    }
    // What is wrong with the file, and what its repair (the file as the
    // record of truth, the table for what the file lacks) would lose.
    QStringList damage;
    std::vector<EntryRecord> fromFile;
    bool placeholderOnly = rows == 0 && Phase::of(m_state.rules).beforeFirstEntry();
    if (length >= 0) {
        const auto bytes = m_files.read(m_paths.entry);
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
        // A bad record among the participants does not lock the folder: it is
        // named, and 更新 or 削除 mends it. Beyond them it is the repair's to drop.
        for (int i = 0; i < int(fromFile.size()); ++i) {
            if (i >= rows || placeholderOnly) {
                checkEntryWrestlers(fromFile[i], i + 1, m_paths.entry,
                                    placeholderOnly ? -1 : m_state.roster.wrestlerCount);
                continue;
            }
            QString problem = entryProblem(fromFile[i], m_state.roster.wrestlerCount);
            if (fromFile[i].shikona.trimmed().isEmpty())
                problem.prepend(problem.isEmpty() ? QStringLiteral("四股名がありません")
                                                  : QStringLiteral("四股名がありません、"));
            if (!problem.isEmpty())
                m_notes << QStringLiteral("%1 のレコード %2（ID %3）が正しくありません（%4）。"
                                          "投票受付の画面（または entry update・entry delete）で"
                                          "訂正するか削除してください。")
                               .arg(fileName(m_paths.entry))
                               .arg(i + 1)
                               .arg(100 + i)
                               .arg(problem);
        }
    }
    // The placeholder record is not an entry.
    if (placeholderOnly && damage.isEmpty()) {
        m_state.entries.clear();
        return;
    }
    // Records without a name are not entries; the repair drops them only
    // beyond the table's rows, where nothing else holds a participant.
    int records = int(fromFile.size());
    for (int i = rows; i < records; ++i) {
        if (!fromFile[i].shikona.trimmed().isEmpty())
            continue;
        damage << QStringLiteral("レコード %1 に四股名がありません。レコード %1 以降 %2 件は"
                                 "捨てられます")
                      .arg(i + 1)
                      .arg(records - i);
        records = i;
        fromFile.resize(records);
        break;
    }
    if (records == rows && damage.isEmpty()) {
        m_state.entries = fromFile;
        return;
    }
    std::vector<EntryRecord> repaired = fromFile;
    if (rows > records) {
        QStringList who;
        RecordSet rs(m_db, entrytable::name);
        rs.setSort(entrytable::byId);
        for (rs.moveTo(records); !rs.eof(); rs.moveNext()) {
            repaired.push_back(entryFromRow(rs));
            if (who.size() < 10)
                who << QStringLiteral("%1 %2")
                           .arg(rs.intValue(entrytable::column::id))
                           .arg(rs.textValue(entrytable::column::shikona).trimmed());
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
    // An earlier repair's copy is kept too.
    QString kept = m_paths.entry + QStringLiteral(".damaged");
    for (int n = 2; m_files.exists(kept); ++n)
        kept = m_paths.entry + QStringLiteral(".damaged-%1").arg(n);
    if (!damage.isEmpty()) {
        // Nothing is thrown away unless the organiser says so, knowing what.
        const QString what = damage.join(QStringLiteral("。\n"));
        const Question q {QStringLiteral("ファイル %1 が壊れています。\n%2。\n\n修復しますか。"
                                         "（修復の前のファイルは %3 として残します）")
                              .arg(fileName(m_paths.entry), what, fileName(kept)),
                          QStringLiteral("Kachikoshi Cup"), Icon::Warning, true};
        if (!m_contest.prompter().ask(q))
            throw StoreError(QStringLiteral("ファイル %1 が壊れています（%2）。修復しなかったため、"
                                            "何も変更していません。")
                                 .arg(fileName(m_paths.entry), what),
                             m_paths.entry);
    }
    // The table and the file disagree: the file is the record of truth.
    m_state.entries = repaired;
    UnitOfWork work(m_contest);
    if (!damage.isEmpty() && length >= 0)
        m_files.copy(m_paths.entry, kept);
    entrytable::rebuild(m_db, m_state.entries, m_state.roster, m_state.rules.currentDay);
    if (!damage.isEmpty())
        recordfile::writeAll<EntryRecord>(m_files, m_paths.entry, m_state.entries);
    work.commit();
    m_notes << QStringLiteral(
                   "参加者の表（%1）が %2 と一致しなかったため、作り直しました（%3 名）。")
                   .arg(fileName(m_paths.database), fileName(m_paths.entry))
                   .arg(m_state.entries.size());
}

QStringList openContestDatabase(Database &db, const QString &path)
{
    QStringList notes;
    const QFileInfo info(path);
    // The database is written where it lies: never through a link, and a
    // refused start leaves the link as it found it.
    if (info.isSymLink())
        throw StoreError(
            QStringLiteral("データベース %1 はシンボリックリンクです（リンク先 %2%3）。"
                           "リンクを本物のファイルに置き換えてください。"
                           "何も変更していません。")
                .arg(fileName(path), QDir::toNativeSeparators(info.symLinkTarget()),
                     info.exists() ? QString() : QStringLiteral("、存在しません")),
            path);
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
        db.open(path);
    } catch (const StoreError &e) {
        const Database::Failure failure = db.failure();
        db.close();
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
        notes << e.message() + QStringLiteral("。");
        notes << QStringLiteral("データベース %1 が使えなかったため %2 として保存し、"
                                "新しく作成しました。")
                     .arg(fileName(path), fileName(aside));
        try {
            db.open(path);
        } catch (const StoreError &) {
            db.close();
            QFile::remove(path);
            QFile::rename(aside, path);
            throw;
        }
    }
    return notes;
}

} // namespace kc
