#include "publish/EntryListReport.h"
#include "store/EntryTable.h"

#include "store/Contest.h"
#include "store/Phase.h"
#include "store/RecordSet.h"

namespace kc {

namespace {
const QString kFont = QStringLiteral("ＭＳ Ｐ明朝");
constexpr int kPitch = 240;
constexpr int kLeft = 800;
constexpr int kIdLeft = 1850;
constexpr int kPicksLeft = 2280;
constexpr int kSlot = 800;
const QColor kBand(0xDC, 0xF9, 0xFF); // FFF9DC as the printer's blue-green-red value
constexpr int kGap = 40; // between a text's end and the next column's rule

// The right edge a text of pick slot k must end before.
int slotEnd(int k)
{
    return kPicksLeft + kSlot * (k + 1) - kGap;
}
} // namespace

std::vector<EntryListRow> readEntryListRows(Contest &contest)
{
    RecordSet rs(contest.database(), entrytable::name);
    rs.setSort(entrytable::byId);
    std::vector<EntryListRow> rows;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        EntryListRow row;
        row.id = rs.intValue(entrytable::column::id);
        row.shikona = rs.textValue(entrytable::column::shikona);
        for (int k = 0; k < 10; ++k)
            row.picks[k] = rs.textValue(entrytable::column::pick(k));
        row.reserve = rs.textValue(entrytable::column::reserve);
        rows.push_back(row);
    }
    return rows;
}

namespace reportpage {

int pageCount(int participants)
{
    return std::max(1, (participants + kPerPage - 1) / kPerPage);
}

int lineY(int line)
{
    return line * kPitch + 850;
}

int lineOf(int index)
{
    return index % kPerPage + 2;
}

QString pageMark(int page, int pages)
{
    return QStringLiteral("%1/%2)").arg(page).arg(pages);
}

} // namespace reportpage

namespace entrylist {

QString title(const QString &bashoName, bool receptionClosed, int page, int pages)
{
    // Interim until the reception closes: entries can still come in before that.
    const QString middle = !receptionClosed
        ? QStringLiteral("  参加者リスト （途中経過）              (")
        : QStringLiteral("  参加者リスト　(最終版）             (");
    return bashoName + middle + reportpage::pageMark(page, pages);
}

} // namespace entrylist

PrintDocument buildEntryList(const QString &bashoName, const RulesRecord &rules,
                             const std::vector<EntryListRow> &rows)
{
    PrintDocument doc(QStringLiteral("参加者リスト"));
    doc.setFont(kFont, false);
    const int picks = std::clamp<int>(rules.pickCount, 0, 10);
    const int right = kPicksLeft + kSlot * (picks + 1);
    const int n = int(rows.size());
    const int pages = reportpage::pageCount(n);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            doc.newPage();
        const int lines = std::min(reportpage::kPerPage, n - page * reportpage::kPerPage) + 2;
        // Cells run from 20 twips above a line's text; the heading line is shaded.
        const int top = reportpage::lineY(1) - 20, bottom = reportpage::lineY(lines) - 20;
        doc.box(kLeft, top, right, top + kPitch, kBand, true);
        for (int line = 1; line <= lines; ++line)
            doc.line(kLeft, reportpage::lineY(line) - 20, right, reportpage::lineY(line) - 20);
        for (int x : {kLeft, kIdLeft})
            doc.line(x, top, x, bottom);
        for (int k = 0; k <= picks + 1; ++k)
            doc.line(kPicksLeft + kSlot * k, top, kPicksLeft + kSlot * k, bottom);

        doc.setBold(false);
        doc.text(3000, 830, 9,
                 entrylist::title(bashoName, Phase::of(rules).receptionClosed(), page + 1, pages),
                 kPortraitRight);
        const int headY = reportpage::lineY(1) - 20;
        doc.text(860, headY, 8, QStringLiteral("しこな"));
        doc.text(1910, headY, 8, QStringLiteral("ID"));
        for (int k = 0; k < picks; ++k)
            doc.text(2360 + kSlot * k, headY, 8,
                     QString::number(rules.slotPoints[k]) + QStringLiteral("点力士"), slotEnd(k));
        doc.text(2360 + kSlot * picks, headY, 8, QStringLiteral("予備力士"), slotEnd(picks));

        for (int i = page * reportpage::kPerPage;
             i < std::min(n, (page + 1) * reportpage::kPerPage); ++i) {
            const EntryListRow &row = rows[i];
            const int y = reportpage::lineY(reportpage::lineOf(i));
            doc.setBold(true);
            // The whole name, made smaller to fit: 16 half-width characters at the least.
            doc.text(860, y, 8, row.shikona, kIdLeft - kGap / 2);
            doc.setBold(false);
            doc.text(1910, y, 7, QString::number(row.id), kPicksLeft - kGap);
            for (int k = 0; k < picks; ++k)
                doc.text(2360 + kSlot * k, y, 8, row.picks[k], slotEnd(k));
            doc.text(2360 + kSlot * picks, y, 8, row.reserve, slotEnd(picks));
        }
    }
    return doc;
}

PrintDocument buildEntryList(Contest &contest)
{
    return buildEntryList(contest.roster().bashoName, contest.rules(), readEntryListRows(contest));
}

} // namespace kc
