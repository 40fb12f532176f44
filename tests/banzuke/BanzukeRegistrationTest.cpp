#include "TestSupport.h"

#include "banzuke/BanzukeRegistration.h"
#include "store/RecordFile.h"
#include "store/Roster.h"

#include <gtest/gtest.h>

using namespace kc;
using kc::test::TempContest;

namespace {

RankCounts counts(int y, int o, int s, int k, int m)
{
    RankCounts c;
    c.n = {y, o, s, k, m};
    return c;
}

BanzukeRecord namedRecord(const QString &prefix, int count)
{
    BanzukeRecord r;
    r.bashoName = QStringLiteral("令和7年　九月");
    r.bashoCode = QStringLiteral("2509");
    for (int i = 0; i < count; ++i)
        r.names[i] = prefix + QString::number(i);
    return r;
}

} // namespace

TEST(BanzukeRegistrationLayout, DefaultCountsGiveTheDefaultBanzuke)
{
    const NamesPanelLayout layout = registration::layoutFor(counts(2, 5, 2, 2, 29));
    EXPECT_EQ(layout.rows, 21);
    EXPECT_EQ(layout.boxCount, 40);
    EXPECT_EQ(layout.groupRows, (std::array<int, 5> {1, 3, 1, 1, 15}));
    EXPECT_EQ(layout.labels[0], u"横綱");
    EXPECT_EQ(layout.labels[1], u"大関");
    EXPECT_TRUE(layout.labels[2].isEmpty());
    EXPECT_TRUE(layout.labels[3].isEmpty());
    EXPECT_EQ(layout.labels[4], u"関脇");
    EXPECT_EQ(layout.labels[5], u"小結");
    EXPECT_EQ(layout.labels[6], u"前1");
    EXPECT_EQ(layout.labels[20], u"前15");
    EXPECT_TRUE(layout.labels[21].isEmpty());

    // The third ōzeki row holds only an east box.
    int onRow3 = 0;
    for (int slot = 0; slot < layout.boxCount; ++slot)
        if (layout.boxRow[slot] == 3)
            ++onRow3;
    EXPECT_EQ(onRow3, 1);
    EXPECT_EQ(layout.boxRow[6], 3);
    EXPECT_TRUE(layout.boxEast[6]);
    EXPECT_EQ(layout.boxRow[7], 4); // first sekiwake on a new row
    EXPECT_EQ(layout.rankCode[6], 3);
    EXPECT_EQ(layout.rankCode[7], 2);
    EXPECT_EQ(layout.rankCode[11], 0);

    // The same places as the banzuke layout of the default roster.
    Roster roster;
    roster.installDefault();
    roster.takeInitialNames();
    const BanzukeLayout banzuke = computeLayout(roster);
    for (int slot = 0; slot < 40; ++slot)
        EXPECT_EQ(banzuke.positionOfSlot(slot),
                  2 * layout.boxRow[slot] + (layout.boxEast[slot] ? 0 : 1))
            << "slot " << slot;
    EXPECT_EQ(banzuke.labels, layout.labels);
}

TEST(BanzukeRegistrationLayout, EmptyRanksTakeNoRows)
{
    const NamesPanelLayout layout = registration::layoutFor(counts(0, 3, 0, 1, 6));
    EXPECT_EQ(layout.labels[0], u"大関");
    EXPECT_EQ(layout.labels[2], u"小結");
    EXPECT_EQ(layout.labels[3], u"前1");
    EXPECT_EQ(layout.rows, 6);
    EXPECT_EQ(layout.boxRow[3], 2);
    EXPECT_EQ(layout.rankCode[3], 1);
}

TEST(BanzukeRegistrationCounts, LimitsAndTypedText)
{
    EXPECT_FALSE(registration::checkCounts(counts(2, 4, 2, 2, 32)));
    EXPECT_FALSE(registration::checkCounts(counts(0, 0, 0, 0, 42)));
    EXPECT_EQ(registration::checkCounts(counts(2, 4, 2, 2, 33)).value_or(QString()),
              u"登録できる力士数は42名までです。");
    EXPECT_EQ(registration::checkCounts(counts(0, 0, 0, 0, 43)).value_or(QString()),
              u"登録できる力士数は42名までです。");
    // Negative counts would give negative rows.
    EXPECT_TRUE(registration::checkCounts(counts(-2, 2, 2, 2, 30)));
    // 42 wrestlers in odd groups need 23 rows: no place for the last one.
    const auto tooTall = registration::checkCounts(counts(1, 1, 1, 1, 38));
    ASSERT_TRUE(tooTall);
    EXPECT_TRUE(tooTall->contains(u"22段"));
    EXPECT_FALSE(registration::checkCounts(counts(1, 1, 1, 1, 36)));

    const RankCounts typed
        = RankCounts::fromTexts({QStringLiteral("2"), QStringLiteral("abc"), QStringLiteral(" ３"),
                                 QStringLiteral("2.5"), QStringLiteral("99999")});
    EXPECT_EQ(typed.n, (std::array<int, 5> {2, 0, 3, 2, 32767}));
    EXPECT_TRUE(registration::checkCounts(typed));
}

TEST(BanzukeRegistrationSave, AnsweredNoWritesNothing)
{
    TempContest tc;
    Contest &c = tc.open();
    tc.prompter.answers = {false};
    EXPECT_FALSE(
        registration::save(c, namedRecord(QStringLiteral("力士"), 10), counts(1, 2, 2, 2, 3)));
    EXPECT_EQ(tc.prompter.questions, QStringList {QStringLiteral("番付をﾌｧｲﾙに登録します。")});
    EXPECT_FALSE(QFile::exists(tc.dataFile(QStringLiteral("Banzuke.Dat"))));
    EXPECT_EQ(c.roster().wrestlerCount, 40);
}

TEST(BanzukeRegistrationSave, WritesTheRecordAndReloadsTheRoster)
{
    TempContest tc;
    Contest &c = tc.open();
    BanzukeRecord r = namedRecord(QStringLiteral("力士"), 12);
    r.names[11] = QStringLiteral("残り"); // beyond the count: not stored
    ASSERT_TRUE(registration::save(c, r, counts(1, 2, 2, 2, 4)));

    const QByteArray bytes = kc::test::readBytes(tc.dataFile(QStringLiteral("Banzuke.Dat")));
    ASSERT_EQ(bytes.size(), 610);
    const BanzukeRecord stored = BanzukeRecord::decode(bytes);
    EXPECT_EQ(stored.wrestlerCount, 11);
    EXPECT_EQ(stored.bashoName.trimmed(), u"令和7年　九月");
    EXPECT_EQ(stored.bashoCode.trimmed(), u"2509");
    EXPECT_EQ(stored.names[0].trimmed(), u"力士0");
    EXPECT_TRUE(stored.names[11].trimmed().isEmpty());
    EXPECT_EQ((std::array<qint16, 5> {stored.rankCodes[0], stored.rankCodes[1], stored.rankCodes[3],
                                      stored.rankCodes[5], stored.rankCodes[10]}),
              (std::array<qint16, 5> {4, 3, 2, 1, 0}));

    EXPECT_EQ(c.roster().wrestlerCount, 11);
    EXPECT_EQ(c.roster().name(4), u"力士4");
    EXPECT_EQ(c.roster().name(11), QString());
    EXPECT_EQ(c.roster().bashoCode.trimmed(), u"2509");

    Contest &again = tc.open();
    EXPECT_EQ(again.roster().wrestlerCount, 11);
    EXPECT_EQ(again.roster().name(10), u"力士10");
}

TEST(BanzukeRegistrationSave, AStaleRikishiFileDoesNotHideTheNewBanzuke)
{
    TempContest tc;
    Contest &c = tc.open();
    c.saveWrestlers(); // the default roster's 40 records
    ASSERT_TRUE(registration::save(c, namedRecord(QStringLiteral("新"), 6), counts(0, 2, 0, 0, 4)));
    EXPECT_EQ(kc::test::readBytes(tc.dataFile(QStringLiteral("Rikishi.Dat"))).size(), 6 * 42);
    Contest &again = tc.open();
    EXPECT_EQ(again.roster().wrestlerCount, 6);
    EXPECT_EQ(again.roster().name(0), u"新0");
    EXPECT_EQ(again.roster().wrestlers[0].rankCode, 3);
}

TEST(BanzukeRegistrationSave, ReadStored)
{
    TempContest tc;
    Contest &c = tc.open();
    EXPECT_FALSE(registration::readStored(c));
    ASSERT_TRUE(
        registration::save(c, namedRecord(QStringLiteral("力士"), 3), counts(0, 0, 0, 0, 3)));
    const auto stored = registration::readStored(c);
    ASSERT_TRUE(stored);
    EXPECT_EQ(RankCounts::of(*stored), counts(0, 0, 0, 0, 3));
}
