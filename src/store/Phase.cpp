#include "store/Phase.h"

#include "store/Records.h"

#include <array>

namespace kc {

namespace {

// The phase table. Columns: Flag 0, 1, 2, 3, 4, 5, 6 to 9, 10 and above.
// T allowed, F not, E once someone is registered, N before the first
// confirmed day, D from the first confirmed day.
//
// A refusal says in words which step comes first; where the contest stands
// follows it. An exact text is the system's own message, told as it is.
struct Row
{
    Action action;
    const char *cells;
    const char16_t *refusal;
    const char16_t *refusalBeforeRules = nullptr; // Flag 0, where it differs
    bool exact = false; // refusal told without where the contest stands
};

const char16_t kRulesFirst[]
    = u"ルールが決定されていません。ルール決定の後に受付を行ってください。";

// clang-format off
const std::array kTable {
    Row {Action::RegisterBanzuke,    "TFFFFFFF", u"番付登録は、ルール決定の前にだけ行えます。"},
    Row {Action::DeleteRenameList,   "TFFFFFFF", u"力士名ﾌｧｲﾙの削除は、ルール決定の前にだけ行えます。"},
    Row {Action::DecideRules,        "TFFFFFFF", u"ルールは決定済みです。"},
    Row {Action::ChangeRules,        "TFFFFFFF", u"ルール決定後はルールを変更できません。"},
    Row {Action::ChangePrizes,       "TTTTTTFF", u"賞位は、賞位決定の前にだけ変更できます。"},
    Row {Action::OpenRules,          "TFTFTFTT", u"ルールの設定は、ルール決定の前か賞位決定の後に開けます。"},
    Row {Action::TakeEntries,        "FTFTFFFF", u"投票受付は、ルール決定の後、受付終了の前に行えます。", kRulesFirst},
    Row {Action::OpenEntryWindow,    "FTTTTTTT", u"投票受付の画面は、ルール決定の後に開けます。", kRulesFirst},
    Row {Action::ImportPrevious,     "FTTFFFFF", u"先場所ﾃﾞｰﾀの取り込みは、最初の参加者を登録する前にだけ行えます。", kRulesFirst},
    Row {Action::CloseReception,     "FTFTFFFF", u"受付終了は、ルール決定の後、投票受付中に行えます。"},
    Row {Action::SetPrizes,          "FFFFFTFF", u"賞位の設定は、受付終了の後、賞位決定の前に行えます。"},
    Row {Action::DecidePrizes,       "FFTTTTTT", u"参加者数が確定していません。", nullptr, true},
    Row {Action::OfferResultInput,   "FFTFTTTT", u"取組結果入力は、受付終了の後に行えます。"},
    Row {Action::EnterResults,       "FFFFFFFT", u"取組結果入力は、賞位決定の後に行えます。"},
    Row {Action::RestartCompetition, "FFTFTFTT", u"取組結果の変更は、賞位決定の後に行えます。"},
    Row {Action::ShowRulesText,      "FTTTTTTT", u"ルールの表示は、ルール決定の後に行えます。"},
    Row {Action::ExportEntries,      "FFTTTTTT", u"参加者の出力は、最初の参加者の登録の後に行えます。"},
    Row {Action::ExportResults,      "FFTFTTTT", u"集計結果の出力は、受付終了の後に行えます。"},
    Row {Action::PrintBanzuke,       "FTFTFTFF", u"番付表の印刷は、ルール決定の後、賞位決定の前に行えます。",
         u"ルールが決定していません。印刷するにはルールを決定する必要があります。"},
    Row {Action::PrintEntries,       "FENENTNN", u"参加者投票ﾘｽﾄの印刷は、最初の参加者の登録の後、1日目の結果確定の前に行えます。"},
    Row {Action::PrintResults,       "FFDFDFDD", u"集計結果の印刷は、1日目の結果確定の後に行えます。"},
    Row {Action::AnnounceResults,    "FFTFTFTT", u"結果発表は、受付終了の後に行えます。"},
};
// clang-format on

const Row &rowOf(Action action)
{
    for (const Row &row : kTable)
        if (row.action == action)
            return row;
    Q_UNREACHABLE();
}

int column(int flag)
{
    if (flag >= 10)
        return 7;
    if (flag >= 6)
        return 6;
    return std::max(flag, 0);
}

} // namespace

Phase Phase::of(const RulesRecord &rules)
{
    return Phase(rules.flag, rules.currentDay, rules.rulesStart != 0);
}

NextStep Phase::nextStep() const
{
    switch (m_flag) {
    case 0:
        return NextStep::Rules;
    case 1:
    case 3:
        return NextStep::Entries;
    case 5:
        return NextStep::Prizes;
    default:
        return NextStep::Results;
    }
}

bool Phase::allows(Action action, int participants) const
{
    switch (rowOf(action).cells[column(m_flag)]) {
    case 'T':
        return true;
    case 'E':
        return participants > 0;
    case 'N':
        return m_day == 0;
    case 'D':
        return m_day >= 1;
    default:
        return false;
    }
}

QString Phase::standing() const
{
    if (m_flag == 0)
        return QStringLiteral("ルール決定の前");
    if (m_flag < 5)
        return QStringLiteral("投票受付中（受付終了の前）");
    if (m_flag < 10)
        return QStringLiteral("受付終了の後、賞位決定の前");
    if (m_day <= 0)
        return QStringLiteral("賞位決定の後、1日目の結果確定の前");
    return QStringLiteral("%1日目まで結果確定済み").arg(m_day);
}

QString Phase::refusal(Action action, int participants) const
{
    if (allows(action, participants))
        return {};
    const Row &row = rowOf(action);
    if (m_flag == 0 && row.refusalBeforeRules)
        return QString::fromUtf16(row.refusalBeforeRules);
    const QString message = QString::fromUtf16(row.refusal);
    if (row.exact)
        return message;
    return message + QStringLiteral("現在は%1です。").arg(standing());
}

void Phase::decideRules(RulesRecord &rules)
{
    rules.flag = 1;
}

void Phase::registerFirstEntry(RulesRecord &rules)
{
    if (rules.flag < 3)
        rules.flag = 3;
}

void Phase::closeReception(RulesRecord &rules)
{
    rules.flag = 5;
}

void Phase::startCompetition(RulesRecord &rules, int day)
{
    rules.flag = qint16(10 + day);
}

void Phase::decidePrizes(RulesRecord &rules)
{
    rules.rulesStart = 1;
    startCompetition(rules, rules.currentDay);
}

void Phase::reset(RulesRecord &rules)
{
    rules.flag = 0;
    rules.rulesStart = 0;
}

} // namespace kc
