#include "store/Phase.h"

#include "store/Records.h"

#include <array>

namespace kc {

namespace {

// The phase table. Columns: Flag 0, 1, 2, 3, 4, 5, 6 to 9, 10 and above.
// T allowed, F not, E once someone is registered, N before the first
// confirmed day, D from the first confirmed day.
struct Row
{
    Action action;
    const char *cells;
    const char16_t *refusal; // %1 is the Flag
    const char16_t *refusalBeforeRules = nullptr; // Flag 0, where it differs
};

const char16_t kRulesFirst[]
    = u"ルールが決定されていません。ルール決定の後に受付を行ってください。";

// clang-format off
const std::array kTable {
    Row {Action::RegisterBanzuke,    "TFFFFFFF", u"番付登録は、ルール決定の前にだけ行えます。"},
    Row {Action::DeleteRenameList,   "TFFFFFFF", u"力士名ﾌｧｲﾙの削除は、ルール決定の前にだけ行えます。"},
    Row {Action::DecideRules,        "TFFFFFFF", u"ルールは決定済みです（Flag = %1）。"},
    Row {Action::ChangeRules,        "TFFFFFFF", u"ルール決定後はルールを変更できません（Flag = %1）。"},
    Row {Action::ChangePrizes,       "TTTTTTFF", u"結果発表の段階では賞位を変更できません（Flag = %1）。"},
    Row {Action::OpenRules,          "TFTFTFTT", u""},
    Row {Action::TakeEntries,        "FTFTFFFF", u"投票受付は終了しています。", kRulesFirst},
    Row {Action::OpenEntryWindow,    "FTTTTTTT", u"", kRulesFirst},
    Row {Action::ImportPrevious,     "FTTFFFFF", u"先場所ﾃﾞｰﾀの取り込みは、最初の参加者を登録する前にだけ行えます。", kRulesFirst},
    Row {Action::CloseReception,     "FTFTFFFF", u"受付終了は投票受付中（フェーズ 1 または 3）に行えます。現在のフェーズ: %1"},
    Row {Action::SetPrizes,          "FFFFFTFF", u""},
    Row {Action::DecidePrizes,       "FFTTTTTT", u"参加者数が確定していません。"},
    Row {Action::OfferResultInput,   "FFTFTTTT", u""},
    Row {Action::EnterResults,       "FFFFFFFT", u"取組結果入力は賞位決定の後（フェーズ 10 以上）に行えます。現在のフェーズ: %1"},
    Row {Action::RestartCompetition, "FFTFTFTT", u"取組結果の変更は競技開始後に行えます。現在のフェーズ: %1"},
    Row {Action::ShowRulesText,      "FTTTTTTT", u""},
    Row {Action::ExportEntries,      "FFTTTTTT", u""},
    Row {Action::ExportResults,      "FFTFTTTT", u""},
    Row {Action::PrintBanzuke,       "FTFTFTFF", u""},
    Row {Action::PrintEntries,       "FENENTNN", u""},
    Row {Action::PrintResults,       "FFDFDFDD", u""},
    Row {Action::AnnounceResults,    "FFTFTFTT", u""},
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

QString Phase::refusal(Action action) const
{
    if (allows(action))
        return {};
    const Row &row = rowOf(action);
    const char16_t *text
        = m_flag == 0 && row.refusalBeforeRules ? row.refusalBeforeRules : row.refusal;
    QString message = QString::fromUtf16(text);
    if (message.contains(QStringLiteral("%1")))
        message = message.arg(m_flag);
    return message;
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
