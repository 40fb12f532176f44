#include "cli/Cli.h"

#include "banzuke/Roster.h"

#include <QJsonArray>
#include <QJsonObject>

namespace kc::cli {

namespace {

int banzukeShow(CommandContext &ctx)
{
    if (!ctx.args.isEmpty())
        throw UsageError {
            QStringLiteral("banzuke show に引数はありません: %1").arg(ctx.args.join(u' '))};
    const Roster &roster = ctx.contest.roster();
    const BanzukeLayout layout = computeLayout(roster);
    QJsonArray rows;
    if (!ctx.json)
        ctx.out << QStringLiteral("%1（%2）  %3名  %4段\n")
                       .arg(roster.bashoName, roster.bashoCode)
                       .arg(roster.wrestlerCount)
                       .arg(layout.rows);
    for (int slot = 0; slot < roster.wrestlerCount && slot < kRosterSlots; ++slot) {
        const int pos = layout.positionOfSlot(slot);
        const int row = pos >= 0 ? pos / 2 : -1;
        // The label of the rank group's first row names the rank for every row of it.
        QString label = row >= 0 ? layout.labels[row] : QString();
        for (int r = row; label.isEmpty() && r > 0; --r)
            label = layout.labels[r - 1];
        const WrestlerRecord &w = roster.wrestlers[slot];
        QString marks;
        QJsonArray markArray;
        for (qint16 m : w.dayResult) {
            marks += QString::number(m);
            markArray.append(m);
        }
        const QString side
            = pos >= 0 ? (pos % 2 == 0 ? QStringLiteral("東") : QStringLiteral("西")) : QString();
        if (ctx.json) {
            rows.append(
                QJsonObject {{QStringLiteral("number"), slot + 10},
                             {QStringLiteral("name"), roster.name(slot)},
                             {QStringLiteral("initialName"), roster.initialNames[slot].trimmed()},
                             {QStringLiteral("rankCode"), w.rankCode},
                             {QStringLiteral("rank"), rankName(w.rankCode)},
                             {QStringLiteral("label"), label},
                             {QStringLiteral("row"), row + 1},
                             {QStringLiteral("side"), side},
                             {QStringLiteral("marks"), markArray}});
        } else {
            ctx.out << QStringLiteral("%1  %2 %3  %4 %5  %6段 %7  %8\n")
                           .arg(slot + 10)
                           .arg(roster.name(slot).leftJustified(6, QChar(0x3000)),
                                roster.initialNames[slot].trimmed().leftJustified(6, QChar(0x3000)))
                           .arg(w.rankCode)
                           .arg(label.leftJustified(3, QChar(0x3000)))
                           .arg(row + 1, 2)
                           .arg(side, marks);
        }
    }
    if (ctx.json)
        ctx.printJson(QJsonObject {{QStringLiteral("bashoName"), roster.bashoName},
                                   {QStringLiteral("bashoCode"), roster.bashoCode},
                                   {QStringLiteral("wrestlerCount"), roster.wrestlerCount},
                                   {QStringLiteral("rows"), layout.rows},
                                   {QStringLiteral("wrestlers"), rows}});
    else
        ctx.out.flush();
    return ExitOk;
}

} // namespace

void addBanzukeCommands(std::vector<Command> &commands)
{
    commands.push_back({{QStringLiteral("banzuke"), QStringLiteral("show")},
                        QString(),
                        QStringLiteral("番付（番号、名前、初期名、地位、東西、15日の結果）"),
                        true,
                        banzukeShow});
}

} // namespace kc::cli
