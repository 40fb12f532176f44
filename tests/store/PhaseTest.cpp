#include "store/Phase.h"
#include "store/Records.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace kc;

namespace {

const std::pair<Action, const char *> kNames[] {
    {Action::RegisterBanzuke, "RegisterBanzuke"},
    {Action::DeleteRenameList, "DeleteRenameList"},
    {Action::DecideRules, "DecideRules"},
    {Action::ChangeRules, "ChangeRules"},
    {Action::ChangePrizes, "ChangePrizes"},
    {Action::OpenRules, "OpenRules"},
    {Action::TakeEntries, "TakeEntries"},
    {Action::OpenEntryWindow, "OpenEntryWindow"},
    {Action::ImportPrevious, "ImportPrevious"},
    {Action::CloseReception, "CloseReception"},
    {Action::SetPrizes, "SetPrizes"},
    {Action::DecidePrizes, "DecidePrizes"},
    {Action::OfferResultInput, "OfferResultInput"},
    {Action::EnterResults, "EnterResults"},
    {Action::RestartCompetition, "RestartCompetition"},
    {Action::ShowRulesText, "ShowRulesText"},
    {Action::ExportEntries, "ExportEntries"},
    {Action::ExportResults, "ExportResults"},
    {Action::PrintBanzuke, "PrintBanzuke"},
    {Action::PrintEntries, "PrintEntries"},
    {Action::PrintResults, "PrintResults"},
    {Action::AnnounceResults, "AnnounceResults"},
};

struct Case
{
    int flag, day, entries;
    NextStep step;
    const char *allowed;
};

// One row per phase, written from the phase's point of view (the policy is
// written per action), so a slip in either shows.
const Case kCases[] {
    {0, 0, 0, NextStep::Rules,
     "RegisterBanzuke DeleteRenameList DecideRules ChangeRules ChangePrizes OpenRules"},
    {1, 0, 0, NextStep::Entries,
     "ChangePrizes TakeEntries OpenEntryWindow ImportPrevious CloseReception ShowRulesText "
     "PrintBanzuke"},
    {1, 0, 2, NextStep::Entries,
     "ChangePrizes TakeEntries OpenEntryWindow ImportPrevious CloseReception ShowRulesText "
     "PrintBanzuke PrintEntries"},
    {2, 0, 0, NextStep::Results,
     "ChangePrizes OpenRules OpenEntryWindow ImportPrevious DecidePrizes OfferResultInput "
     "RestartCompetition ShowRulesText ExportEntries ExportResults PrintEntries AnnounceResults"},
    {3, 0, 2, NextStep::Entries,
     "ChangePrizes TakeEntries OpenEntryWindow CloseReception DecidePrizes ShowRulesText "
     "ExportEntries PrintBanzuke PrintEntries"},
    {5, 0, 2, NextStep::Prizes,
     "ChangePrizes OpenEntryWindow SetPrizes DecidePrizes OfferResultInput ShowRulesText "
     "ExportEntries ExportResults PrintBanzuke PrintEntries"},
    {7, 0, 2, NextStep::Results,
     "OpenRules OpenEntryWindow DecidePrizes OfferResultInput RestartCompetition ShowRulesText "
     "ExportEntries ExportResults PrintEntries AnnounceResults"},
    {10, 0, 2, NextStep::Results,
     "OpenRules OpenEntryWindow DecidePrizes OfferResultInput EnterResults RestartCompetition "
     "ShowRulesText ExportEntries ExportResults PrintEntries AnnounceResults"},
    {10, 3, 2, NextStep::Results,
     "OpenRules OpenEntryWindow DecidePrizes OfferResultInput EnterResults RestartCompetition "
     "ShowRulesText ExportEntries ExportResults PrintResults AnnounceResults"},
    // After a substitution the flag reads 10 + day; still the competition.
    {13, 3, 2, NextStep::Results,
     "OpenRules OpenEntryWindow DecidePrizes OfferResultInput EnterResults RestartCompetition "
     "ShowRulesText ExportEntries ExportResults PrintResults AnnounceResults"},
};

TEST(PhasePolicy, EachPhaseAllowsItsActions)
{
    for (const Case &c : kCases) {
        // Before the competition (flags 0, 1, 3, 5) the confirmed days make no difference.
        const bool before = c.flag == 0 || c.flag == 1 || c.flag == 3 || c.flag == 5;
        for (const int day : before ? std::vector {c.day, 2} : std::vector {c.day}) {
            const Phase phase(c.flag, day);
            QStringList allowed;
            for (const auto &[action, name] : kNames)
                if (phase.allows(action, c.entries))
                    allowed << QString::fromLatin1(name);
            EXPECT_EQ(allowed.join(u' '), QString::fromLatin1(c.allowed))
                << "Flag " << c.flag << " day " << day;
            EXPECT_EQ(phase.nextStep(), c.step) << "Flag " << c.flag << " day " << day;
        }
    }
}

TEST(PhasePolicy, EveryRefusalIsInWords)
{
    for (const Case &c : kCases) {
        const Phase phase(c.flag, c.day);
        for (const auto &[action, name] : kNames) {
            const QString refusal = phase.refusal(action, c.entries);
            EXPECT_EQ(refusal.isEmpty(), phase.allows(action, c.entries))
                << name << " Flag " << c.flag;
            EXPECT_FALSE(refusal.contains(u"フェーズ") || refusal.contains(u"Flag"))
                << name << ": " << refusal.toStdString();
        }
    }
}

TEST(PhasePolicy, RefusalsSayWhatComesFirstAndWhereTheContestStands)
{
    const struct
    {
        int flag, day, entries;
        Action action;
        const char16_t *message;
    } cases[] {
        // The system's own messages, as they are.
        {0, 0, 0, Action::TakeEntries,
         u"ルールが決定されていません。ルール決定の後に受付を行ってください。"},
        {0, 0, 0, Action::PrintBanzuke,
         u"ルールが決定していません。印刷するにはルールを決定する必要があります。"},
        {1, 0, 0, Action::DecidePrizes, u"参加者数が確定していません。"},
        {5, 0, 2, Action::TakeEntries,
         u"投票受付は、ルール決定の後、受付終了の前に行えます。現在は受付終了の後、賞位決定の前です"
         u"。"},
        {3, 0, 2, Action::ImportPrevious,
         u"先場所ﾃﾞｰﾀの取り込みは、最初の参加者を登録する前にだけ行えます。"
         u"現在は投票受付中（受付終了の前）です。"},
        {5, 0, 2, Action::EnterResults,
         u"取組結果入力は、賞位決定の後に行えます。現在は受付終了の後、賞位決定の前です。"},
        {12, 2, 2, Action::ChangeRules,
         u"ルール決定後はルールを変更できません。現在は2日目まで結果確定済みです。"},
        {1, 0, 0, Action::PrintEntries,
         u"参加者投票ﾘｽﾄの印刷は、最初の参加者の登録の後、1日目の結果確定の前に行えます。"
         u"現在は投票受付中（受付終了の前）です。"},
        {10, 0, 2, Action::PrintResults,
         u"集計結果の印刷は、1日目の結果確定の後に行えます。"
         u"現在は賞位決定の後、1日目の結果確定の前です。"},
        {12, 0, 2, Action::RestartCompetition, u""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Phase(c.flag, c.day).refusal(c.action, c.entries), QString::fromUtf16(c.message))
            << "Flag " << c.flag;
}

TEST(PhasePolicy, TransitionsSetTheStoredFields)
{
    RulesRecord r;
    r.currentDay = 3;
    Phase::decidePrizes(r);
    EXPECT_EQ(r.flag, 13);
    EXPECT_TRUE(Phase::of(r).prizesDecided());
    Phase::reset(r);
    EXPECT_EQ(r.flag, 0);
    EXPECT_FALSE(Phase::of(r).prizesDecided());
    Phase::decideRules(r);
    Phase::registerFirstEntry(r);
    EXPECT_EQ(r.flag, 3);
    Phase::closeReception(r);
    Phase::registerFirstEntry(r); // only from below 3
    EXPECT_EQ(r.flag, 5);
}

} // namespace
