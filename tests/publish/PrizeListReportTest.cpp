#include "TestSupport.h"

#include "publish/PrizeListReport.h"
#include "rules/PrizeTable.h"
#include "store/RecordSet.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

std::vector<PrizeListRow> sampleRows()
{
    return {
        {QStringLiteral("優勝"), QStringLiteral("　朝日山  "), 105, 1234, 30000},
        {QStringLiteral("準優勝"), QStringLiteral("北の湖"), 117, 987, 1600},
        {QStringLiteral("３位"), QStringLiteral("若葉"), 100, 5, 999},
        {QStringLiteral("中日累計賞ＡＢＣＤＥＦＧＨＩＪＫＬ"), QStringLiteral(" "), 0, 0, 5000},
        {QStringLiteral("六日目 賞"), QStringLiteral("高見"), 143, 42, 2000},
    };
}

TEST(PrizeListReport, TitlesByDay)
{
    EXPECT_EQ(prizelist::title(QStringLiteral("平成14年　九月"), 15),
              u"平成14年　九月  各賞受賞者一覧 （最終版）               ");
    EXPECT_EQ(prizelist::title(QStringLiteral("平成14年　九月"), 8),
              u"平成14年　九月  各賞受賞者一覧　(8日目終了時点)");
    EXPECT_EQ(prizelist::title(QStringLiteral("X"), 0), u"X  各賞受賞者一覧　(0日目終了時点)");
}

TEST(PrizeListReport, PointsAndScoreAlignment)
{
    EXPECT_EQ(prizelist::pointsText(1600), u"  1,600");
    EXPECT_EQ(prizelist::pointsText(999), u"    999");
    EXPECT_EQ(prizelist::pointsText(5000), u"  5,000");
    EXPECT_EQ(prizelist::pointsText(30000), u" 30,000");
    EXPECT_EQ(prizelist::pointsText(500), u"    500");
    EXPECT_EQ(prizelist::pointsText(1234567), u"1,234,567"); // longer, but never cut
    EXPECT_EQ(prizelist::scoreX(5), 6600 + 294);
    EXPECT_EQ(prizelist::scoreX(42), 6600 + 196);
    EXPECT_EQ(prizelist::scoreX(987), 6600 + 98);
    EXPECT_EQ(prizelist::scoreX(1234), 6600);
    EXPECT_EQ(prizelist::scoreX(12345), 6600);
}

TEST(PrizeListReport, ItemsAtTheirPositions)
{
    const PrintDocument doc = buildPrizeList(QStringLiteral("平成14年　九月"), 15, sampleRows());
    ASSERT_EQ(doc.pageCount(), 1);
    for (const PrintItem &t : doc.texts(0)) {
        EXPECT_EQ(t.fontFamily, u"ＭＳ 明朝");
        EXPECT_EQ(t.fontSize, 11);
        EXPECT_FALSE(t.bold);
    }
    const PrintItem *title = textAt(doc, 2800, 830);
    ASSERT_TRUE(title);
    EXPECT_EQ(title->text, u"平成14年　九月  各賞受賞者一覧 （最終版）               ");
    const std::pair<int, const char16_t *> headings[] = {
        {2000, u"賞位名"}, {4300, u"しこな"}, {5800, u"ID"}, {6600, u"得点"}, {7500, u"賞位ﾎﾟｲﾝﾄ"}};
    for (const auto &[x, text] : headings) {
        const PrintItem *h = textAt(doc, x, 1130);
        ASSERT_TRUE(h) << x;
        EXPECT_EQ(h->text, QString::fromUtf16(text));
    }
    // Row 0: a winner with a four-digit score.
    EXPECT_EQ(textAt(doc, 1300, 1430)->text, u"優勝");
    EXPECT_EQ(textAt(doc, 5800, 1430)->text, u"105");
    EXPECT_EQ(textAt(doc, 4100, 1430)->text, u"朝日山");
    EXPECT_EQ(textAt(doc, 6600, 1430)->text, u"1234");
    EXPECT_EQ(textAt(doc, 7800, 1430)->text, u" 30,000");
    // Row 1: 1600 points, a three-digit score.
    EXPECT_EQ(textAt(doc, 6698, 1730)->text, u"987");
    EXPECT_EQ(textAt(doc, 7800, 1730)->text, u"  1,600");
    // Row 2: ID 100 is a winner; 999 points.
    EXPECT_EQ(textAt(doc, 6894, 2030)->text, u"5");
    EXPECT_EQ(textAt(doc, 7800, 2030)->text, u"    999");
    // Row 3: no winner, the first 16 characters of the name only.
    EXPECT_EQ(textAt(doc, 1300, 2330)->text, u"中日累計賞ＡＢＣＤＥＦＧＨＩＪＫ");
    EXPECT_FALSE(textAt(doc, 5800, 2330));
    EXPECT_FALSE(textAt(doc, 7800, 2330));
    EXPECT_EQ(textAt(doc, 6796, 2630)->text, u"42");
    // 6 headings + title, 4 winners x 5 texts, 1 name only.
    EXPECT_EQ(doc.texts(0).size(), 6u + 20u + 1u);
}

TEST(PrizeListReport, RuledTableHasOneBandPerTwoLinesPlusOne)
{
    const PrintDocument doc = buildPrizeList(QStringLiteral("場所"), 3, sampleRows());
    std::vector<PrintItem> boxes, lines;
    for (const PrintItem &item : doc.pages().front().items) {
        if (item.kind == PrintItem::Kind::Box)
            boxes.push_back(item);
        if (item.kind == PrintItem::Kind::Line)
            lines.push_back(item);
    }
    // 5 rows: 2.5 rounds to 2 (half to even), plus one.
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].x, 800);
    EXPECT_EQ(boxes[0].y, 1400);
    EXPECT_EQ(boxes[2].x2, 9000);
    EXPECT_EQ(boxes[2].y2, 1400 + 3 * 600);
    EXPECT_FALSE(boxes[0].filled);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].x, 3800);
    EXPECT_EQ(lines[3].x, 7200);
    EXPECT_EQ(lines[1].y2, 3200);
}

TEST(PrizeListReport, ReadsThePrizeTableInStoredOrder)
{
    test::TempContest tc;
    Contest &c = tc.open();
    c.rules().currentDay = 9;
    c.rules().prizeRanks[1] = 0; // 準優勝 on rank 0 sorts first, but is stored second
    buildPrizeTable(c);
    RecordSet prize(c.database(), QStringLiteral("PRIZE"));
    prize.setFilter(QStringLiteral("表示順 = 1000006"));
    prize.moveFirst();
    prize.setValue(QStringLiteral("ID"), 112);
    prize.setValue(QStringLiteral("しこな"), QStringLiteral("勝ち越し"));
    prize.setValue(QStringLiteral("得点"), 31);
    prize.update();

    const PrintDocument doc = buildPrizeList(c);
    EXPECT_EQ(textAt(doc, 2800, 830)->text, u"平成14年　九月  各賞受賞者一覧　(9日目終了時点)");
    EXPECT_EQ(textAt(doc, 1300, 1430)->text, u"優勝");
    EXPECT_EQ(textAt(doc, 1300, 1730)->text, u"準優勝");
    // Defaults: 11 rank prizes, 中日累計賞, days 6..10 — day 6 is row 12.
    const int y = 1430 + 300 * 12;
    EXPECT_EQ(textAt(doc, 1300, y)->text, u"六日目 賞");
    EXPECT_EQ(textAt(doc, 4100, y)->text, u"勝ち越し");
    EXPECT_EQ(textAt(doc, 7800, y)->text, u"  2,000");
}

} // namespace
