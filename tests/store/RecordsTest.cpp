#include "store/Records.h"
#include "store/Text.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace kc;

namespace {
qint16 i16At(const QByteArray &b, int offset)
{
    return qFromLittleEndian<qint16>(b.constData() + offset);
}
qint32 i32At(const QByteArray &b, int offset)
{
    return qFromLittleEndian<qint32>(b.constData() + offset);
}
QString textAt(const QByteArray &b, int offset, int width)
{
    return fieldText(b.mid(offset, width));
}
} // namespace

TEST(RulesRecordCodec, SizeAndOffsetsOfTheFirstRunDefaults)
{
    const RulesRecord r = RulesRecord::firstRunDefaults();
    const QByteArray b = r.encode();
    ASSERT_EQ(b.size(), 1430);
    EXPECT_EQ(i16At(b, 0), 0); // Flag
    EXPECT_EQ(textAt(b, 4, 20), QStringLiteral("無題"));
    EXPECT_EQ(i16At(b, 24), 7); // PickCount
    EXPECT_EQ(i16At(b, 26), 7); // SlotPoints(0)
    EXPECT_EQ(i16At(b, 38), 1); // SlotPoints(6)
    EXPECT_EQ(i16At(b, 48), 1); // UseReserve
    EXPECT_EQ(i16At(b, 52), 10); // GoldStarBonus
    EXPECT_EQ(i16At(b, 56), 4); // StreakMin
    EXPECT_EQ(i32At(b, 62), 30000); // PrizePoints(0)
    EXPECT_EQ(i32At(b, 62 + 4 * 10), 3000); // PrizePoints(10)
    EXPECT_EQ(i16At(b, 150 + 2 * 10), 150); // PrizeRanks(10)
    EXPECT_EQ(textAt(b, 194 + 20, 20), QStringLiteral("準優勝"));
    EXPECT_EQ(i32At(b, 634), 5000); // DayPrizePoints(0)
    EXPECT_EQ(i32At(b, 634 + 4 * 1), -2000);
    EXPECT_EQ(i32At(b, 634 + 4 * 6), 2000);
    EXPECT_EQ(textAt(b, 698, 20), QStringLiteral("中日累計賞"));
    EXPECT_EQ(textAt(b, 698 + 20 * 15, 20), QStringLiteral("千秋楽 賞"));
    EXPECT_EQ(i32At(b, 1018), 0); // DayPrizePoints2(0)
    EXPECT_EQ(textAt(b, 1082, 20), QString());
    EXPECT_EQ(textAt(b, 1082 + 20 * 2, 20), QStringLiteral("二日目 賞"));
    EXPECT_EQ(i32At(b, 1402), 1000); // PrizeExtra
    EXPECT_EQ(i16At(b, 1406), 0); // TieRule
    EXPECT_EQ(b.mid(1408, 20), QByteArray(20, ' ')); // Memo, a single blank padded
    EXPECT_EQ(i16At(b, 1428), 0);
}

TEST(RulesRecordCodec, RoundTripKeepsEveryField)
{
    RulesRecord r = RulesRecord::firstRunDefaults();
    r.flag = 13;
    r.rulesStart = 1;
    r.currentDay = 3;
    r.streakMin = -4;
    r.prizePoints[21] = -123456;
    r.prizeNames[21] = QStringLiteral("特別賞");
    r.tieRule = 1;
    r.reserved = 7;
    const QByteArray b = r.encode();
    const RulesRecord back = RulesRecord::decode(b);
    EXPECT_EQ(back.encode(), b);
    EXPECT_EQ(back.flag, 13);
    EXPECT_EQ(back.streakMin, -4);
    EXPECT_EQ(back.prizePoints[21], -123456);
    EXPECT_EQ(back.prizeNames[21], QStringLiteral("特別賞"));
    EXPECT_EQ(back.reserved, 7);
    EXPECT_EQ(back.memo, QString()); // trailing blanks are trimmed on reading
}

TEST(EntryRecordCodec, OffsetsAndRoundTrip)
{
    EntryRecord e = EntryRecord::cleared();
    e.shikona = QStringLiteral("朝乃山川");
    e.mail = QStringLiteral("a@b.jp");
    e.picks[0] = 12;
    e.enteredPicks[9] = 30;
    e.dayPickPoints[149] = 99;
    e.reserveList[0] = 19;
    e.reserve = 19;
    e.dayGoldBonus[0] = 10;
    e.daySilverBonus[14] = 5;
    e.dayStreakBonus[1] = 2;
    e.daySpareArray[2] = 3;
    e.dayTotal[0] = 25;
    e.dayRank[14] = 4;
    e.dayScoreRank[0] = 1;
    e.dayWins[0] = 6;
    e.totalScore = 300;
    e.midScore = 150;
    const QByteArray b = e.encode();
    ASSERT_EQ(b.size(), 752);
    EXPECT_EQ(textAt(b, 0, 16), QStringLiteral("朝乃山川"));
    EXPECT_EQ(textAt(b, 96, 50), QStringLiteral("a@b.jp"));
    EXPECT_EQ(i16At(b, 146), 12);
    EXPECT_EQ(i16At(b, 148), 43);
    EXPECT_EQ(i16At(b, 166 + 18), 30);
    EXPECT_EQ(i16At(b, 186 + 2 * 149), 99);
    EXPECT_EQ(i16At(b, 486), 19);
    EXPECT_EQ(i16At(b, 506), 19);
    EXPECT_EQ(i16At(b, 508), 10);
    EXPECT_EQ(i16At(b, 538 + 28), 5);
    EXPECT_EQ(i16At(b, 568 + 2), 2);
    EXPECT_EQ(i16At(b, 598 + 4), 3);
    EXPECT_EQ(i16At(b, 628), 25);
    EXPECT_EQ(i16At(b, 658 + 28), 4);
    EXPECT_EQ(i16At(b, 688), 1);
    EXPECT_EQ(i16At(b, 718), 6);
    EXPECT_EQ(i16At(b, 748), 300);
    EXPECT_EQ(i16At(b, 750), 150);
    EXPECT_EQ(EntryRecord::decode(b), e);
}

TEST(SmallRecordCodecs, SizesOffsetsAndRoundTrips)
{
    WrestlerRecord w;
    w.name = QStringLiteral("千代大海");
    w.rankCode = 3;
    w.dayResult[14] = 6;
    const QByteArray wb = w.encode();
    ASSERT_EQ(wb.size(), 42);
    EXPECT_EQ(i16At(wb, 10), 3);
    EXPECT_EQ(i16At(wb, 12 + 28), 6);
    EXPECT_EQ(WrestlerRecord::decode(wb), w);

    BanzukeRecord bz;
    bz.bashoName = QStringLiteral("平成14年　九月");
    bz.bashoCode = QStringLiteral("0209");
    bz.names[43] = QStringLiteral("武蔵丸");
    bz.rankCodes[1] = 4;
    bz.wrestlerCount = 40;
    const QByteArray bb = bz.encode();
    ASSERT_EQ(bb.size(), 610);
    EXPECT_EQ(textAt(bb, 40, 40), QStringLiteral("0209"));
    EXPECT_EQ(textAt(bb, 80 + 430, 10), QStringLiteral("武蔵丸"));
    EXPECT_EQ(i16At(bb, 522), 4);
    EXPECT_EQ(i16At(bb, 608), 40);
    EXPECT_EQ(BanzukeRecord::decode(bb), bz);

    const RenameRecord rn {QStringLiteral("貴乃花"), QStringLiteral("貴乃花光司")};
    ASSERT_EQ(rn.encode().size(), 20);
    EXPECT_EQ(textAt(rn.encode(), 10, 10), QStringLiteral("貴乃花光司"));
    EXPECT_EQ(RenameRecord::decode(rn.encode()), rn);

    const PerfectRecord p {3, 7, 28, 1, 2};
    const QByteArray pb = p.encode();
    ASSERT_EQ(pb.size(), 10);
    EXPECT_EQ(i16At(pb, 8), 2);
    EXPECT_EQ(PerfectRecord::decode(pb), p);

    LegacyEntryRecord l;
    l.shikona = QStringLiteral("旧形式");
    l.ints[97] = 5;
    const QByteArray lb = l.encode();
    ASSERT_EQ(lb.size(), 342);
    EXPECT_EQ(i16At(lb, 146 + 2 * 97), 5);
    EXPECT_EQ(LegacyEntryRecord::decode(lb), l);
}

TEST(DailyRecordsCodec, InitialValuesAndLayout)
{
    const QByteArray first = DailyRecords::firstRunDefaults().encode();
    ASSERT_EQ(first.size(), 300);
    EXPECT_EQ(i16At(first, 0), -1);
    EXPECT_EQ(i16At(first, 30 * 8), 0); // array 9 starts at 240
    EXPECT_EQ(i16At(first, 30 * 8 + 28), 0);
    EXPECT_EQ(i16At(first, 30 * 9), -1); // array 10
    const DailyRecords reset = DailyRecords::resetValues();
    EXPECT_EQ(reset.at(DailyRecords::TopScore, 1), 0);
    EXPECT_EQ(reset.at(DailyRecords::Riser, 15), -1);
    EXPECT_EQ(reset.at(DailyRecords::Faller, 1), -1);
    EXPECT_EQ(reset.at(DailyRecords::MaxFall, 3), 0);
    EXPECT_EQ(reset.perfectCount(), 0);
    DailyRecords d = reset;
    d.at(DailyRecords::LowEntry, 15) = 299;
    d.setPerfectCount(7);
    const QByteArray b = d.encode();
    EXPECT_EQ(i16At(b, 30 * 3 + 28), 299);
    EXPECT_EQ(i16At(b, 242), 7); // element 1 of array 9
    EXPECT_EQ(i16At(b, 240), 0);
    EXPECT_EQ(DailyRecords::decode(b), d);
}

TEST(DayNames, ColumnAndDisplayNames)
{
    EXPECT_EQ(dayColumnName(1), QStringLiteral("初日"));
    EXPECT_EQ(dayColumnName(8), QStringLiteral("中日"));
    EXPECT_EQ(dayColumnName(15), QStringLiteral("千秋楽"));
    EXPECT_EQ(dayColumnName(0), QString());
    EXPECT_EQ(dayColumnName(16), QString());
    EXPECT_EQ(dayDisplayName(2), QStringLiteral("二日目 "));
    EXPECT_EQ(dayDisplayName(8), QStringLiteral("中日 "));
}
