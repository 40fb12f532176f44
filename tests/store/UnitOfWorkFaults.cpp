#include "UnitOfWorkFaults.h"

#include "TestSupport.h"
#include "rules/PrizeTable.h"
#include "store/RecordFile.h"
#include "store/UnitOfWork.h"

#include <QDirIterator>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <stdexcept>

namespace kc::test {

namespace {
QStringList rowsOf(Contest &contest, const QString &table)
{
    QSqlQuery q(contest.database().connection());
    if (!q.exec(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" ORDER BY rowid")))
        throw std::runtime_error("cannot read a table");
    QStringList rows;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.record().count(); ++i)
            cells << q.value(i).toString();
        rows << cells.join(u'|');
    }
    return rows;
}

// The day's update of the entry table and the prize table, shared by both
// ways of running the action.
void updateTables(Contest &contest, int day)
{
    RecordSet rs(contest.database(), QStringLiteral("entry00"));
    rs.setSort(QStringLiteral("ID ASC"));
    int k = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext(), ++k) {
        const EntryRecord &e = contest.entries().at(k);
        rs.setValue(dayColumnName(day), e.dayTotal[day - 1]);
        rs.setValue(QStringLiteral("合計"), e.totalScore);
        rs.setValue(QStringLiteral("順位"), e.dayRank[day - 1]);
        rs.update();
    }
    RecordSet prize(contest.database(), QStringLiteral("PRIZE"));
    int n = 0;
    for (prize.moveFirst(); !prize.eof(); prize.moveNext(), ++n) {
        prize.setValue(QStringLiteral("しこな"),
                       contest.entries().at(n % contest.entries().size()).shikona.trimmed());
        prize.setValue(QStringLiteral("ID"), 100 + n);
        prize.setValue(QStringLiteral("得点"), day * 10 + n);
        prize.update();
    }
}

void advanceDay(Contest &contest, const std::function<void(int)> &afterStep)
{
    auto step = [&](int n) {
        if (afterStep)
            afterStep(n);
    };
    const int day = ++contest.rules().currentDay;
    contest.saveRules();
    step(1);
    Roster &roster = contest.roster();
    for (int s = 0; s < roster.wrestlerCount; ++s)
        roster.wrestlers[s].dayResult[day - 1] = qint16((s + day) % 4);
    contest.saveWrestlers();
    step(2);
    const qint16 perfect = contest.daily().perfectCount();
    recordfile::writeOne<PerfectRecord>(contest.files(), contest.paths().perfect, perfect + 1,
                                        PerfectRecord {qint16(day), qint16(day), 40, 1, 0});
    contest.daily().setPerfectCount(qint16(perfect + 1));
    contest.daily().at(DailyRecords::TopScore, day) = qint16(30 + day);
    contest.saveDaily();
    step(3);
    auto &entries = contest.entries();
    for (int k = 0; k < int(entries.size()); ++k) {
        EntryRecord &e = entries[k];
        e.dayTotal[day - 1] = qint16((k * 7 + day) % 23);
        e.totalScore = qint16(e.totalScore + e.dayTotal[day - 1]);
        e.dayRank[day - 1] = qint16(int(entries.size()) - k);
    }
    contest.saveEntries();
    step(4);
    // Read back through the files of the unit: the copy must be the new Entry.Dat.
    contest.files().copy(contest.paths().entry, contest.paths().entryBak);
    contest.files().remove(contest.paths().entryCsv);
    step(5);
    updateTables(contest, day);
    step(6);
}
} // namespace

ContestPicture pictureOf(Contest &contest)
{
    ContestPicture p;
    const QDir data(contest.paths().data);
    for (const QString &name : data.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (name.startsWith(QStringLiteral("kch.kch")) || name == u"kachikoshi.lock")
            continue;
        p.files[name] = readBytes(data.filePath(name));
    }
    p.entryRows = rowsOf(contest, QStringLiteral("entry00"));
    p.prizeRows = rowsOf(contest, QStringLiteral("PRIZE"));
    return p;
}

QString differences(const ContestPicture &a, const ContestPicture &b)
{
    QStringList out;
    for (const auto &[name, bytes] : a.files)
        if (!b.files.count(name))
            out << name + QStringLiteral(" only in the first");
        else if (b.files.at(name) != bytes)
            out << name + QStringLiteral(" differs");
    for (const auto &[name, bytes] : b.files)
        if (!a.files.count(name))
            out << name + QStringLiteral(" only in the second");
    if (a.entryRows != b.entryRows)
        out << QStringLiteral("entry00 differs");
    if (a.prizeRows != b.prizeRows)
        out << QStringLiteral("PRIZE differs");
    return out.join(QStringLiteral(", "));
}

void copyFolder(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(path);
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        if (!QFile::copy(path, target))
            throw std::runtime_error("cannot copy a test folder");
    }
}

bool journalLeft(const QString &root)
{
    return QDir(root + QStringLiteral("/Data/.journal")).exists();
}

void buildContest(const QString &root, int entries)
{
    SilentPrompter quiet;
    Contest c(root, quiet);
    c.open();
    c.rules().flag = 10;
    c.rules().rulesStart = 1;
    c.rules().currentDay = 3;
    c.saveRules();
    for (int k = 0; k < entries; ++k) {
        EntryRecord e = EntryRecord::cleared();
        e.shikona = QStringLiteral("参加者%1").arg(k + 1);
        e.furigana = QStringLiteral("ｻﾝｶｼｬ%1").arg(k + 1);
        for (int i = 0; i < c.rules().pickCount; ++i) {
            e.picks[i] = qint16((k + 3 * i) % c.roster().wrestlerCount);
            e.enteredPicks[i] = e.picks[i];
        }
        e.reserveList[0] = e.reserve = qint16((k + 1) % c.roster().wrestlerCount);
        for (int d = 0; d < 3; ++d) {
            e.dayTotal[d] = qint16((k + d) % 17);
            e.dayRank[d] = qint16(k + 1);
            e.totalScore = qint16(e.totalScore + e.dayTotal[d]);
        }
        c.entries().push_back(e);
    }
    c.saveEntries();
    c.saveWrestlers();
    std::vector<PerfectRecord> perfect {{1, 2, 35, 1, 0}, {4, 3, 0, 9, 2}};
    recordfile::writeAll<PerfectRecord>(c.files(), c.paths().perfect, perfect);
    c.daily().setPerfectCount(2);
    c.saveDaily();
    c.files().write(c.paths().entryCsv, QByteArrayLiteral("ID,name\r\n100,x\r\n"));
    c.rebuildEntryTable();
    buildPrizeTable(c);
    c.close(false);
}

void confirmDay(Contest &contest, const std::function<void(int)> &afterStep)
{
    UnitOfWork work(contest);
    advanceDay(contest, afterStep);
    work.commit();
}

void confirmDayWithoutUnit(Contest &contest)
{
    Transaction tx(contest.database());
    advanceDay(contest, {});
    tx.commit();
}

} // namespace kc::test
