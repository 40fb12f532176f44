#include "scoring/Tally.h"

#include "scoring/ProgressCounter.h"
#include "scoring/RandomSource.h"
#include "store/Contest.h"
#include "store/EntryTable.h"
#include "store/StoreError.h"

#include <algorithm>
#include <cmath>

namespace kc {

namespace {

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// The entry a sorted row belongs to; a row outside the entry array means the
// table no longer mirrors Entry.Dat.
int entryOfRow(Contest &contest, RecordSet &rs)
{
    const int k = rs.intValue(entrytable::column::id) - 100;
    if (k < 0 || k >= contest.participantCount())
        throw StoreError(
            QStringLiteral("データベース %1 の参加者 ID %2 が Entry.Dat にありません。")
                .arg(contest.paths().database)
                .arg(k + 100),
            contest.paths().database);
    return k;
}

void writePerfectLog(Contest &contest, const std::vector<PerfectRecord> &added, int firstNumber)
{
    if (added.empty())
        return;
    // One write for the whole day; records beyond the count stay as they were.
    const QString &path = contest.paths().perfect;
    QByteArray bytes = contest.files().read(path).value_or(QByteArray());
    qsizetype offset = qsizetype(firstNumber - 1) * PerfectRecord::Size;
    for (const PerfectRecord &p : added) {
        if (bytes.size() < offset + PerfectRecord::Size)
            bytes.append(offset + PerfectRecord::Size - bytes.size(), '\0');
        bytes.replace(offset, PerfectRecord::Size, p.encode());
        offset += PerfectRecord::Size;
    }
    contest.files().write(path, bytes);
}

} // namespace

int tieValue(TieRule rule, int id, RandomSource &random)
{
    if (rule == TieRule::SmallerIdFirst)
        return 9999 - id;
    return std::min(9999, int(std::floor(random.next() * 10000.0)));
}

void scoreEntryDay(EntryRecord &e, const RulesRecord &r, const Roster &roster, int d)
{
    const int i = d - 1;
    e.dayTotal[i] = 0;
    e.dayGoldBonus[i] = 0;
    e.daySilverBonus[i] = 0;
    e.dayStreakBonus[i] = 0;
    e.daySpareArray[i] = 0;
    e.dayWins[i] = 0;
    const int n = std::clamp<int>(r.pickCount, 0, kMaxPicks);
    const int k = r.streakMin;
    for (int s = 0; s < n; ++s) {
        const int w = e.picks[s];
        // Only wrestlers of the banzuke score; 43 is the empty slot.
        if (w < 0 || w >= roster.wrestlerCount || w >= kNoWrestler)
            continue;
        const auto &marks = roster.wrestlers[w].dayResult;
        const int mark = marks[i];
        if (!isWinningMark(mark))
            continue;
        qint16 &slot = e.dayPickPoints[10 * i + s];
        const qint16 points = r.slotPoints[s];
        slot = points;
        e.dayTotal[i] += points;
        e.dayWins[i] += 1;
        auto star = [&](qint16 bonus, qint16 &field) {
            const qint16 add = r.fixedStarBonus() ? bonus : qint16((bonus - 1) * points);
            field += add;
            e.dayTotal[i] += add;
            slot += add;
        };
        if (mark == MarkSilver)
            star(r.silverStarBonus, e.daySilverBonus[i]);
        if (mark == MarkGold)
            star(r.goldStarBonus, e.dayGoldBonus[i]);
        if (k > 0 && d >= k) {
            bool streak = true;
            for (int back = d - 1; back >= d - k + 1; --back)
                streak = streak && isWinningMark(marks[back - 1]);
            if (streak) {
                e.dayStreakBonus[i] += r.streakBonus;
                e.dayTotal[i] += r.streakBonus;
                slot += r.streakBonus;
            }
        }
    }
}

DayTally tallyEntries(std::vector<EntryRecord> entries, const RulesRecord &r, const Roster &roster,
                      DailyRecords rec, int d, const std::vector<int> &rowIds, RandomSource &random,
                      ProgressCounter &progress)
{
    DayTally out;
    const int rows = int(rowIds.size());

    // Clear the day and score the picks.
    for (EntryRecord &e : entries)
        scoreEntryDay(e, r, roster, d);

    // The totals (row k = entry k).
    for (int k = 0; k < rows; ++k) {
        EntryRecord &e = entries[k];
        int total = 0, mid = 0;
        for (int x = 0; x < kDays; ++x) {
            total += e.dayTotal[x];
            if (x < 8)
                mid += e.dayTotal[x];
        }
        e.totalScore = qint16(total);
        e.midScore = qint16(mid);
        progress.advance(k + 1);
    }
    progress.endPass(rows);

    // Rows by key, highest first; equal keys keep the row order. A fresh draw
    // for every ranking.
    std::vector<qint64> keys(rows);
    const auto rank = [&](auto score) {
        for (int k = 0; k < rows; ++k) {
            keys[k] = qint64(score(entries[k])) * 10000 + tieValue(r.tieBreak(), rowIds[k], random);
            progress.advance(k + 1);
        }
        progress.endPass(rows);
        std::vector<int> order(rows);
        for (int k = 0; k < rows; ++k)
            order[k] = k;
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return keys[a] > keys[b]; });
        return order;
    };
    const auto entryOf = [&](int row) { return rowIds[row] - 100; };

    // The day ranking.
    std::vector<int> order = rank([d](const EntryRecord &e) { return e.dayTotal[d - 1]; });
    if (rows > 0) {
        rec.at(DailyRecords::TopScore, d) = qint16(floorDiv(keys[order.front()], 10000));
        rec.at(DailyRecords::TopEntry, d) = qint16(entryOf(order.front()));
    }
    for (int i = 0; i < rows; ++i) {
        entries[entryOf(order[i])].dayScoreRank[d - 1] = qint16(i + 1);
        progress.advance(i + 1);
    }
    progress.endPass(rows);
    if (rows > 0) {
        const int low = entryOf(order.back());
        rec.at(DailyRecords::LowEntry, d) = qint16(low);
        rec.at(DailyRecords::LowScore, d) = entries[low].dayTotal[d - 1];
    }

    // The overall ranking.
    order = rank([](const EntryRecord &e) { return e.totalScore; });
    out.rowKeys = keys;
    out.rowRanks.assign(rows, 0);
    for (int i = 0; i < rows; ++i) {
        const int counter = i + 1;
        const int k = entryOf(order[i]);
        EntryRecord &e = entries[k];
        out.rowRanks[order[i]] = counter;
        e.dayRank[d - 1] = qint16(counter);
        if (d > 1) {
            const int rise = e.dayRank[d - 2] - e.dayRank[d - 1];
            if (rise > rec.at(DailyRecords::MaxRise, d)) {
                rec.at(DailyRecords::MaxRise, d) = qint16(rise);
                rec.at(DailyRecords::Riser, d) = qint16(k);
            }
            const int fall = e.dayRank[d - 1] - e.dayRank[d - 2];
            if (fall >= rec.at(DailyRecords::MaxFall, d)) {
                rec.at(DailyRecords::MaxFall, d) = qint16(fall);
                rec.at(DailyRecords::Faller, d) = qint16(k);
            }
        }
        progress.advance(counter);
    }
    progress.endPass(rows);

    // The perfect log.
    const int n = r.pickCount;
    out.firstPerfect = rec.perfectCount() + 1;
    for (int k = 0; k < rows; ++k) {
        const EntryRecord &e = entries[k];
        const int wins = e.dayWins[d - 1];
        int kind = -1;
        if (wins == n)
            kind = 0;
        else if (wins == n - 1)
            kind = 1;
        else if (wins == 0)
            kind = 2;
        if (kind < 0)
            continue;
        out.perfect.push_back(
            {qint16(k), qint16(d), e.dayTotal[d - 1], e.dayRank[d - 1], qint16(kind)});
    }
    rec.setPerfectCount(qint16(rec.perfectCount() + int(out.perfect.size())));

    out.entries = std::move(entries);
    out.daily = std::move(rec);
    return out;
}

void tallyDay(Contest &contest, int d, RandomSource &random, ProgressCounter &progress,
              bool saveEntries)
{
    contest.loadDaily();
    const RulesRecord &r = contest.rules();
    if (r.currentDay == 0 || d < 1 || d > kDays)
        return;
    RecordSet &rs = contest.entryTable();
    const int rows = rs.count();
    if (rows != contest.participantCount())
        throw StoreError(
            QStringLiteral("データベース %1 の参加者数 %2 が Entry.Dat の %3 と一致しません。")
                .arg(contest.paths().database)
                .arg(rows)
                .arg(contest.participantCount()),
            contest.paths().database);

    // The rows in stored order, each naming an entry of the array.
    rs.setFilter(QString());
    rs.setSort(QString());
    std::vector<int> rowIds(rows);
    for (int k = 0; k < rows; ++k) {
        rs.moveTo(k);
        rowIds[k] = rs.intValue(entrytable::column::id);
        entryOfRow(contest, rs);
    }

    DayTally t = tallyEntries(contest.entries(), r, contest.roster(), contest.daily(), d, rowIds,
                              random, progress);
    contest.entries() = std::move(t.entries);
    contest.daily() = std::move(t.daily);

    // The table takes the result once.
    for (int k = 0; k < rows; ++k) {
        const EntryRecord &e = contest.entries()[k];
        rs.moveTo(k);
        entrytable::writeScores(rs, e, d);
        rs.setValue(entrytable::column::sortKey, t.rowKeys[k]);
        rs.setValue(entrytable::column::rank, t.rowRanks[k]);
    }
    rs.updateAll();

    writePerfectLog(contest, t.perfect, t.firstPerfect);
    contest.saveDaily();
    if (saveEntries)
        contest.saveEntries();
}

} // namespace kc
