#include "entries/EntryValidation.h"
#include "EntryTestSupport.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

class EntryValidationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        rules = RulesRecord::firstRunDefaults(); // 7 picks, reserve, no top ranks
        roster.installDefault(); // 10,11 yokozuna; 12..16 ōzeki; 40 wrestlers
    }
    ValidationResult check(const EntryForm &f) const { return validateEntry(f, rules, roster); }

    RulesRecord rules;
    Roster roster;
};

// One form and rule setting per row: 若葉 with picks 20..26 and reserve 30
// unless the row changes them, against the first-run rules and a roster of 40.
TEST_F(EntryValidationTest, EachFormGetsItsResult)
{
    const auto fail = [](int result, QStringView message, EntryBox box, int pick = -1) {
        return ValidationResult::fail(result, message.toString(), box, pick);
    };
    const char16_t *badPick = u"力士番号が正しくありません。10～49の番号を入力してください。";
    const struct
    {
        const char *why;
        const char16_t *shikona = u"若葉";
        std::vector<std::pair<int, const char16_t *>> picks = {};
        const char16_t *reserve = u"30";
        qint16 useReserve = 1, includeTopRanks = 0, wrestlerCount = 40;
        ValidationResult expected = {};
    } rows[] {
        // clang-format off
        {.why = "valid"},
        {.why = "no ring name", .shikona = u"",
         .expected = fail(1, u"四股名がありません。", EntryBox::Shikona)},
        // The first pick box is the one pointed at, whichever is empty.
        {.why = "an empty pick", .picks = {{4, u""}},
         .expected = fail(1, u"力士が選択されていません。", EntryBox::Pick, 0)},
        // The duplicate fails on the later box even with an empty box further on.
        {.why = "a duplicate", .picks = {{3, u"21"}, {4, u""}},
         .expected = fail(3, u"力士が重複しています。", EntryBox::Pick, 3)},
        {.why = "no reserve", .reserve = u"",
         .expected = fail(3, u"予備力士が設定されていません。", EntryBox::Reserve)},
        {.why = "reserve among the picks", .reserve = u"24",
         .expected = fail(3, u"予備力士が選択力士と重複しています。", EntryBox::Reserve)},
        // The reserve is checked only when the rules use one.
        {.why = "reserve among the picks, no reserve rule", .reserve = u"24", .useReserve = 0},
        {.why = "no reserve, no reserve rule", .reserve = u"", .useReserve = 0},
        // An ōzeki typed without Enter.
        {.why = "a top rank", .picks = {{2, u"12"}},
         .expected = fail(3, u"今回のルールでは大関、横綱は指定できません。", EntryBox::Pick, 2)},
        {.why = "one top rank allowed", .picks = {{1, u"10"}}, .includeTopRanks = 1},
        {.why = "two top ranks", .picks = {{1, u"10"}, {5, u"14"}}, .includeTopRanks = 1,
         .expected = fail(3, u"大関、横綱は複数指定することはできません。", EntryBox::Pick, 5)},
        {.why = "pick 50", .picks = {{3, u"50"}}, .expected = fail(3, badPick, EntryBox::Pick, 3)},
        {.why = "pick 9", .picks = {{3, u"9"}}, .expected = fail(3, badPick, EntryBox::Pick, 3)},
        {.why = "pick abc", .picks = {{3, u"abc"}},
         .expected = fail(3, badPick, EntryBox::Pick, 3)},
        {.why = "pick 29x", .picks = {{3, u"29x"}},
         .expected = fail(3, badPick, EntryBox::Pick, 3)},
        {.why = "pick 20.5", .picks = {{3, u"20.5"}},
         .expected = fail(3, badPick, EntryBox::Pick, 3)},
        {.why = "pick blank", .picks = {{3, u" "}},
         .expected = fail(3, badPick, EntryBox::Pick, 3)},
        {.why = "pick -20", .picks = {{3, u"-20"}},
         .expected = fail(3, badPick, EntryBox::Pick, 3)},
        {.why = "pick 99999999", .picks = {{3, u"99999999"}},
         .expected = fail(3, badPick, EntryBox::Pick, 3)},
        {.why = "reserve 50", .reserve = u"50",
         .expected = fail(3, u"予備力士の番号が正しくありません。10～49の番号を入力してください。",
                          EntryBox::Reserve)},
        // The limit follows the roster.
        {.why = "pick 39 of 30 wrestlers", .picks = {{0, u"39"}}, .wrestlerCount = 30},
        {.why = "pick 40 of 30 wrestlers", .picks = {{0, u"40"}}, .wrestlerCount = 30,
         .expected = fail(3, u"力士番号が正しくありません。10～39の番号を入力してください。",
                          EntryBox::Pick, 0)},
        // Full-width digits from a Japanese input method and blanks around are fine.
        {.why = "full-width pick", .picks = {{0, u" ３８ "}}, .wrestlerCount = 30},
        {.why = "a top-rank reserve typed without Enter", .reserve = u"10",
         .expected = fail(3, u"予備力士に大関、横綱は指定できません。", EntryBox::Reserve)},
        // clang-format on
    };
    for (const auto &row : rows) {
        QStringList picks;
        for (int i = 20; i <= 26; ++i)
            picks << QString::number(i);
        for (const auto &[slot, text] : row.picks)
            picks[slot] = QString::fromUtf16(text);
        rules.useReserve = row.useReserve;
        rules.includeTopRanks = row.includeTopRanks;
        roster.wrestlerCount = row.wrestlerCount;
        EXPECT_FIELDS_EQ(check(formWith(QString::fromUtf16(row.shikona), picks,
                                        QString::fromUtf16(row.reserve))),
                         row.expected)
            << row.why;
    }
}

// Enter in a pick box follows the rules; in the reserve box a yokozuna or
// ōzeki is never taken, whatever the rules (the check does not see them).
TEST_F(EntryValidationTest, EnterInAPickOrTheReserveBox)
{
    const struct
    {
        bool reserve;
        const char *text;
        qint16 includeTopRanks;
        EnterOutcome expected;
    } rows[] {
        {false, "20", 0, EnterOutcome::Accepted}, {false, "12", 0, EnterOutcome::Rejected},
        {false, "50", 0, EnterOutcome::Rejected}, {false, "5", 0, EnterOutcome::Rejected},
        {false, "12", 1, EnterOutcome::Accepted}, {true, "10", 0, EnterOutcome::Rejected},
        {true, "16", 0, EnterOutcome::Rejected},  {true, "17", 0, EnterOutcome::Accepted},
        {true, "50", 0, EnterOutcome::Rejected},  {true, "5", 0, EnterOutcome::Ignored}, // below 10
    };
    for (const auto &row : rows) {
        rules.includeTopRanks = row.includeTopRanks;
        const QString text = QString::fromLatin1(row.text);
        const EnterCheck got
            = row.reserve ? checkReserveEnter(text, roster) : checkPickEnter(text, rules, roster);
        EXPECT_EQ(got.outcome, row.expected) << row.text << (row.reserve ? " reserve" : " pick");
    }
    EXPECT_EQ(checkPickEnter(QStringLiteral("20"), rules, roster).slot, 10);
}

} // namespace
