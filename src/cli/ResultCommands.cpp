#include "cli/Cli.h"

#include "publish/Publisher.h"
#include "scoring/CompetitionStart.h"
#include "scoring/DayConfirmation.h"
#include "scoring/ResultImport.h"
#include "scoring/ResultMarks.h"
#include "store/Phase.h"

namespace kc::cli {

namespace {

void noArguments(CommandContext &ctx, const QString &command)
{
    if (!ctx.args.isEmpty())
        throw UsageError {
            QStringLiteral("%1 に引数はありません: %2").arg(command, ctx.args.join(u' '))};
}

// False, with the refusal written, when the phase does not allow the action.
bool allowedNow(CommandContext &ctx, Action action)
{
    const QString refusal = Phase::of(ctx.contest.rules()).refusal(action);
    if (refusal.isEmpty())
        return true;
    ctx.err << refusal << Qt::endl;
    return false;
}

int dayArgument(const QString &text)
{
    const int day = intArgument(text, QStringLiteral("日"));
    if (day < 1 || day > kDays)
        throw UsageError {QStringLiteral("日は 1 から 15 で指定してください: %1").arg(text)};
    return day;
}

int receptionClose(CommandContext &ctx)
{
    noArguments(ctx, QStringLiteral("reception close"));
    if (!allowedNow(ctx, Action::CloseReception))
        return ExitRefused;
    switch (closeReception(ctx.contest, publisher::publishOnReceptionClosed)) {
    case PhaseOutcome::Done:
        ctx.out << QStringLiteral("受付を終了しました（参加者 %1 名）。")
                       .arg(ctx.contest.participantCount())
                << Qt::endl;
        return ExitOk;
    case PhaseOutcome::Declined:
        return ExitAnsweredNo;
    case PhaseOutcome::Refused:
    case PhaseOutcome::NotAvailable:
        break;
    }
    return ExitRefused;
}

int resultSet(CommandContext &ctx)
{
    if (ctx.args.size() < 2)
        throw UsageError {
            QStringLiteral("result set DAY NUMBER=MARK ... の形で指定してください。")};
    const int day = dayArgument(ctx.args.first());
    struct Change
    {
        int slot;
        int mark;
        QString word;
    };
    std::vector<Change> changes;
    for (const auto &[key, value] : keyValues(ctx.args.mid(1))) {
        const int number = intArgument(key, QStringLiteral("力士番号"));
        const auto mark = parseMark(value);
        if (!mark)
            throw UsageError {
                QStringLiteral("結果は 黒 白 銀 金 休 または 0〜4 で指定してください: %1=%2")
                    .arg(key, value)};
        changes.push_back({number - 10, *mark, key + u'=' + value});
    }
    if (!allowedNow(ctx, Action::EnterResults))
        return ExitRefused;
    int locked = 0;
    for (const Change &c : changes) {
        const MarkLock lock = setMark(ctx.contest, c.slot, day, c.mark);
        if (lock != MarkLock::None) {
            ++locked;
            ctx.err << c.word << QStringLiteral(": ") << markLockText(lock) << Qt::endl;
        }
    }
    // 閉じる: the marks are kept in Rikishi.Dat until the day is confirmed.
    if (locked < int(changes.size()))
        ctx.contest.saveWrestlers();
    ctx.out
        << QStringLiteral("%1日目: %2 件を記録しました").arg(day).arg(int(changes.size()) - locked);
    if (locked > 0)
        ctx.out << QStringLiteral("、%1 件は変更できません").arg(locked);
    ctx.out << QStringLiteral("。") << Qt::endl;
    return locked > 0 ? ExitRefused : ExitOk;
}

int resultImport(CommandContext &ctx)
{
    if (ctx.args.isEmpty() || ctx.args.size() > 2)
        throw UsageError {QStringLiteral("result import FILE [DAY] の形で指定してください。")};
    const int day = ctx.args.size() == 2 ? dayArgument(ctx.args[1])
                                         : std::min(ctx.contest.rules().currentDay + 1, int(kDays));
    if (!allowedNow(ctx, Action::EnterResults))
        return ExitRefused;
    const ResultFile file = ResultFile::readFile(ctx.args.first(), ctx.contest);
    const ResultImportOutcome outcome = applyResultFile(ctx.contest, file, day);
    if (outcome.refusal) {
        ctx.err << *outcome.refusal << Qt::endl;
        return ExitRefused;
    }
    for (const QString &l : outcome.locked)
        ctx.err << l << Qt::endl;
    // Kept in Rikishi.Dat as 閉じる keeps them; 結果確定 is still the organiser's.
    if (outcome.changed > 0)
        ctx.contest.saveWrestlers();
    ctx.out << QStringLiteral("%1日目: %2 名の結果を読み込みました（変更 %3 件")
                   .arg(day)
                   .arg(int(file.marks.size()))
                   .arg(outcome.changed);
    if (!outcome.locked.isEmpty())
        ctx.out << QStringLiteral("、変更できない %1 件").arg(outcome.locked.size());
    ctx.out << QStringLiteral("）。確定は result confirm で行います。") << Qt::endl;
    // The import took effect as far as the locks allow; what they kept is listed above.
    return ExitOk;
}

int resultConfirm(CommandContext &ctx)
{
    if (ctx.args.size() > 1)
        throw UsageError {QStringLiteral("result confirm [DAY] の形で指定してください。")};
    const RulesRecord &r = ctx.contest.rules();
    const int day = ctx.args.isEmpty() ? std::min(r.currentDay + 1, int(kDays))
                                       : dayArgument(ctx.args.first());
    if (!allowedNow(ctx, Action::EnterResults))
        return ExitRefused;
    switch (confirmDay(ctx.contest, day)) {
    case ConfirmOutcome::Confirmed: {
        const int d = ctx.contest.rules().currentDay;
        const DailyRecords &rec = ctx.contest.daily();
        ctx.out << QStringLiteral("%1を確定しました。当日最高点 %2（ID %3）")
                       .arg(dayDisplayName(d).trimmed())
                       .arg(rec.at(DailyRecords::TopScore, d))
                       .arg(rec.at(DailyRecords::TopEntry, d) + 100)
                << Qt::endl;
        return ExitOk;
    }
    case ConfirmOutcome::Declined:
        return ExitAnsweredNo;
    case ConfirmOutcome::AllConfirmed:
        ctx.err << QStringLiteral("千秋楽まで確定済です。") << Qt::endl;
        return ExitRefused;
    case ConfirmOutcome::Refused:
        break;
    }
    return ExitRefused;
}

int resultRestart(CommandContext &ctx)
{
    noArguments(ctx, QStringLiteral("result restart"));
    if (!allowedNow(ctx, Action::RestartCompetition))
        return ExitRefused;
    switch (restartCompetition(ctx.contest)) {
    case PhaseOutcome::Done:
        ctx.out << QStringLiteral("競技開始前の状態に戻しました。") << Qt::endl;
        return ExitOk;
    case PhaseOutcome::Declined:
        return ExitAnsweredNo;
    case PhaseOutcome::NotAvailable:
        ctx.err << QStringLiteral("Entry.Dat がありません。") << Qt::endl;
        return ExitRefused;
    case PhaseOutcome::Refused:
        break;
    }
    return ExitRefused;
}

} // namespace

void addResultCommands(std::vector<Command> &commands)
{
    commands.push_back({{QStringLiteral("reception"), QStringLiteral("close")},
                        QString(),
                        QStringLiteral("受付終了（確認あり）"),
                        false,
                        receptionClose});
    commands.push_back({{QStringLiteral("result"), QStringLiteral("set")},
                        QStringLiteral("DAY NUMBER=MARK ..."),
                        QStringLiteral("取組結果の入力（MARK: 黒 白 銀 金 休 または 0〜4）"),
                        false,
                        resultSet});
    commands.push_back(
        {{QStringLiteral("result"), QStringLiteral("import")},
         QStringLiteral("FILE [DAY]"),
         QStringLiteral("取組結果をファイル（JSON または 力士名,結果 の CSV）から読込"),
         false,
         resultImport});
    commands.push_back({{QStringLiteral("result"), QStringLiteral("confirm")},
                        QStringLiteral("[DAY]"),
                        QStringLiteral("結果確定（既定: 確定済の翌日）"),
                        false,
                        resultConfirm});
    commands.push_back({{QStringLiteral("result"), QStringLiteral("restart")},
                        QString(),
                        QStringLiteral("取組結果の変更（確認あり）"),
                        false,
                        resultRestart});
}

} // namespace kc::cli
