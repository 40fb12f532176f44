#include "cli/Cli.h"
#include "store/EntryTable.h"

#include "entries/EntryImport.h"
#include "entries/EntryRegistration.h"
#include "entries/PreviousImport.h"
#include "store/RecordSet.h"

#include <QJsonArray>
#include <QJsonObject>
#include <map>

namespace kc::cli {

namespace {

const QStringList kFieldOptions {
    QStringLiteral("--shikona"), QStringLiteral("--furigana"), QStringLiteral("--member"),
    QStringLiteral("--birth"),   QStringLiteral("--tel"),      QStringLiteral("--fax"),
    QStringLiteral("--mail"),    QStringLiteral("--picks"),    QStringLiteral("--reserve")};

// "--key VALUE" and "--key=VALUE"; throws UsageError for anything else.
std::map<QString, QString> entryOptions(const QStringList &args)
{
    std::map<QString, QString> out;
    for (int i = 0; i < args.size(); ++i) {
        QString key = args[i], value;
        const qsizetype eq = key.indexOf(u'=');
        if (key.startsWith(QStringLiteral("--")) && eq > 0) {
            value = key.mid(eq + 1);
            key = key.left(eq);
        } else if (kFieldOptions.contains(key)) {
            if (i + 1 >= args.size())
                throw UsageError {QStringLiteral("%1 に値を指定してください。").arg(key)};
            value = args[++i];
        }
        if (!kFieldOptions.contains(key))
            throw UsageError {QStringLiteral("不明なオプションです: %1").arg(args[i])};
        out[key] = value;
    }
    return out;
}

void applyOptions(EntryForm &form, const std::map<QString, QString> &options, int pickCount)
{
    for (const auto &[key, value] : options) {
        if (key == u"--shikona")
            form.shikona = value;
        else if (key == u"--furigana")
            form.furigana = value;
        else if (key == u"--member")
            form.memberName = value;
        else if (key == u"--birth")
            form.birth = value;
        else if (key == u"--tel")
            form.tel = value;
        else if (key == u"--fax")
            form.fax = value;
        else if (key == u"--mail")
            form.mail = value;
        else if (key == u"--reserve")
            form.reserve = value.trimmed();
        else if (key == u"--picks") {
            const QStringList numbers = value.split(u',');
            if (numbers.size() > pickCount)
                throw UsageError {
                    QStringLiteral("--picks の力士は %1 名までです: %2").arg(pickCount).arg(value)};
            for (auto &p : form.picks)
                p.clear();
            for (int i = 0; i < numbers.size(); ++i)
                form.picks[i] = numbers[i].trimmed();
        }
    }
}

// The refusal of the windows, on standard error.
int refuse(CommandContext &ctx, const QString &message)
{
    ctx.err << message << Qt::endl;
    return ExitRefused;
}

int entryIndex(CommandContext &ctx, const QString &text)
{
    const int id = intArgument(text, QStringLiteral("ID"));
    const int index = id - 100;
    if (index < 0 || index >= ctx.contest.participantCount())
        return -1;
    return index;
}

int entryAdd(CommandContext &ctx)
{
    EntryRegistration reg(ctx.contest);
    EntryForm form;
    applyOptions(form, entryOptions(ctx.args), ctx.contest.rules().pickCount);
    if (const QString why = reg.closedReason(); !why.isEmpty())
        return refuse(ctx, why);
    const auto result = reg.add(form);
    if (!result.validation.ok())
        return refuse(ctx, result.validation.message);
    ctx.out << result.index + 100 << Qt::endl;
    return ExitOk;
}

int entryImportCsv(CommandContext &ctx)
{
    if (ctx.args.size() != 1)
        throw UsageError {QStringLiteral("entry import-csv にはファイルを一つ指定してください。")};
    const EntryImportOutcome out = importEntries(ctx.contest, ctx.args.first());
    if (!out.refusal.isEmpty())
        return refuse(ctx, out.refusal);
    for (const QString &r : out.read.refusals)
        ctx.err << r << Qt::endl;
    const int added = int(out.read.forms.size());
    if (added > 0)
        ctx.out << QStringLiteral("%1 名を登録しました（ID %2〜%3）")
                       .arg(added)
                       .arg(out.firstId)
                       .arg(out.firstId + added - 1);
    else
        ctx.out << QStringLiteral("登録できる申込はありませんでした");
    if (!out.read.refusals.isEmpty())
        ctx.out << QStringLiteral("。%1 行は受け付けませんでした").arg(out.read.refusals.size());
    ctx.out << QStringLiteral("。") << Qt::endl;
    return out.read.refusals.isEmpty() ? ExitOk : ExitRefused;
}

int entryUpdate(CommandContext &ctx)
{
    if (ctx.args.isEmpty())
        throw UsageError {QStringLiteral("entry update には ID を指定してください。")};
    EntryRegistration reg(ctx.contest);
    const auto options = entryOptions(ctx.args.mid(1));
    const int index = entryIndex(ctx, ctx.args[0]);
    if (const QString why = reg.closedReason(); !why.isEmpty())
        return refuse(ctx, why);
    if (index < 0)
        return refuse(ctx, QStringLiteral("ID %1 の参加者はいません。").arg(ctx.args[0]));
    EntryForm form = reg.formOf(index);
    applyOptions(form, options, ctx.contest.rules().pickCount);
    const auto result = reg.update(index, form);
    if (!result.ok())
        return refuse(ctx, result.message);
    return ExitOk;
}

int entryDelete(CommandContext &ctx)
{
    if (ctx.args.size() != 1)
        throw UsageError {QStringLiteral("entry delete には ID を一つ指定してください。")};
    EntryRegistration reg(ctx.contest);
    const int index = entryIndex(ctx, ctx.args[0]);
    if (const QString why = reg.closedReason(); !why.isEmpty())
        return refuse(ctx, why);
    if (index < 0)
        return refuse(ctx, QStringLiteral("ID %1 の参加者はいません。").arg(ctx.args[0]));
    return ctx.askedResult(reg.remove(index));
}

QJsonArray slotNumbers(const std::array<qint16, kMaxPicks> &numbers, int count)
{
    QJsonArray a;
    for (int i = 0; i < count; ++i)
        a.append(numbers[i] == kNoWrestler ? QJsonValue() : QJsonValue(numbers[i] + 10));
    return a;
}

QString slotText(const std::array<qint16, kMaxPicks> &numbers, int count)
{
    QStringList parts;
    for (int i = 0; i < count; ++i)
        parts << (numbers[i] == kNoWrestler ? QStringLiteral("-")
                                            : QString::number(numbers[i] + 10));
    return parts.join(u',');
}

int entryList(CommandContext &ctx)
{
    if (!ctx.args.isEmpty())
        throw UsageError {
            QStringLiteral("entry list に引数はありません: %1").arg(ctx.args.join(u' '))};
    Contest &c = ctx.contest;
    const int pickCount = std::clamp<int>(c.rules().pickCount, 0, kMaxPicks);
    std::map<int, int> rankById;
    RecordSet rs(c.database(), entrytable::name);
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        rankById[rs.intValue(entrytable::column::id)] = rs.intValue(entrytable::column::rank);
    QJsonArray list;
    for (int k = 0; k < c.participantCount(); ++k) {
        const EntryRecord &e = c.entries()[k];
        const int rank = rankById.count(k + 100) ? rankById[k + 100] : 0;
        const QJsonValue reserve
            = e.reserve == kNoWrestler ? QJsonValue() : QJsonValue(e.reserve + 10);
        if (ctx.json) {
            list.append(QJsonObject {
                {QStringLiteral("id"), k + 100},
                {QStringLiteral("shikona"), e.shikona},
                {QStringLiteral("furigana"), e.furigana},
                {QStringLiteral("member"), e.memberName},
                {QStringLiteral("birth"), e.birth},
                {QStringLiteral("tel"), e.tel},
                {QStringLiteral("fax"), e.fax},
                {QStringLiteral("mail"), e.mail},
                {QStringLiteral("enteredPicks"), slotNumbers(e.enteredPicks, pickCount)},
                {QStringLiteral("picks"), slotNumbers(e.picks, pickCount)},
                {QStringLiteral("reserve"), reserve},
                {QStringLiteral("reserveList"), slotNumbers(e.reserveList, kMaxPicks)},
                {QStringLiteral("total"), e.totalScore},
                {QStringLiteral("mid"), e.midScore},
                {QStringLiteral("rank"), rank}});
        } else {
            ctx.out << QStringLiteral(
                           "%1  %2（%3）  会員名 %4  登録 %5  現在 %6  予備 %7  補充 %8  "
                           "合計 %9  中日計 %10  順位 %11\n")
                           .arg(k + 100)
                           .arg(e.shikona, e.furigana, e.memberName,
                                slotText(e.enteredPicks, pickCount), slotText(e.picks, pickCount),
                                e.reserve == kNoWrestler ? QStringLiteral("-")
                                                         : QString::number(e.reserve + 10),
                                slotText(e.reserveList, kMaxPicks))
                           .arg(e.totalScore)
                           .arg(e.midScore)
                           .arg(rank);
        }
    }
    if (ctx.json)
        ctx.printJson(list);
    else
        ctx.out.flush();
    return ExitOk;
}

int entryImport(CommandContext &ctx)
{
    if (ctx.args.size() != 1)
        throw UsageError {QStringLiteral("entry import には ranking か ids を指定してください。")};
    ImportSource source;
    if (ctx.args[0] == u"ranking")
        source = ImportSource::Ranking;
    else if (ctx.args[0] == u"ids")
        source = ImportSource::Ids;
    else
        throw UsageError {QStringLiteral("entry import には ranking か ids を指定してください: %1")
                              .arg(ctx.args[0])};
    const ImportResult r = importPrevious(ctx.contest, source);
    switch (r.outcome) {
    case ImportResult::Imported:
        ctx.out << QStringLiteral("%1 名を取り込みました。").arg(r.count) << Qt::endl;
        return ExitOk;
    case ImportResult::MissingFile:
        return ExitRefused; // the message went through the prompter
    case ImportResult::AnsweredNo:
        return ExitAnsweredNo;
    case ImportResult::Refused:
        break;
    }
    return refuse(ctx, r.message);
}

} // namespace

void addEntryCommands(std::vector<Command> &commands)
{
    const QString options = QStringLiteral(
        "[--shikona S] [--furigana F] [--member M] [--birth B] [--tel T] [--fax X] "
        "[--mail E] [--picks N,N,...] [--reserve N]");
    commands.push_back({{QStringLiteral("entry"), QStringLiteral("add")},
                        options,
                        QStringLiteral("追加: 参加者を登録し、新しい ID を表示"),
                        false,
                        entryAdd});
    commands.push_back(
        {{QStringLiteral("entry"), QStringLiteral("import-csv")},
         QStringLiteral("FILE"),
         QStringLiteral("申込の CSV から一括登録（受け付けない行は行番号と理由を表示）"),
         false,
         entryImportCsv});
    commands.push_back({{QStringLiteral("entry"), QStringLiteral("update")},
                        QStringLiteral("ID ") + options,
                        QStringLiteral("更新: 指定した項目を置き換える"),
                        false,
                        entryUpdate});
    commands.push_back({{QStringLiteral("entry"), QStringLiteral("delete")},
                        QStringLiteral("ID"),
                        QStringLiteral("削除（確認あり）"),
                        false,
                        entryDelete});
    commands.push_back({{QStringLiteral("entry"), QStringLiteral("list")},
                        QString(),
                        QStringLiteral("参加者の一覧（選択力士、予備力士、得点、順位）"),
                        true,
                        entryList});
    commands.push_back({{QStringLiteral("entry"), QStringLiteral("import")},
                        QStringLiteral("ranking|ids"),
                        QStringLiteral("先場所ﾃﾞｰﾀの取り込み（確認あり）"),
                        false,
                        entryImport});
}

} // namespace kc::cli
