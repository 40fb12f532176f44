#include "EntryTestSupport.h"

#include "entries/EntryImport.h"
#include "entries/EntryRegistration.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

// First-run rules: 7 picks and a reserve; slot 7 is 若の里 (関脇), 2 千代大海 (大関).
TEST(EntryImport, EachLineIsCheckedAsATypedApplication)
{
    const struct
    {
        const char *what;
        const char *csv;
        const char *accepted; // ring names, comma separated
        const char *refusals; // joined by '|'
    } cases[] = {
        {"no heading: fixed columns", "甲,こう,会員,,,,,20,21,22,23,24,25,26,30\n", "甲", ""},
        {"heading by name, other columns passed over, names for numbers",
         "日時,pick1,pick2,pick3,pick4,pick5,pick6,pick7,reserve,Shikona\n"
         "x,若の里,21,22,23,24,25,26, 琴光喜 ,乙\n",
         "乙", ""},
        {"refusals name the line and the reason",
         "四股名,力士1,力士2,力士3,力士4,力士5,力士6,力士7,予備力士\n"
         "丙,20,20,22,23,24,25,26,30\n"
         ",20,21,22,23,24,25,26,30\n"
         "丁,千代大海,21,22,23,24,25,26,30\n"
         "戊,無名山,21,22,23,24,25,26,30\n"
         "己,20,21,22\n"
         "庚,20,21,22,23,24,25,26,20\n",
         "",
         "2行目（丙）: 力士が重複しています。|3行目: 四股名がありません。|"
         "4行目（丁）: 今回のルールでは大関、横綱は指定できません。|"
         "5行目（戊）: 力士「無名山」は番付にありません。|"
         "6行目（己）: 項目が足りません（9 項目のところ 4 項目）。|"
         "7行目（庚）: 予備力士が選択力士と重複しています。"},
        {"a quoted line break stays in its field and becomes a blank",
         "\"辛\",,\"一行目\n二行目\",,,,,20,21,22,23,24,25,26,30\n壬,,,,,,,20,21,22,23,24,25,26,"
         "31\n",
         "辛,壬", ""},
    };
    for (const auto &c : cases) {
        TempContest tc;
        Contest &contest = openDecidedContest(tc);
        const EntryImport r = EntryImport::parse(QByteArray(c.csv), contest);
        QStringList accepted;
        for (const EntryForm &f : r.forms)
            accepted << f.shikona;
        EXPECT_EQ(accepted.join(u','), QString::fromUtf8(c.accepted)) << c.what;
        EXPECT_EQ(r.refusals.join(u'|'), QString::fromUtf8(c.refusals)) << c.what;
        for (const EntryForm &f : r.forms)
            EXPECT_FALSE(f.memberName.contains(u'\n')) << c.what;
    }
}

TEST(EntryImport, AllOrNothingAgainstTheCapacity)
{
    TempContest tc;
    Contest &contest = openDecidedContest(tc);
    EntryRegistration reg(contest);
    std::vector<EntryForm> forms(kEntryCapacity - 1, validForm(QStringLiteral("甲")));
    ASSERT_TRUE(reg.addAll(forms));
    EXPECT_FALSE(reg.addAll({validForm(QStringLiteral("乙")), validForm(QStringLiteral("丙"))}));
    EXPECT_EQ(contest.participantCount(), kEntryCapacity - 1);
    EXPECT_EQ(contest.rules().flag, 3);
    expectMirror(contest);
}

} // namespace
