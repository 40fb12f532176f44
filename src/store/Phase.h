#pragma once

#include <QString>

namespace kc {

struct RulesRecord;

// What the organiser may do; each one is allowed in some phases only.
enum class Action {
    RegisterBanzuke, // 番付登録
    DeleteRenameList, // 力士名ﾌｧｲﾙの削除
    DecideRules, // ルール決定
    ChangeRules, // the rule fields and keys
    ChangePrizes, // the prize fields and keys
    OpenRules, // the rules window from its menu
    TakeEntries, // 投票受付: add, update, delete
    OpenEntryWindow,
    ImportPrevious, // 先場所ﾃﾞｰﾀ取り込み
    CloseReception, // 受付終了
    SetPrizes, // 賞位の設定 from its menu
    DecidePrizes, // 賞位決定
    OfferResultInput, // 取組結果入力 offered in the menu
    EnterResults, // the bout-result window and its commands
    RestartCompetition, // 取組結果の変更
    ShowRulesText,
    ExportEntries,
    ExportResults,
    PrintBanzuke,
    PrintEntries,
    PrintResults, // result lists and the win/loss chart
    AnnounceResults, // 結果発表
};

// Where the next-step button leads.
enum class NextStep { Rules, Entries, Prizes, Results };

// The contest phase: the stored Flag (0 nothing decided, 1 rules decided,
// 3 someone registered, 5 reception closed, 10 + day competition), whether
// the prizes are decided (RulesStart) and the confirmed days. Every decision
// about what a phase allows is made here.
class Phase
{
public:
    Phase(int flag, int currentDay = 0, bool prizesDecided = false)
        : m_flag(flag), m_day(currentDay), m_prizesDecided(prizesDecided)
    {
    }
    static Phase of(const RulesRecord &rules);

    int flag() const { return m_flag; }
    bool rulesDecided() const { return m_flag >= 1; }
    bool beforeFirstEntry() const { return m_flag < 3; }
    bool receptionClosed() const { return m_flag >= 5; }
    bool inCompetition() const { return m_flag >= 10; }
    bool prizesDecided() const { return m_prizesDecided; }
    NextStep nextStep() const;

    // participants matters only where a menu item waits for the first entry.
    bool allows(Action action, int participants = 0) const;
    // Empty when allowed, else the message for the refusal: in words, which
    // step comes first and where the contest stands (the system's own
    // message where it has one).
    QString refusal(Action action, int participants = 0) const;
    // Where the contest stands, in words ("受付終了の後、賞位決定の前").
    QString standing() const;

    // A stored Flag outside this range is damaged data.
    static bool isStoredFlag(int flag) { return flag >= 0 && flag <= 25; }
    static bool isStoredRulesStart(int rulesStart) { return rulesStart == 0 || rulesStart == 1; }

    // The transitions.
    static void decideRules(RulesRecord &rules);
    static void registerFirstEntry(RulesRecord &rules); // only from below 3
    static void closeReception(RulesRecord &rules);
    static void startCompetition(RulesRecord &rules, int day); // after a substitution on day
    static void decidePrizes(RulesRecord &rules); // the competition from CurrentDay on
    static void reset(RulesRecord &rules); // nothing decided

private:
    int m_flag;
    int m_day;
    bool m_prizesDecided;
};

} // namespace kc
