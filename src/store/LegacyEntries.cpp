#include "store/LegacyEntries.h"
#include "store/Contest.h"
#include "store/ContestLoader.h"
#include "store/EntryTable.h"

#include "store/RecordFile.h"
#include "store/StoreError.h"
#include "store/UnitOfWork.h"

namespace kc {

bool isLegacyEntryLength(qint64 length, int count)
{
    return count >= 1 && length >= 0 && qAbs(length - qint64(count) * LegacyEntryRecord::Size) < 20
        && length != qint64(count) * EntryRecord::Size;
}

std::vector<EntryRecord> convertLegacyEntries(Contest &contest, int rulesPickCount,
                                              const Roster &roster)
{
    const Paths &paths = contest.paths();
    FileStore &files = contest.files();
    const int count = contest.participantCount() > 0
        ? contest.participantCount()
        : contest.database().rowCount(entrytable::name);
    const int pickCount = std::clamp<int>(rulesPickCount, 0, kMaxPicks);
    auto readLegacy = [&](const QString &path, int limit) {
        std::vector<LegacyEntryRecord> out;
        const auto bytes = files.read(path);
        if (!bytes)
            return out;
        const int n = int(bytes->size() / LegacyEntryRecord::Size);
        for (int i = 0; i < n && (limit < 0 || i < limit); ++i)
            out.push_back(LegacyEntryRecord::decode(
                bytes->mid(qsizetype(i) * LegacyEntryRecord::Size, LegacyEntryRecord::Size)));
        return out;
    };
    const auto entryOld = readLegacy(paths.entry, count);
    if (int(entryOld.size()) < count)
        throw StoreError(
            badDataMessage(
                paths.entry,
                QStringLiteral("旧形式のレコードが %1 件しかありません").arg(entryOld.size())),
            paths.entry);
    // Picks as registered and the first substitute come from the backup taken
    // at the close of registration; without one, from the entry itself.
    std::vector<LegacyEntryRecord> bak;
    const qint64 bakLength = files.size(paths.entryBak);
    if (bakLength >= 0 && bakLength % EntryRecord::Size != 0)
        bak = readLegacy(paths.entryBak, count);
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
        e.details() = old.details();
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
    const qint64 rankingLength = files.size(paths.ranking);
    const bool convertRanking = rankingLength >= 0 && rankingLength % EntryRecord::Size != 0;
    if (convertRanking) {
        const auto old = readLegacy(paths.ranking, -1);
        for (int n = 0; n < int(old.size()); ++n) {
            Remembered rem = remembered(n, old[n]);
            if (n >= int(bak.size())) {
                rem.picks.fill(kNoWrestler);
                rem.reserve = kNoWrestler;
            }
            ranking.push_back(convert(old[n], rem));
            checkEntryWrestlers(ranking.back(), n + 1, paths.ranking, roster.wrestlerCount);
        }
    }
    std::vector<EntryRecord> converted;
    for (int n = 0; n < count; ++n) {
        converted.push_back(convert(entryOld[n], remembered(n, entryOld[n])));
        checkEntryWrestlers(converted.back(), n + 1, paths.entry, roster.wrestlerCount);
    }
    // Ranking.Dat, Entry.Dat and Entry.Bak change together or not at all.
    UnitOfWork work(contest);
    if (convertRanking)
        recordfile::writeAll<EntryRecord>(files, paths.ranking, ranking);
    recordfile::writeAll<EntryRecord>(files, paths.entry, converted);
    files.remove(paths.entryBak);
    files.copy(paths.entry, paths.entryBak);
    work.commit();
    return converted;
}

} // namespace kc
