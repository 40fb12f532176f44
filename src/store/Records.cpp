#include "store/Records.h"

#include "store/Text.h"

#include <QtEndian>
#include <cstring>
#include <stdexcept>

namespace kc {

namespace {

class Writer
{
public:
    explicit Writer(int size) { m_bytes.reserve(size); }
    void i16(qint16 v)
    {
        char b[2];
        qToLittleEndian<qint16>(v, b);
        m_bytes.append(b, 2);
    }
    void i32(qint32 v)
    {
        char b[4];
        qToLittleEndian<qint32>(v, b);
        m_bytes.append(b, 4);
    }
    void text(const QString &s, int width) { m_bytes += fixedField(s, width); }
    template<typename A> void i16s(const A &a)
    {
        for (qint16 v : a)
            i16(v);
    }
    QByteArray finish(int expected)
    {
        Q_ASSERT(m_bytes.size() == expected);
        Q_UNUSED(expected);
        return m_bytes;
    }

private:
    QByteArray m_bytes;
};

class Reader
{
public:
    Reader(const QByteArray &bytes, int size, const char *what) : m_bytes(bytes)
    {
        if (bytes.size() != size)
            throw std::length_error(what);
    }
    qint16 i16()
    {
        const qint16 v = qFromLittleEndian<qint16>(m_bytes.constData() + m_pos);
        m_pos += 2;
        return v;
    }
    qint32 i32()
    {
        const qint32 v = qFromLittleEndian<qint32>(m_bytes.constData() + m_pos);
        m_pos += 4;
        return v;
    }
    QString text(int width)
    {
        const QString s = fieldText(m_bytes.mid(m_pos, width));
        m_pos += width;
        return s;
    }
    template<typename A> void i16s(A &a)
    {
        for (auto &v : a)
            v = i16();
    }

private:
    const QByteArray &m_bytes;
    int m_pos = 0;
};

const char16_t *const kDayColumns[kDays]
    = {u"初日", u"二", u"三",   u"四",   u"五",   u"六",   u"七",    u"中日",
       u"九",   u"十", u"十一", u"十二", u"十三", u"十四", u"千秋楽"};
const char16_t *const kDayDisplay[kDays]
    = {u"初日 ",     u"二日目 ",   u"三日目 ",   u"四日目 ",   u"五日目 ",
       u"六日目 ",   u"七日目 ",   u"中日 ",     u"九日目 ",   u"十日目 ",
       u"十一日目 ", u"十二日目 ", u"十三日目 ", u"十四日目 ", u"千秋楽 "};

// The seven member texts that open both entry layouts.
template<typename R> void writeMemberTexts(Writer &w, const R &x)
{
    w.text(x.shikona, 16);
    w.text(x.furigana, 16);
    w.text(x.memberName, 16);
    w.text(x.birth, 16);
    w.text(x.tel, 16);
    w.text(x.fax, 16);
    w.text(x.mail, 50);
}

template<typename R> void readMemberTexts(Reader &r, R &x)
{
    x.shikona = r.text(16);
    x.furigana = r.text(16);
    x.memberName = r.text(16);
    x.birth = r.text(16);
    x.tel = r.text(16);
    x.fax = r.text(16);
    x.mail = r.text(50);
}

} // namespace

QString dayColumnName(int day)
{
    return (day >= 1 && day <= kDays) ? QString::fromUtf16(kDayColumns[day - 1]) : QString();
}

QString dayDisplayName(int day)
{
    return (day >= 1 && day <= kDays) ? QString::fromUtf16(kDayDisplay[day - 1]) : QString();
}

// ---- RulesRecord ----

QByteArray RulesRecord::encode() const
{
    Writer w(Size);
    w.i16(flag);
    w.i16(rulesStart);
    w.text(title, 20);
    w.i16(pickCount);
    w.i16s(slotPoints);
    w.i16(includeTopRanks);
    w.i16(useReserve);
    w.i16(bonusType);
    w.i16(goldStarBonus);
    w.i16(silverStarBonus);
    w.i16(streakMin);
    w.i16(streakBonus);
    w.i16(currentDay);
    for (qint32 v : prizePoints)
        w.i32(v);
    w.i16s(prizeRanks);
    for (const QString &s : prizeNames)
        w.text(s, 20);
    for (qint32 v : dayPrizePoints)
        w.i32(v);
    for (const QString &s : dayPrizeNames)
        w.text(s, 20);
    for (qint32 v : dayPrizePoints2)
        w.i32(v);
    for (const QString &s : dayPrizeNames2)
        w.text(s, 20);
    w.i32(prizeExtra);
    w.i16(tieRule);
    w.text(memo, 20);
    w.i16(reserved);
    return w.finish(Size);
}

RulesRecord RulesRecord::decode(const QByteArray &bytes)
{
    Reader r(bytes, Size, "RulesRecord");
    RulesRecord x;
    x.flag = r.i16();
    x.rulesStart = r.i16();
    x.title = r.text(20);
    x.pickCount = r.i16();
    r.i16s(x.slotPoints);
    x.includeTopRanks = r.i16();
    x.useReserve = r.i16();
    x.bonusType = r.i16();
    x.goldStarBonus = r.i16();
    x.silverStarBonus = r.i16();
    x.streakMin = r.i16();
    x.streakBonus = r.i16();
    x.currentDay = r.i16();
    for (auto &v : x.prizePoints)
        v = r.i32();
    r.i16s(x.prizeRanks);
    for (auto &s : x.prizeNames)
        s = r.text(20);
    for (auto &v : x.dayPrizePoints)
        v = r.i32();
    for (auto &s : x.dayPrizeNames)
        s = r.text(20);
    for (auto &v : x.dayPrizePoints2)
        v = r.i32();
    for (auto &s : x.dayPrizeNames2)
        s = r.text(20);
    x.prizeExtra = r.i32();
    x.tieRule = r.i16();
    x.memo = r.text(20);
    x.reserved = r.i16();
    return x;
}

RulesRecord RulesRecord::firstRunDefaults()
{
    RulesRecord x;
    x.title = QStringLiteral("無題");
    x.pickCount = 7;
    x.slotPoints = {7, 6, 5, 4, 3, 2, 1, 0, 0, 0};
    x.includeTopRanks = 0;
    x.useReserve = 1;
    x.bonusType = 1;
    x.goldStarBonus = 10;
    x.silverStarBonus = 5;
    x.streakMin = 4;
    x.streakBonus = 2;
    x.currentDay = 0;
    const qint32 points[] = {30000, 18000, 10000, 5000, 3000, 3000, 3000, 3000, 3000, 3000, 3000};
    const qint16 ranks[] = {1, 2, 3, 5, 10, 15, 20, 30, 50, 100, 150};
    const char16_t *const names[]
        = {u"優勝",   u"準優勝", u"３位",   u"５位",     u"１０位",  u"１５位",
           u"２０位", u"３０位", u"５０位", u"１００位", u"１５０位"};
    for (int i = 0; i < 11; ++i) {
        x.prizePoints[i] = points[i];
        x.prizeRanks[i] = ranks[i];
        x.prizeNames[i] = QString::fromUtf16(names[i]);
    }
    x.dayPrizePoints[0] = 5000;
    x.dayPrizeNames[0] = QStringLiteral("中日累計賞");
    x.dayPrizePoints2[0] = 0;
    for (int d = 1; d <= kDays; ++d) {
        const qint32 p = (d >= 6 && d <= 10) ? 2000 : -2000;
        x.dayPrizePoints[d] = p;
        x.dayPrizePoints2[d] = p;
        x.dayPrizeNames[d] = dayDisplayName(d) + u'賞';
        x.dayPrizeNames2[d] = x.dayPrizeNames[d];
    }
    x.prizeExtra = 1000;
    x.tieRule = 0;
    x.memo = QStringLiteral(" ");
    x.reserved = 0;
    return x;
}

// ---- DailyRecords ----

QByteArray DailyRecords::encode() const
{
    Writer w(Size);
    for (const auto &a : arrays)
        w.i16s(a);
    return w.finish(Size);
}

DailyRecords DailyRecords::decode(const QByteArray &bytes)
{
    Reader r(bytes, Size, "DailyRecords");
    DailyRecords x;
    for (auto &a : x.arrays)
        r.i16s(a);
    return x;
}

DailyRecords DailyRecords::firstRunDefaults()
{
    DailyRecords x;
    for (auto &a : x.arrays)
        a.fill(-1);
    x.arrays[PerfectCountArray].fill(0);
    return x;
}

DailyRecords DailyRecords::resetValues()
{
    DailyRecords x;
    for (auto &a : x.arrays)
        a.fill(0);
    x.arrays[Riser].fill(-1);
    x.arrays[Faller].fill(-1);
    return x;
}

// ---- EntryRecord ----

QByteArray EntryRecord::encode() const
{
    Writer w(Size);
    writeMemberTexts(w, *this);
    w.i16s(picks);
    w.i16s(enteredPicks);
    w.i16s(dayPickPoints);
    w.i16s(reserveList);
    w.i16(reserve);
    w.i16s(dayGoldBonus);
    w.i16s(daySilverBonus);
    w.i16s(dayStreakBonus);
    w.i16s(daySpareArray);
    w.i16s(dayTotal);
    w.i16s(dayRank);
    w.i16s(dayScoreRank);
    w.i16s(dayWins);
    w.i16(totalScore);
    w.i16(midScore);
    return w.finish(Size);
}

EntryRecord EntryRecord::decode(const QByteArray &bytes)
{
    Reader r(bytes, Size, "EntryRecord");
    EntryRecord x;
    readMemberTexts(r, x);
    r.i16s(x.picks);
    r.i16s(x.enteredPicks);
    r.i16s(x.dayPickPoints);
    r.i16s(x.reserveList);
    x.reserve = r.i16();
    r.i16s(x.dayGoldBonus);
    r.i16s(x.daySilverBonus);
    r.i16s(x.dayStreakBonus);
    r.i16s(x.daySpareArray);
    r.i16s(x.dayTotal);
    r.i16s(x.dayRank);
    r.i16s(x.dayScoreRank);
    r.i16s(x.dayWins);
    x.totalScore = r.i16();
    x.midScore = r.i16();
    return x;
}

EntryRecord rulesPlaceholderEntry()
{
    EntryRecord x = EntryRecord::cleared();
    x.picks[0] = 42;
    return x;
}

EntryRecord EntryRecord::cleared()
{
    EntryRecord x;
    x.picks.fill(kNoWrestler);
    x.enteredPicks.fill(kNoWrestler);
    x.reserveList.fill(kNoWrestler);
    x.reserve = kNoWrestler;
    return x;
}

void EntryRecord::clearScores()
{
    dayPickPoints.fill(0);
    dayGoldBonus.fill(0);
    daySilverBonus.fill(0);
    dayStreakBonus.fill(0);
    daySpareArray.fill(0);
    dayTotal.fill(0);
    dayWins.fill(0);
    totalScore = 0;
    midScore = 0;
}

// ---- LegacyEntryRecord ----

QByteArray LegacyEntryRecord::encode() const
{
    Writer w(Size);
    writeMemberTexts(w, *this);
    w.i16s(ints);
    return w.finish(Size);
}

LegacyEntryRecord LegacyEntryRecord::decode(const QByteArray &bytes)
{
    Reader r(bytes, Size, "LegacyEntryRecord");
    LegacyEntryRecord x;
    readMemberTexts(r, x);
    r.i16s(x.ints);
    return x;
}

// ---- WrestlerRecord ----

QByteArray WrestlerRecord::encode() const
{
    Writer w(Size);
    w.text(name, 10);
    w.i16(rankCode);
    w.i16s(dayResult);
    return w.finish(Size);
}

WrestlerRecord WrestlerRecord::decode(const QByteArray &bytes)
{
    Reader r(bytes, Size, "WrestlerRecord");
    WrestlerRecord x;
    x.name = r.text(10);
    x.rankCode = r.i16();
    r.i16s(x.dayResult);
    return x;
}

// ---- BanzukeRecord ----

QByteArray BanzukeRecord::encode() const
{
    Writer w(Size);
    w.text(bashoName, 40);
    w.text(bashoCode, 40);
    for (const QString &n : names)
        w.text(n, 10);
    w.i16s(rankCodes);
    w.i16(wrestlerCount);
    return w.finish(Size);
}

BanzukeRecord BanzukeRecord::decode(const QByteArray &bytes)
{
    Reader r(bytes, Size, "BanzukeRecord");
    BanzukeRecord x;
    x.bashoName = r.text(40);
    x.bashoCode = r.text(40);
    for (auto &n : x.names)
        n = r.text(10);
    r.i16s(x.rankCodes);
    x.wrestlerCount = r.i16();
    return x;
}

// ---- RenameRecord ----

QByteArray RenameRecord::encode() const
{
    Writer w(Size);
    w.text(oldName, 10);
    w.text(newName, 10);
    return w.finish(Size);
}

RenameRecord RenameRecord::decode(const QByteArray &bytes)
{
    Reader r(bytes, Size, "RenameRecord");
    RenameRecord x;
    x.oldName = r.text(10);
    x.newName = r.text(10);
    return x;
}

// ---- PerfectRecord ----

QByteArray PerfectRecord::encode() const
{
    Writer w(Size);
    w.i16(entryIndex);
    w.i16(day);
    w.i16(dayTotal);
    w.i16(dayRank);
    w.i16(kind);
    return w.finish(Size);
}

PerfectRecord PerfectRecord::decode(const QByteArray &bytes)
{
    Reader r(bytes, Size, "PerfectRecord");
    PerfectRecord x;
    x.entryIndex = r.i16();
    x.day = r.i16();
    x.dayTotal = r.i16();
    x.dayRank = r.i16();
    x.kind = r.i16();
    return x;
}

} // namespace kc
