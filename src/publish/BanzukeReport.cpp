#include "publish/BanzukeReport.h"

#include "publish/RulesText.h"
#include "store/Contest.h"
#include "store/Phase.h"
#include "store/Roster.h"

namespace kc {

namespace {
const QString kFont = QStringLiteral("ＭＳ 明朝");
constexpr int kLine = 300;
constexpr int kTextPitch = 240; // the rules text, at size 10
constexpr int kPageBottom = 16838 - 600; // A4 in twips, less a bottom margin
constexpr int kGap = 40; // between a text's end and the next column's rule
constexpr int kPageRight = 11400; // the forms' right edge, the rules text's too

int lineY(int line)
{
    return kLine * line + 850;
}

// A ruled cell around the text of `line`, from x1 to x2.
void cell(PrintDocument &doc, int line, int x1, int x2)
{
    doc.box(x1, lineY(line) - 30, x2, lineY(line) + kLine - 30, Qt::black, false);
}
} // namespace

namespace banzukereport {

QString refusal(const RulesRecord &rules)
{
    // The window's command checks only that the rules are decided; the menu
    // item is greyed in the other phases.
    const Phase phase = Phase::of(rules);
    return phase.rulesDecided() ? QString() : phase.refusal(Action::PrintBanzuke);
}

QString rowRank(const Roster &roster, int row)
{
    const BanzukeLayout layout = computeLayout(roster);
    if (row < 0 || row >= layout.rows)
        return {};
    if (!layout.labels[row].isEmpty())
        return layout.labels[row];
    for (int pos : {2 * row, 2 * row + 1})
        if (layout.slotAt[pos] >= 0)
            return rankName(roster.wrestlers[layout.slotAt[pos]].rankCode);
    return {};
}

} // namespace banzukereport

PrintDocument buildBanzukeReport(const RulesRecord &rules, const Roster &roster,
                                 const QString &rulesText)
{
    PrintDocument doc(QStringLiteral("番付表"));
    doc.setFont(kFont, false);
    const BanzukeLayout layout = computeLayout(roster);
    const QString name = roster.bashoName.trimmed();

    // The banzuke.
    doc.text(2200, lineY(0), 11, name, 6100 - kGap);
    doc.text(1650, lineY(1), 11, QStringLiteral("東"));
    doc.text(3050, lineY(1), 11, QStringLiteral("幕内"));
    doc.text(4650, lineY(1), 11, QStringLiteral("西"));
    const int columns[] {900, 1550, 3000, 4050, 5350, 5900};
    for (int line = 2; line < 3 + layout.rows; ++line)
        for (int c = 0; c + 1 < 6; ++c)
            cell(doc, line, columns[c], columns[c + 1]);
    doc.text(1000, lineY(2), 10, QStringLiteral("No"));
    doc.text(1700, lineY(2), 10, QStringLiteral("力士名"));
    doc.text(3050, lineY(2), 10, QStringLiteral("格付"));
    doc.text(4200, lineY(2), 10, QStringLiteral("力士名"));
    doc.text(5500, lineY(2), 10, QStringLiteral("No"));
    for (int r = 0; r < layout.rows; ++r) {
        const int y = lineY(3 + r);
        if (layout.numbers[2 * r] != 999)
            doc.text(950, y, 10, QString::number(layout.numbers[2 * r]));
        doc.text(1600, y, 10, layout.names[2 * r], columns[2] - kGap);
        doc.text(3050, y, 10, banzukereport::rowRank(roster, r), columns[3] - kGap);
        doc.text(4100, y, 10, layout.names[2 * r + 1], columns[4] - kGap);
        if (layout.numbers[2 * r + 1] != 999)
            doc.text(5400, y, 10, QString::number(layout.numbers[2 * r + 1]));
    }

    // Entry form A: the member's details.
    constexpr int formLeft = 6100, formRight = kPageRight;
    doc.text(6200, lineY(0), 11, name + QStringLiteral(" 参加申込書 Ａ"), formRight);
    const QString fields[] {QStringLiteral("氏名"), QStringLiteral("住所"), QStringLiteral("TEL"),
                            QStringLiteral("FAX"), QStringLiteral("ﾒｰﾙｱﾄﾞﾚｽ")};
    for (int i = 0; i < 5; ++i) {
        cell(doc, 2 + i, formLeft, 7400);
        cell(doc, 2 + i, 7400, formRight);
        doc.text(6200, lineY(2 + i), 10, fields[i]);
    }

    // Entry form B: the name and the picks.
    constexpr int formB = 9;
    doc.text(6200, lineY(formB), 11, name + QStringLiteral(" 参加申込書 Ｂ"), formRight);
    cell(doc, formB + 1, formLeft, 7400);
    cell(doc, formB + 1, 7400, formRight);
    doc.text(6700, lineY(formB + 1), 10, QStringLiteral("しこな"));
    const int picks = std::clamp<int>(rules.pickCount, 0, 10);
    const int formRows = picks + (rules.reserveInUse() ? 1 : 0);
    for (int line = formB + 2; line < formB + 3 + formRows; ++line) {
        cell(doc, line, formLeft, 7000);
        cell(doc, line, 7000, 8000);
        cell(doc, line, 8000, formRight);
    }
    doc.text(6250, lineY(formB + 2), 10, QStringLiteral("点数"));
    doc.text(7010, lineY(formB + 2), 10, QStringLiteral("力士番号"));
    doc.text(8650, lineY(formB + 2), 10, QStringLiteral("力士名"));
    for (int k = 0; k < picks; ++k)
        doc.text(6150, lineY(formB + 3 + k), 10,
                 QString::number(rules.slotPoints[k]) + QStringLiteral("点力士"));
    if (rules.reserveInUse())
        doc.text(6150, lineY(formB + 3 + picks), 10, QStringLiteral("補充力士"));

    // The rules below both, a line apart.
    int y = lineY(std::max(3 + layout.rows, formB + 3 + formRows) + 1);
    for (const QString &text : rulesText.split(QStringLiteral("\r\n"))) {
        if (y + kTextPitch > kPageBottom) { // never printed off the paper
            doc.newPage();
            y = lineY(0);
        }
        doc.text(0, y, 10, text, kPageRight);
        y += kTextPitch;
    }
    return doc;
}

PrintDocument buildBanzukeReport(Contest &contest)
{
    return buildBanzukeReport(contest.rules(), contest.roster(),
                              explainRules(contest.rules()).plain);
}

} // namespace kc
