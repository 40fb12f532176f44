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

const QStringList kPicks {QStringLiteral("20"), QStringLiteral("21"), QStringLiteral("22"),
                          QStringLiteral("23"), QStringLiteral("24"), QStringLiteral("25"),
                          QStringLiteral("26")};

TEST_F(EntryValidationTest, AValidFormPasses)
{
    EXPECT_TRUE(check(formWith(QStringLiteral("若葉"), kPicks, QStringLiteral("30"))).ok());
}

TEST_F(EntryValidationTest, MissingRingNameAndMissingPicksAreResultOne)
{
    auto r = check(formWith(QString(), kPicks, QStringLiteral("30")));
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(r.message, QStringLiteral("四股名がありません。"));
    EXPECT_EQ(r.box, EntryBox::Shikona);

    QStringList picks = kPicks;
    picks[4].clear();
    r = check(formWith(QStringLiteral("若葉"), picks, QStringLiteral("30")));
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(r.message, QStringLiteral("力士が選択されていません。"));
    // The first pick box is the one pointed at, whichever is empty.
    EXPECT_EQ(r.box, EntryBox::Pick);
    EXPECT_EQ(r.pickIndex, 0);
}

TEST_F(EntryValidationTest, DuplicateFailsOnTheLaterBoxEvenWithAnEmptyBoxFurtherOn)
{
    const QStringList picks {QStringLiteral("20"),
                             QStringLiteral("21"),
                             QStringLiteral("22"),
                             QStringLiteral("21"),
                             QString(),
                             QStringLiteral("25"),
                             QStringLiteral("26")};
    const auto r = check(formWith(QStringLiteral("若葉"), picks, QStringLiteral("30")));
    EXPECT_EQ(r.result, 3);
    EXPECT_EQ(r.message, QStringLiteral("力士が重複しています。"));
    EXPECT_EQ(r.pickIndex, 3);
}

TEST_F(EntryValidationTest, ReserveChecksOnlyWhenTheRulesUseOne)
{
    auto r = check(formWith(QStringLiteral("若葉"), kPicks, QString()));
    EXPECT_EQ(r.result, 3);
    EXPECT_EQ(r.message, QStringLiteral("予備力士が設定されていません。"));
    EXPECT_EQ(r.box, EntryBox::Reserve);

    r = check(formWith(QStringLiteral("若葉"), kPicks, QStringLiteral("24")));
    EXPECT_EQ(r.message, QStringLiteral("予備力士が選択力士と重複しています。"));
    EXPECT_EQ(r.box, EntryBox::Reserve);

    rules.useReserve = 0;
    EXPECT_TRUE(check(formWith(QStringLiteral("若葉"), kPicks, QStringLiteral("24"))).ok());
    EXPECT_TRUE(check(formWith(QStringLiteral("若葉"), kPicks, QString())).ok());
}

TEST_F(EntryValidationTest, TopRanksRefusedWhenTheRulesAllowNone)
{
    QStringList picks = kPicks;
    picks[2] = QStringLiteral("12"); // an ōzeki typed without Enter
    const auto r = check(formWith(QStringLiteral("若葉"), picks, QStringLiteral("30")));
    EXPECT_EQ(r.result, 3);
    EXPECT_EQ(r.message, QStringLiteral("今回のルールでは大関、横綱は指定できません。"));
    EXPECT_EQ(r.pickIndex, 2);
}

TEST_F(EntryValidationTest, OneTopRankAllowedWhenTheRulesSaySo)
{
    rules.includeTopRanks = 1;
    QStringList picks = kPicks;
    picks[1] = QStringLiteral("10"); // yokozuna
    EXPECT_TRUE(check(formWith(QStringLiteral("若葉"), picks, QStringLiteral("30"))).ok());
    picks[5] = QStringLiteral("14"); // and an ōzeki
    const auto r = check(formWith(QStringLiteral("若葉"), picks, QStringLiteral("30")));
    EXPECT_EQ(r.message, QStringLiteral("大関、横綱は複数指定することはできません。"));
    EXPECT_EQ(r.pickIndex, 5); // the last one
}

TEST_F(EntryValidationTest, NumbersOutsideTheRosterOrNotNumbersAreRefused)
{
    for (const QString &bad : {QStringLiteral("50"), QStringLiteral("9"), QStringLiteral("abc"),
                               QStringLiteral("29x"), QStringLiteral("20.5"), QStringLiteral(" "),
                               QStringLiteral("-20"), QStringLiteral("99999999")}) {
        QStringList picks = kPicks;
        picks[3] = bad;
        const auto r = check(formWith(QStringLiteral("若葉"), picks, QStringLiteral("30")));
        EXPECT_EQ(r.result, 3) << bad.toStdString();
        EXPECT_EQ(r.message,
                  QStringLiteral("力士番号が正しくありません。10～49の番号を入力してください。"));
        EXPECT_EQ(r.pickIndex, 3);
    }
    auto r = check(formWith(QStringLiteral("若葉"), kPicks, QStringLiteral("50")));
    EXPECT_EQ(r.message,
              QStringLiteral("予備力士の番号が正しくありません。10～49の番号を入力してください。"));
    EXPECT_EQ(r.box, EntryBox::Reserve);
    // The limit follows the roster.
    roster.wrestlerCount = 30;
    QStringList picks = kPicks;
    picks[0] = QStringLiteral("39");
    EXPECT_TRUE(check(formWith(QStringLiteral("若葉"), picks, QStringLiteral("30"))).ok());
    picks[0] = QStringLiteral("40");
    r = check(formWith(QStringLiteral("若葉"), picks, QStringLiteral("30")));
    EXPECT_EQ(r.message,
              QStringLiteral("力士番号が正しくありません。10～39の番号を入力してください。"));
    // Full-width digits from a Japanese input method and blanks around are fine.
    picks[0] = QStringLiteral(" ３８ ");
    EXPECT_TRUE(check(formWith(QStringLiteral("若葉"), picks, QStringLiteral("30"))).ok());
}

TEST_F(EntryValidationTest, ATopRankReserveTypedWithoutEnterIsRefused)
{
    const auto r = check(formWith(QStringLiteral("若葉"), kPicks, QStringLiteral("10")));
    EXPECT_EQ(r.result, 3);
    EXPECT_EQ(r.message, QStringLiteral("予備力士に大関、横綱は指定できません。"));
}

TEST_F(EntryValidationTest, PickEnterFollowsTheRules)
{
    EXPECT_EQ(checkPickEnter(QStringLiteral("20"), rules, roster).outcome, EnterOutcome::Accepted);
    EXPECT_EQ(checkPickEnter(QStringLiteral("20"), rules, roster).slot, 10);
    EXPECT_EQ(checkPickEnter(QStringLiteral("12"), rules, roster).outcome, EnterOutcome::Rejected);
    EXPECT_EQ(checkPickEnter(QStringLiteral("50"), rules, roster).outcome, EnterOutcome::Rejected);
    EXPECT_EQ(checkPickEnter(QStringLiteral("5"), rules, roster).outcome, EnterOutcome::Rejected);
    rules.includeTopRanks = 1;
    EXPECT_EQ(checkPickEnter(QStringLiteral("12"), rules, roster).outcome, EnterOutcome::Accepted);
}

TEST_F(EntryValidationTest, AYokozunaIsNeverAReserveAtEnter)
{
    for (int include : {0, 1}) {
        rules.includeTopRanks = qint16(include);
        EXPECT_EQ(checkReserveEnter(QStringLiteral("10"), roster).outcome, EnterOutcome::Rejected);
        EXPECT_EQ(checkReserveEnter(QStringLiteral("16"), roster).outcome, EnterOutcome::Rejected);
    }
    EXPECT_EQ(checkReserveEnter(QStringLiteral("17"), roster).outcome, EnterOutcome::Accepted);
    EXPECT_EQ(checkReserveEnter(QStringLiteral("50"), roster).outcome, EnterOutcome::Rejected);
    // Below 10 nothing happens at all.
    EXPECT_EQ(checkReserveEnter(QStringLiteral("5"), roster).outcome, EnterOutcome::Ignored);
}

} // namespace
