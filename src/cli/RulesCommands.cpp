#include "cli/Cli.h"

#include "publish/PdfRenderer.h"
#include "publish/PrizeListReport.h"
#include "publish/RulesText.h"
#include "rules/RuleSettings.h"
#include "store/Phase.h"
#include "store/RecordSet.h"
#include "store/Text.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace kc::cli {

namespace {

int exitFor(const ActionResult &result)
{
    switch (result.outcome) {
    case Outcome::Done:
        return ExitOk;
    case Outcome::AnsweredNo:
        return ExitAnsweredNo;
    case Outcome::Refused:
    case Outcome::NotApplicable:
        break;
    }
    return ExitRefused;
}

void noArguments(const CommandContext &ctx, const QString &command)
{
    if (!ctx.args.isEmpty())
        throw UsageError {
            QStringLiteral("%1 に引数はありません: %2").arg(command, ctx.args.join(u' '))};
}

int flagArgument(const QString &text, const QString &key)
{
    const int v = intArgument(text, key);
    if (v != 0 && v != 1)
        throw UsageError {QStringLiteral("%1 は 0 か 1 で指定してください: %2").arg(key, text)};
    return v;
}

QString dayPrizeLabel(int d)
{
    return d == 0 ? QStringLiteral("中日累計賞") : dayColumnName(d);
}

// ---- rules ----

int rulesShow(CommandContext &ctx)
{
    noArguments(ctx, QStringLiteral("rules show"));
    const RulesRecord &r = ctx.contest.rules();
    QJsonArray slotArray;
    QStringList slotTexts;
    for (qint16 p : r.slotPoints) {
        slotArray.append(p);
        slotTexts << QString::number(p);
    }
    if (ctx.json) {
        ctx.printJson(QJsonObject {{QStringLiteral("PickCount"), r.pickCount},
                                   {QStringLiteral("SlotPoints"), slotArray},
                                   {QStringLiteral("IncludeTopRanks"), r.includeTopRanks},
                                   {QStringLiteral("UseReserve"), r.useReserve},
                                   {QStringLiteral("BonusType"), r.bonusType},
                                   {QStringLiteral("GoldStarBonus"), r.goldStarBonus},
                                   {QStringLiteral("SilverStarBonus"), r.silverStarBonus},
                                   {QStringLiteral("StreakMin"), r.streakMin},
                                   {QStringLiteral("StreakBonus"), r.streakBonus},
                                   {QStringLiteral("TieRule"), r.tieRule},
                                   {QStringLiteral("Flag"), r.flag},
                                   {QStringLiteral("decided"), Phase::of(r).rulesDecided()}});
        return ExitOk;
    }
    const QString unit = r.fixedStarBonus() ? QStringLiteral("点") : QStringLiteral("倍");
    QTextStream &o = ctx.out;
    o << QStringLiteral("選択力士数 (PickCount): ") << r.pickCount << u'\n';
    o << QStringLiteral("点数 (SlotPoints): ") << slotTexts.join(u',') << u'\n';
    o << QStringLiteral("横綱、大関を含める（1名のみ） (IncludeTopRanks): ") << r.includeTopRanks
      << u'\n';
    o << QStringLiteral("補充力士を設定する (UseReserve): ") << r.useReserve << u'\n';
    o << QStringLiteral("金星、銀星ﾎﾞｰﾅｽ (BonusType): ") << r.bonusType
      << (r.fixedStarBonus() ? QStringLiteral(" 単純加算ﾀｲﾌﾟ") : QStringLiteral(" 倍数加算ﾀｲﾌﾟ"))
      << u'\n';
    o << QStringLiteral("金星 (GoldStarBonus): ") << r.goldStarBonus << unit << u'\n';
    o << QStringLiteral("銀星 (SilverStarBonus): ") << r.silverStarBonus << unit << u'\n';
    o << QStringLiteral("連勝ﾎﾞｰﾅｽ (StreakMin): ") << r.streakMin
      << (r.streakMin > 0 ? QStringLiteral("連勝で") : QStringLiteral(" （設定しない）")) << u'\n';
    o << QStringLiteral("連勝ﾎﾞｰﾅｽの得点 (StreakBonus): ") << r.streakBonus
      << QStringLiteral("点、以後1勝毎に加算") << u'\n';
    o << QStringLiteral("同点の場合の処理 (TieRule): ") << r.tieRule
      << (r.tieRule != 0 ? QStringLiteral(" IDの小さい方を優先") : QStringLiteral(" 乱数で抽選"))
      << u'\n';
    o << QStringLiteral("ルール決定: ")
      << (Phase::of(r).rulesDecided() ? QStringLiteral("済 (Flag = %1)").arg(r.flag)
                                      : QStringLiteral("未"))
      << Qt::endl;
    return ExitOk;
}

// Lines end as on the terminal; the file and window texts keep CRLF.
int rulesText(CommandContext &ctx)
{
    noArguments(ctx, QStringLiteral("rules text"));
    QString text = explainRules(ctx.contest.rules()).plain;
    ctx.out << text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ctx.out.flush();
    return ExitOk;
}

int rulesSet(CommandContext &ctx)
{
    const auto pairs = keyValues(ctx.args);
    if (pairs.empty())
        throw UsageError {QStringLiteral("rules set には KEY=VALUE を指定してください。")};
    Contest &c = ctx.contest;
    RuleSettings settings = RuleSettings::of(c.rules(), c.participantCount());
    static const QStringList keys {
        QStringLiteral("PickCount"),       QStringLiteral("SlotPoints"),
        QStringLiteral("IncludeTopRanks"), QStringLiteral("UseReserve"),
        QStringLiteral("BonusType"),       QStringLiteral("GoldStarBonus"),
        QStringLiteral("SilverStarBonus"), QStringLiteral("StreakMin"),
        QStringLiteral("StreakBonus"),     QStringLiteral("TieRule")};
    for (const auto &[key, value] : pairs)
        if (!keys.contains(key))
            throw UsageError {QStringLiteral("不明なキーです: %1（使えるキー: %2）")
                                  .arg(key, keys.join(QStringLiteral(", ")))};
    if (!Phase::of(c.rules()).allows(Action::ChangeRules)) {
        c.prompter().tell(
            {Phase::of(c.rules()).refusal(Action::ChangeRules), QString(), Icon::None});
        return ExitRefused;
    }
    // The count first: a count in range gives the picks n, n-1, ..., 1 points,
    // and the points given replace that fill.
    for (const auto &[key, value] : pairs) {
        if (key != u"PickCount")
            continue;
        const int n = intArgument(value, key);
        settings.pickCount = n;
        for (int i = 0; i < n && i < kMaxPicks; ++i)
            settings.slotPoints[i] = n - i;
    }
    for (const auto &[key, value] : pairs) {
        if (key == u"SlotPoints") {
            const QStringList parts = value.split(u',');
            if (parts.size() > kMaxPicks)
                throw UsageError {QStringLiteral("SlotPoints は10個までです: %1").arg(value)};
            for (int i = 0; i < parts.size(); ++i)
                settings.slotPoints[i] = intArgument(parts[i], key);
        } else if (key == u"IncludeTopRanks") {
            settings.includeTopRanks = flagArgument(value, key) == 1;
        } else if (key == u"UseReserve") {
            settings.useReserve = flagArgument(value, key) == 1;
        } else if (key == u"BonusType") {
            settings.fixedStarBonus = flagArgument(value, key) == 1;
        } else if (key == u"GoldStarBonus") {
            settings.goldStar = intArgument(value, key);
        } else if (key == u"SilverStarBonus") {
            settings.silverStar = intArgument(value, key);
        } else if (key == u"StreakMin") {
            const int v = intArgument(value, key);
            settings.streakOn = v > 0;
            settings.streakLength = std::abs(v);
        } else if (key == u"StreakBonus") {
            settings.streakBonus = intArgument(value, key);
        } else if (key == u"TieRule") {
            settings.smallerIdFirst = flagArgument(value, key) == 1;
        }
    }
    return exitFor(saveRules(c, settings));
}

int rulesDecide(CommandContext &ctx)
{
    noArguments(ctx, QStringLiteral("rules decide"));
    Contest &c = ctx.contest;
    const ActionResult result = decideRules(c, RuleSettings::of(c.rules(), c.participantCount()));
    if (result.outcome == Outcome::NotApplicable)
        c.prompter().tell(
            {Phase::of(c.rules()).refusal(Action::DecideRules), QString(), Icon::None});
    return exitFor(result);
}

// ---- prizes ----

QString numberOrEmpty(double v)
{
    return v != 0 ? QString::number(qint64(v)) : QString();
}

int prizesShow(CommandContext &ctx)
{
    noArguments(ctx, QStringLiteral("prizes show"));
    const int count = ctx.contest.participantCount();
    const RuleSettings settings = RuleSettings::of(ctx.contest.rules(), count);
    const qint64 total = prizeTotal(settings);
    const QString totalText = formatThousands(total);
    const QString perParticipant
        = count != 0 ? formatThousands(qint64(std::round(double(total) / count))) : QString();
    auto offered = [](const PrizeSetting &p) { return p.on && !p.waiting; };
    if (ctx.json) {
        QJsonArray rows, days;
        for (int i = 0; i < kPrizeRows; ++i) {
            const PrizeSetting &p = settings.prizes[i];
            rows.append(QJsonObject {{QStringLiteral("row"), i},
                                     {QStringLiteral("on"), offered(p)},
                                     {QStringLiteral("rank"), int(p.rank)},
                                     {QStringLiteral("name"), p.name},
                                     {QStringLiteral("points"), qint64(p.points)}});
        }
        for (int d = 0; d < kDayPrizes; ++d)
            days.append(
                QJsonObject {{QStringLiteral("day"), d},
                             {QStringLiteral("label"), dayPrizeLabel(d)},
                             {QStringLiteral("on"), settings.dayPrizes[d].on},
                             {QStringLiteral("points"), qint64(settings.dayPrizes[d].points)}});
        ctx.printJson(QJsonObject {
            {QStringLiteral("ranks"), rows},
            {QStringLiteral("days"), days},
            {QStringLiteral("total"), totalText},
            {QStringLiteral("participants"), count},
            {QStringLiteral("perParticipant"), perParticipant},
            {QStringLiteral("decided"), Phase::of(ctx.contest.rules()).prizesDecided()}});
        return ExitOk;
    }
    QTextStream &o = ctx.out;
    o << QStringLiteral("明確な順位によるもの（行  順位  賞位名  ﾎﾟｲﾝﾄ）\n");
    for (int i = 0; i < kPrizeRows; ++i) {
        const PrizeSetting &p = settings.prizes[i];
        o << QStringLiteral("%1 %2 %3  %4  %5\n")
                 .arg(i, 2)
                 .arg(offered(p) ? QStringLiteral("[x]") : QStringLiteral("[ ]"))
                 .arg(numberOrEmpty(p.rank), 4)
                 .arg(p.name.leftJustified(10, QChar(0x3000)))
                 .arg(QString::number(qint64(p.points)), 7);
    }
    o << QStringLiteral("その他（当日賞）\n");
    for (int d = 0; d < kDayPrizes; ++d)
        o << QStringLiteral("%1 %2 %3  %4\n")
                 .arg(d, 2)
                 .arg(settings.dayPrizes[d].on ? QStringLiteral("[x]") : QStringLiteral("[ ]"))
                 .arg(dayPrizeLabel(d).leftJustified(5, QChar(0x3000)))
                 .arg(QString::number(qint64(settings.dayPrizes[d].points)), 7);
    o << QStringLiteral("賞位ﾎﾟｲﾝﾄ 合計: ") << totalText << u'\n';
    o << QStringLiteral("参加人数: ") << count << u'\n';
    o << QStringLiteral("一人あたりの配分ﾎﾟｲﾝﾄ: ") << perParticipant << u'\n';
    o << QStringLiteral("賞位決定: ")
      << (Phase::of(ctx.contest.rules()).prizesDecided() ? QStringLiteral("済")
                                                         : QStringLiteral("未"))
      << Qt::endl;
    return ExitOk;
}

int indexIn(const QString &text, int last, const QString &key)
{
    const int i = intArgument(text, key);
    if (i < 0 || i > last)
        throw UsageError {
            QStringLiteral("%1 の番号は 0..%2 です: %3").arg(key).arg(last).arg(text)};
    return i;
}

bool offSuffix(QStringList &parts, int plain, const QString &key)
{
    if (parts.size() == plain + 1) {
        const QString s = parts.takeLast().trimmed();
        if (s == u"off")
            return true;
        if (s == u"on")
            return false;
        throw UsageError {QStringLiteral("%1 の最後は off（または on）です: %2").arg(key, s)};
    }
    if (parts.size() != plain)
        throw UsageError {QStringLiteral("%1 の値の形が正しくありません").arg(key)};
    return false;
}

int prizesSet(CommandContext &ctx)
{
    const auto pairs = keyValues(ctx.args);
    if (pairs.empty())
        throw UsageError {QStringLiteral("prizes set には KEY=VALUE を指定してください。")};
    Contest &c = ctx.contest;
    const int count = c.participantCount();
    RuleSettings settings = RuleSettings::of(c.rules(), count);
    struct RankChange
    {
        int row;
        QString rank, name;
        int points;
        bool on;
    };
    std::vector<RankChange> ranks;
    std::vector<std::pair<int, DayPrizeSetting>> days;
    for (const auto &[key, value] : pairs) {
        if (key.startsWith(QStringLiteral("rank."))) {
            QStringList parts = value.split(u',');
            const bool off = offSuffix(parts, 3, key);
            const int row = indexIn(key.mid(5), kPrizeRows - 1, QStringLiteral("rank"));
            const QString rank = parts[0].trimmed();
            if (!rank.isEmpty())
                intArgument(rank, key);
            ranks.push_back({row, rank, parts[1].trimmed(), intArgument(parts[2], key), !off});
        } else if (key.startsWith(QStringLiteral("day."))) {
            QStringList parts = value.split(u',');
            const bool off = offSuffix(parts, 1, key);
            const int d = indexIn(key.mid(4), kDayPrizes - 1, QStringLiteral("day"));
            days.emplace_back(d, DayPrizeSetting {!off, double(intArgument(parts[0], key))});
        } else {
            throw UsageError {
                QStringLiteral("不明なキーです: %1（rank.I=順位,賞位名,ﾎﾟｲﾝﾄ[,off] または "
                               "day.D=ﾎﾟｲﾝﾄ[,off]）")
                    .arg(key)};
        }
    }
    if (!Phase::of(c.rules()).allows(Action::ChangePrizes)) {
        c.prompter().tell(
            {Phase::of(c.rules()).refusal(Action::ChangePrizes), QString(), Icon::None});
        return ExitRefused;
    }
    for (const RankChange &ch : ranks) {
        PrizeSetting &p = settings.prizes[ch.row];
        p.rank = val(ch.rank);
        p.name = ch.name;
        p.points = ch.points;
        switchPrize(settings, ch.row, ch.on, count);
        // A row without a rank stays off; one ranked below the field waits for it.
        if (ch.on && !p.on)
            ctx.err << QStringLiteral(
                           "rank.%1: 順位 （なし） は参加人数(%2)を上回るため、オフのままです。")
                           .arg(ch.row)
                           .arg(count)
                    << Qt::endl;
        else if (p.waiting)
            ctx.err << QStringLiteral(
                           "rank.%1: 順位 %2 は参加人数(%3)を上回るため、参加人数が"
                           "届くまで賞位になりません（賞位決定の時の人数で決まります）。")
                           .arg(ch.row)
                           .arg(ch.rank)
                           .arg(count)
                    << Qt::endl;
    }
    for (const auto &[d, day] : days)
        settings.dayPrizes[d] = day;
    return exitFor(saveRules(c, settings));
}

int prizesDecide(CommandContext &ctx)
{
    noArguments(ctx, QStringLiteral("prizes decide"));
    Contest &c = ctx.contest;
    return exitFor(decidePrizes(c, RuleSettings::of(c.rules(), c.participantCount())));
}

int prizesList(CommandContext &ctx)
{
    noArguments(ctx, QStringLiteral("prizes list"));
    RecordSet rs(ctx.contest.database(), QStringLiteral("PRIZE"));
    rs.setSort(QStringLiteral("表示順 ASC"));
    QJsonArray rows;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const QString name = rs.textValue(QStringLiteral("賞位"));
        const QString shikona = rs.textValue(QStringLiteral("しこな")).trimmed();
        const int id = rs.intValue(QStringLiteral("ID"));
        const int score = rs.intValue(QStringLiteral("得点"));
        const qint64 points = rs.value(QStringLiteral("ポイント")).toLongLong();
        if (ctx.json) {
            rows.append(QJsonObject {
                {QStringLiteral("prize"), name},
                {QStringLiteral("shikona"), shikona},
                {QStringLiteral("id"), id},
                {QStringLiteral("score"), score},
                {QStringLiteral("points"), points},
                {QStringLiteral("order"), rs.value(QStringLiteral("表示順")).toLongLong()}});
        } else {
            ctx.out << QStringLiteral("%1  %2  %3  %4  %5\n")
                           .arg(name.leftJustified(10, QChar(0x3000)))
                           .arg(shikona.leftJustified(8, QChar(0x3000)))
                           .arg(id > 99 ? QString::number(id) : QString(), 3)
                           .arg(id > 99 ? QString::number(score) : QString(), 4)
                           .arg(formatThousands(points), 7);
        }
    }
    if (ctx.json)
        ctx.printJson(rows);
    else
        ctx.out.flush();
    return ExitOk;
}

int printPrizes(CommandContext &ctx)
{
    return printToPdf(ctx, QStringLiteral("prizes"), [](Contest &c) { return buildPrizeList(c); });
}

} // namespace

void addRulesCommands(std::vector<Command> &commands)
{
    commands.push_back({{QStringLiteral("rules"), QStringLiteral("show")},
                        QString(),
                        QStringLiteral("ルールの設定"),
                        true,
                        rulesShow});
    commands.push_back({{QStringLiteral("rules"), QStringLiteral("text")},
                        QString(),
                        QStringLiteral("ルールの説明（参加者向けの文章）"),
                        false,
                        rulesText});
    commands.push_back({{QStringLiteral("rules"), QStringLiteral("set")},
                        QStringLiteral("KEY=VALUE ..."),
                        QStringLiteral("ルールの登録（ルール決定後は不可）"),
                        false,
                        rulesSet});
    commands.push_back({{QStringLiteral("rules"), QStringLiteral("decide")},
                        QString(),
                        QStringLiteral("ルール決定（確認あり）"),
                        false,
                        rulesDecide});
    commands.push_back({{QStringLiteral("prizes"), QStringLiteral("show")},
                        QString(),
                        QStringLiteral("賞位の設定、合計と一人あたりの配分"),
                        true,
                        prizesShow});
    commands.push_back({{QStringLiteral("prizes"), QStringLiteral("set")},
                        QStringLiteral("rank.I=RANK,NAME,POINTS[,off] day.D=POINTS[,off] ..."),
                        QStringLiteral("賞位の登録"),
                        false,
                        prizesSet});
    commands.push_back({{QStringLiteral("prizes"), QStringLiteral("decide")},
                        QString(),
                        QStringLiteral("賞位決定（確認あり）"),
                        false,
                        prizesDecide});
    commands.push_back({{QStringLiteral("prizes"), QStringLiteral("list")},
                        QString(),
                        QStringLiteral("結果発表（賞位と受賞者）"),
                        true,
                        prizesList});
    commands.push_back({{QStringLiteral("print"), QStringLiteral("prizes")},
                        QStringLiteral("--pdf FILE"),
                        QStringLiteral("各賞受賞者一覧を PDF に出力"),
                        false,
                        printPrizes});
}

} // namespace kc::cli
