#include "publish/ResultListReport.h"
#include "store/EntryTable.h"

#include "publish/EntryListReport.h"
#include "store/Contest.h"
#include "store/RecordSet.h"

namespace kc {

namespace {
const QString kFont = QStringLiteral("ＭＳ 明朝");
constexpr int kPitch = 240;
constexpr int kLeft = 800;
constexpr int kRight = 4240 + 400 * kDays;
const QColor kYellow(255, 255, 0); // FFFF as the printer's blue-green-red value
const int kColumns[] {kLeft, 1400, 2600, 3050, 3650, 4260};
constexpr int kGap = 40; // between a text's end and the next column's rule
} // namespace

std::vector<ResultListRow> readResultListRows(Contest &contest, ResultOrder order)
{
    RecordSet rs(contest.database(), entrytable::name);
    rs.setSort(order == ResultOrder::Id ? entrytable::byId : entrytable::byRank);
    std::vector<ResultListRow> rows;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        ResultListRow row;
        row.rank = rs.intValue(entrytable::column::rank);
        row.shikona = rs.textValue(entrytable::column::shikona);
        row.id = rs.intValue(entrytable::column::id);
        row.total = rs.intValue(entrytable::column::total);
        row.mid = rs.intValue(entrytable::column::midTotal);
        for (int d = 1; d <= kDays; ++d)
            row.days[d - 1] = rs.intValue(entrytable::column::day(d));
        rows.push_back(row);
    }
    return rows;
}

namespace resultlist {

QString title(const QString &bashoName, int currentDay, int page, int pages)
{
    const QString middle = currentDay == kDays
        ? QStringLiteral("  集計結果 （最終版）                (")
        : QStringLiteral("  集計結果　(") + QString::number(currentDay)
            + QStringLiteral("日目終了時点）             (");
    return bashoName + middle + reportpage::pageMark(page, pages);
}

int dayScoreX(int day, int score)
{
    return 4310 + 400 * (day - 1) + (score >= 0 && score <= 9 ? 70 : 0);
}

} // namespace resultlist

PrintDocument buildResultList(const QString &bashoName, const RulesRecord &rules,
                              const std::vector<ResultListRow> &rows)
{
    PrintDocument doc(QStringLiteral("集計結果"));
    doc.setFont(kFont, false);
    const int tallied = std::clamp<int>(rules.currentDay, 0, kDays);
    std::array<int, kDays> best {};
    int bestMid = 0;
    for (int d = 0; d < tallied; ++d)
        for (std::size_t i = 0; i < rows.size(); ++i)
            best[d] = i == 0 ? rows[i].days[d] : std::max(best[d], rows[i].days[d]);
    for (std::size_t i = 0; i < rows.size(); ++i)
        bestMid = i == 0 ? rows[i].mid : std::max(bestMid, rows[i].mid);
    const bool markMid = tallied >= 8 && rules.dayPrizePoints[0] > 0;

    const int n = int(rows.size());
    const int pages = reportpage::pageCount(n);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            doc.newPage();
        const int first = page * reportpage::kPerPage;
        const int last = std::min(n, first + reportpage::kPerPage);
        const int top = reportpage::lineY(1) - 20;
        const int bottom = reportpage::lineY(last - first + 2) - 20;
        for (int line = 1; line <= last - first + 2; ++line)
            doc.line(kLeft, reportpage::lineY(line) - 20, kRight, reportpage::lineY(line) - 20);
        for (int x : kColumns)
            doc.line(x, top, x, bottom);
        for (int d = 1; d <= kDays; ++d)
            doc.line(4240 + 400 * d, top, 4240 + 400 * d, bottom);

        doc.text(3000, 830, 9, resultlist::title(bashoName, tallied, page + 1, pages),
                 kPortraitRight);
        const int headY = reportpage::lineY(1) - 20;
        doc.text(860, headY, 8, QStringLiteral("順位"));
        doc.text(1460, headY, 8, QStringLiteral("しこな"));
        doc.text(2660, headY, 8, QStringLiteral("ID"));
        doc.text(3110, headY, 8, QStringLiteral("合計点"));
        doc.text(3710, headY, 8, QStringLiteral("中日計"));
        for (int d = 1; d <= kDays; ++d)
            doc.text(4350 + 400 * (d - 1), headY, 8, QString::number(d));

        for (int i = first; i < last; ++i) {
            const ResultListRow &row = rows[i];
            const int y = reportpage::lineY(reportpage::lineOf(i));
            const int cellTop = y - 20;
            doc.text(860, y, 8, QString::number(row.rank), kColumns[1] - kGap);
            doc.text(1460, y, 8, row.shikona, kColumns[2] - kGap);
            doc.text(2660, y, 8, QString::number(row.id), kColumns[3] - kGap);
            doc.text(3110, y, 8, QString::number(row.total), kColumns[4] - kGap);
            if (markMid && row.mid == bestMid)
                doc.box(3650, cellTop, 4260, cellTop + kPitch, kYellow, true);
            doc.text(3710, y, 8, QString::number(row.mid), kColumns[5] - kGap);
            for (int d = 1; d <= tallied; ++d) {
                const int score = row.days[d - 1];
                if (rules.dayPrizePoints[d] > 0 && score == best[d - 1])
                    doc.box(4260 + 400 * (d - 1), cellTop, 4240 + 400 * d, cellTop + kPitch,
                            kYellow, true);
                doc.text(resultlist::dayScoreX(d, score), y, 8, QString::number(score));
            }
        }
    }
    return doc;
}

PrintDocument buildResultList(Contest &contest, ResultOrder order)
{
    PrintDocument doc = buildResultList(contest.roster().bashoName, contest.rules(),
                                        readResultListRows(contest, order));
    // The title names the printed file: the two orders must not overwrite each other.
    doc.setTitle(order == ResultOrder::Id ? QStringLiteral("集計結果・受付順")
                                          : QStringLiteral("集計結果・得点順"));
    return doc;
}

} // namespace kc
