#include "TestSupport.h"

#include "publish/BanzukeReport.h"
#include "publish/EntryListReport.h"
#include "publish/PdfRenderer.h"
#include "publish/ResultListReport.h"
#include "store/Roster.h"

#include <gtest/gtest.h>

using namespace kc;

namespace {

RulesRecord sevenPicks(int currentDay)
{
    RulesRecord r = RulesRecord::firstRunDefaults();
    r.pickCount = 7;
    r.flag = 19;
    r.currentDay = qint16(currentDay);
    return r;
}

QStringList titles(const PrintDocument &doc)
{
    QStringList out;
    for (int p = 0; p < doc.pageCount(); ++p)
        for (const PrintItem &t : doc.texts(p))
            if (t.x == 3000 && t.y == 830)
                out << t.text.right(5);
    return out;
}

// Yellow boxes as (row, column): column 0 for 中日計, else the day.
std::vector<std::pair<int, int>> yellowCells(const PrintDocument &doc)
{
    std::vector<std::pair<int, int>> out;
    for (const PrintItem &i : doc.pages().front().items)
        if (i.kind == PrintItem::Kind::Box && i.colour == QColor(255, 255, 0) && i.filled)
            out.emplace_back((i.y + 20 - 850) / 240 - 2, i.x == 3650 ? 0 : (i.x - 4260) / 400 + 1);
    return out;
}

} // namespace

TEST(ListReports, PagesOf58WithPageNumbersInTheTitles)
{
    // Participants, and the page marks ending the titles.
    const std::pair<int, QString> cases[] {
        {0, u"(1/1)"_qs}, {58, u"(1/1)"_qs}, {59, u"(1/2)(2/2)"_qs}, {117, u"(1/3)(2/3)(3/3)"_qs}};
    for (const auto &[participants, marks] : cases) {
        std::vector<EntryListRow> entries(participants);
        std::vector<ResultListRow> results(participants);
        for (int i = 0; i < participants; ++i)
            entries[i].id = results[i].id = 100 + i;
        const PrintDocument list = buildEntryList(u"場所"_qs, sevenPicks(3), entries);
        const PrintDocument tally = buildResultList(u"場所"_qs, sevenPicks(3), results);
        EXPECT_EQ(titles(list).join(QString()), marks) << participants;
        EXPECT_EQ(titles(tally).join(QString()), marks) << participants;
        if (participants > 0) { // the last participant on the last line of its page
            EXPECT_EQ(list.texts(list.pageCount() - 1).back().y,
                      ((participants - 1) % 58 + 2) * 240 + 850);
        }
        EXPECT_EQ(test::pdfPageCount(PdfRenderer::toPdf(tally)), int(marks.count(u'/')));
    }
}

TEST(ListReports, TitleVariants)
{
    EXPECT_EQ(entrylist::title(u"秋場所"_qs, false, 1, 1),
              u"秋場所  参加者リスト （途中経過）              (1/1)");
    // Entries still come in while the reception is open (phase 3).
    EXPECT_EQ(entrylist::title(u"秋場所"_qs, false, 2, 3),
              u"秋場所  参加者リスト （途中経過）              (2/3)");
    EXPECT_EQ(entrylist::title(u"秋場所"_qs, true, 2, 3),
              u"秋場所  参加者リスト　(最終版）             (2/3)");
    EXPECT_EQ(resultlist::title(u"秋場所"_qs, 15, 1, 1),
              u"秋場所  集計結果 （最終版）                (1/1)");
    EXPECT_EQ(resultlist::title(u"秋場所"_qs, 8, 1, 2),
              u"秋場所  集計結果　(8日目終了時点）             (1/2)");
}

TEST(ListReports, BestDayScoresOnYellowWhereTheDayHasAPrize)
{
    RulesRecord r = sevenPicks(9);
    r.dayPrizePoints.fill(-2000);
    r.dayPrizePoints[1] = 2000; // day 1 and the 中日計 have prizes, day 2 not
    r.dayPrizePoints[0] = 5000;
    std::vector<ResultListRow> rows(3);
    rows[0].days = {10, 30, 4};
    rows[1].days = {12, 5, 4};
    rows[2].days = {12, 40, 1};
    rows[0].mid = 90;
    rows[1].mid = 70;
    rows[2].mid = 90;
    const PrintDocument doc = buildResultList(u"場所"_qs, r, rows);
    // Ties share the box: rows 1 and 2 on day 1, rows 0 and 2 on 中日計.
    const std::vector<std::pair<int, int>> expected {{0, 0}, {1, 1}, {2, 0}, {2, 1}};
    EXPECT_EQ(yellowCells(doc), expected);
    r.currentDay = 7; // before day 8 the 中日計 is not marked
    EXPECT_EQ(yellowCells(buildResultList(u"場所"_qs, r, rows)),
              (std::vector<std::pair<int, int>> {{1, 1}, {2, 1}}));
    EXPECT_EQ(resultlist::dayScoreX(1, 7), 4380);
    EXPECT_EQ(resultlist::dayScoreX(2, 17), 4710);
}

TEST(BanzukeReport, RefusedBeforeTheRulesRanksOnEveryRowRulesTextPaged)
{
    RulesRecord r = sevenPicks(0);
    EXPECT_EQ(banzukereport::refusal(r), u""_qs);
    r.flag = 0;
    EXPECT_EQ(banzukereport::refusal(r),
              u"ルールが決定していません。印刷するにはルールを決定する必要があります。");
    Roster roster;
    roster.installDefault();
    // Default roster: one yokozuna row, then three ōzeki rows, the third east only.
    EXPECT_EQ(banzukereport::rowRank(roster, 1), u"大関");
    EXPECT_EQ(banzukereport::rowRank(roster, 3), u"大関");
    EXPECT_EQ(banzukereport::rowRank(roster, 6), u"前1");
    const std::pair<int, int> cases[] {{1, 1}, {30, 1}, {60, 2}}; // rules lines, pages
    for (const auto &[lines, pages] : cases) {
        QStringList text;
        for (int i = 0; i < lines; ++i)
            text << QStringLiteral("規則%1").arg(i);
        const PrintDocument doc = buildBanzukeReport(r, roster, text.join(u"\r\n"_qs));
        EXPECT_EQ(doc.pageCount(), pages) << lines;
        EXPECT_EQ(doc.texts(doc.pageCount() - 1).back().text, text.last());
        EXPECT_EQ(test::pdfPageCount(PdfRenderer::toPdf(doc)), pages);
    }
}
