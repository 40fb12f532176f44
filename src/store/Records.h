#pragma once

#include <QByteArray>
#include <QString>
#include <array>

namespace kc {

constexpr int kNoWrestler = 43; // slot value meaning "no wrestler"
constexpr int kRosterSlots = 44; // slots 0..43
constexpr int kMaxWrestlers = 42; // registration limit
constexpr int kEntryCapacity = 300;
constexpr int kDays = 15;
constexpr int kMaxPicks = 10;
constexpr int kPrizeRows = 22;
constexpr int kDayPrizes = 16; // index 0 = mid-tournament prize, 1..15 = days

// Result marks of a wrestler on a day.
enum Mark : qint16 {
    MarkLoss = 0,
    MarkWin = 1,
    MarkSilver = 2,
    MarkGold = 3,
    MarkAbsent = 4,
    MarkAbsentConfirmed = 5,
    MarkAbsentLater = 6,
};
inline bool isWinningMark(int m)
{
    return m >= MarkWin && m <= MarkGold;
}

// How equal scores are ordered (TieRule as stored).
enum class TieRule { Lottery = 0, SmallerIdFirst = 1 };

struct RulesRecord
{
    static constexpr int Size = 1430;

    qint16 flag = 0;
    qint16 rulesStart = 0;
    QString title;
    qint16 pickCount = 0;
    std::array<qint16, 10> slotPoints {};
    qint16 includeTopRanks = 0;
    qint16 useReserve = 0;
    qint16 bonusType = 0;
    qint16 goldStarBonus = 0;
    qint16 silverStarBonus = 0;
    qint16 streakMin = 0;
    qint16 streakBonus = 0;
    qint16 currentDay = 0;
    std::array<qint32, kPrizeRows> prizePoints {};
    std::array<qint16, kPrizeRows> prizeRanks {};
    std::array<QString, kPrizeRows> prizeNames;
    std::array<qint32, kDayPrizes> dayPrizePoints {};
    std::array<QString, kDayPrizes> dayPrizeNames;
    std::array<qint32, kDayPrizes> dayPrizePoints2 {};
    std::array<QString, kDayPrizes> dayPrizeNames2;
    qint32 prizeExtra = 0;
    qint16 tieRule = 0;
    QString memo;
    qint16 reserved = 0;

    QByteArray encode() const;
    static RulesRecord decode(const QByteArray &bytes);
    static RulesRecord firstRunDefaults();
    bool operator==(const RulesRecord &) const = default;

    // The stored switches, read as what they mean.
    bool reserveInUse() const { return useReserve == 1; }
    bool fixedStarBonus() const { return bonusType == 1; } // points added, not a multiple
    TieRule tieBreak() const { return tieRule == 1 ? TieRule::SmallerIdFirst : TieRule::Lottery; }
};

struct DailyRecords
{
    static constexpr int Size = 300;
    // arrays[k][d-1]: array k+1 of the file, day d.
    std::array<std::array<qint16, kDays>, 10> arrays {};

    enum Array {
        TopScore = 0,
        TopEntry,
        LowScore,
        LowEntry,
        MaxRise,
        Riser,
        MaxFall,
        Faller,
        PerfectCountArray,
        Spare
    };
    qint16 &at(Array a, int day) { return arrays[a][day - 1]; }
    qint16 at(Array a, int day) const { return arrays[a][day - 1]; }
    // Element 1 of array 9 (bytes 242-243): the number of Perfect.Dat records.
    qint16 perfectCount() const { return arrays[PerfectCountArray][1]; }
    void setPerfectCount(qint16 n) { arrays[PerfectCountArray][1] = n; }

    QByteArray encode() const;
    static DailyRecords decode(const QByteArray &bytes);
    static DailyRecords firstRunDefaults(); // all -1, array 9 all 0
    static DailyRecords resetValues(); // arrays 1-5,7,9,10 = 0; 6,8 = -1
    bool operator==(const DailyRecords &) const = default;
};

// The participant as a club member: ring name and the member's own fields,
// the same in every entry layout and in the entry window's boxes.
struct MemberDetails
{
    QString shikona, furigana, memberName, birth, tel, fax, mail;

    MemberDetails &details() { return *this; }
    const MemberDetails &details() const { return *this; }
    bool operator==(const MemberDetails &) const = default;
};

struct EntryRecord : MemberDetails
{
    static constexpr int Size = 752;

    std::array<qint16, 10> picks {};
    std::array<qint16, 10> enteredPicks {};
    std::array<qint16, 150> dayPickPoints {}; // 10*(d-1)+s
    std::array<qint16, 10> reserveList {};
    qint16 reserve = 0;
    std::array<qint16, kDays> dayGoldBonus {};
    std::array<qint16, kDays> daySilverBonus {};
    std::array<qint16, kDays> dayStreakBonus {};
    std::array<qint16, kDays> daySpareArray {};
    std::array<qint16, kDays> dayTotal {};
    std::array<qint16, kDays> dayRank {};
    std::array<qint16, kDays> dayScoreRank {};
    std::array<qint16, kDays> dayWins {};
    qint16 totalScore = 0;
    qint16 midScore = 0;

    QByteArray encode() const;
    static EntryRecord decode(const QByteArray &bytes);
    static EntryRecord cleared(); // strings empty, wrestlers 43, numbers 0
    // Every per-day point and bonus, the day totals, wins and the two sums to 0;
    // the ranks are left alone.
    void clearScores();
    bool operator==(const EntryRecord &) const = default;
};

// The record ルール決定 writes into Entry.Dat before anyone registers: cleared,
// with a first pick outside the roster. It is no participant.
EntryRecord rulesPlaceholderEntry();

struct LegacyEntryRecord : MemberDetails
{
    static constexpr int Size = 342;

    std::array<qint16, 98> ints {}; // by Integer position p (0 = byte 146)

    QByteArray encode() const;
    static LegacyEntryRecord decode(const QByteArray &bytes);
    bool operator==(const LegacyEntryRecord &) const = default;
};

struct WrestlerRecord
{
    static constexpr int Size = 42;

    QString name;
    qint16 rankCode = 0;
    std::array<qint16, kDays> dayResult {};

    QByteArray encode() const;
    static WrestlerRecord decode(const QByteArray &bytes);
    bool operator==(const WrestlerRecord &) const = default;
};

struct BanzukeRecord
{
    static constexpr int Size = 610;

    QString bashoName;
    QString bashoCode;
    std::array<QString, kRosterSlots> names;
    std::array<qint16, kRosterSlots> rankCodes {};
    qint16 wrestlerCount = 0;

    QByteArray encode() const;
    static BanzukeRecord decode(const QByteArray &bytes);
    bool operator==(const BanzukeRecord &) const = default;
};

struct RenameRecord
{
    static constexpr int Size = 20;
    QString oldName;
    QString newName;

    QByteArray encode() const;
    static RenameRecord decode(const QByteArray &bytes);
    bool operator==(const RenameRecord &) const = default;
};

struct PerfectRecord
{
    static constexpr int Size = 10;
    qint16 entryIndex = 0;
    qint16 day = 0;
    qint16 dayTotal = 0;
    qint16 dayRank = 0;
    qint16 kind = 0;

    QByteArray encode() const;
    static PerfectRecord decode(const QByteArray &bytes);
    bool operator==(const PerfectRecord &) const = default;
};

// Day names: column names of entry00 and display names (with a trailing blank).
QString dayColumnName(int day); // empty outside 1..15
QString dayDisplayName(int day); // empty outside 1..15

} // namespace kc
