#include "scoring/ResultImport.h"
#include "ScoringFixture.h"
#include "banzuke/BanzukeImport.h"
#include "banzuke/WrestlerNames.h"
#include "store/Text.h"

#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

// Default roster: 武蔵丸 0 (横綱), 千代大海 2 (大関), 若の里 7 (関脇), 隆乃若 11 (前頭).
QByteArray bout(const char *east, const char *eastRank, const char *west, const char *westRank,
                const char *winner, const char *kimarite = "yorikiri")
{
    return QStringLiteral(R"({"day":3,"eastShikona":"%1","eastRank":"%2","westShikona":"%3",)"
                          R"("westRank":"%4","winnerEn":"%5","kimarite":"%6"})")
        .arg(QString::fromUtf8(east), QString::fromUtf8(eastRank), QString::fromUtf8(west),
             QString::fromUtf8(westRank), QString::fromUtf8(winner), QString::fromUtf8(kimarite))
        .toUtf8();
}

struct Case
{
    const char *what;
    const char *file;
    std::vector<std::pair<int, int>> marks; // slot, mark; empty when refused
    const char *refusal; // part of the message
    QByteArray bytes;
};

TEST(ResultFile, ReadsBoutsAndListsAndRefusesWhatItCannotPlace)
{
    const QByteArray u = "{\"torikumi\":[";
    // clang-format off
    const std::vector<Case> cases = {
        {"sekiwake beats yokozuna: 金星", "d.json", {{7, MarkGold}, {0, MarkLoss}}, "",
         u + bout("若の里", "Sekiwake 1 East", "武蔵丸", "Yokozuna 1 West", "若の里") + "]}"},
        {"maegashira beats ozeki, ozeki beats yokozuna: 銀星", "d.json",
         {{11, MarkSilver}, {2, MarkLoss}, {3, MarkSilver}, {1, MarkLoss}}, "",
         u + bout("隆乃若", "Maegashira 1 East", "千代大海", "Ozeki 1 West", "隆乃若") + ","
             + bout("魁皇", "大関", "貴乃花", "横綱", "魁皇") + "]}"},
        {"yokozuna beats sekiwake: 白星, ranks from the roster", "d.txt", {{0, MarkWin}, {7, MarkLoss}},
         "", "[" + bout("武蔵丸", "", "若の里", "", "武蔵丸") + "]"},
        {"ranks in a form not read: the banzuke's", "d.json", {{7, MarkGold}, {0, MarkLoss}}, "",
         "[" + bout("若の里", "S1e", "武蔵丸", "Y1w", "若の里") + "]"},
        {"fusen: a win and an absence, no star", "d.json", {{7, MarkWin}, {0, MarkAbsent}}, "",
         "[" + bout("若の里", "", "武蔵丸", "", "若の里", "fusen") + "]"},
        {"a 十両 visitor is passed over", "d.json", {{11, MarkLoss}}, "",
         "[" + bout("隆乃若", "Maegashira 16 East", "Nobody", "Juryo 2 West", "Nobody") + "]"},
        {"CSV: heading, numbers, blanks, initial names", "d.csv",
         {{0, MarkWin}, {1, MarkAbsent}, {7, MarkGold}}, "",
         QStringLiteral("力士名,結果\n 武蔵丸 ,白\n貴乃花,4\n若の里,金\n").toUtf8()},
        {"CSV in CP932", "d.csv", {{3, MarkSilver}}, "", toCp932(QStringLiteral("魁皇,銀\r\n"))},
        {"bad JSON", "d.json", {}, "JSON として読めません", "{\"torikumi\":["},
        {"no winner yet", "d.json", {}, "勝者が分かりません",
         "[{\"eastShikona\":\"武蔵丸\",\"westShikona\":\"貴乃花\"}]"},
        {"unknown names are all listed", "d.json", {}, "Nobody（1番目の取組）\n  Someone（1番目の取組）",
         "[" + bout("Nobody", "Maegashira 1 East", "Someone", "Maegashira 1 West", "Nobody") + "]"},
        {"a bad mark names its line", "d.csv", {}, "2行目", QStringLiteral("武蔵丸,白\n貴乃花,勝\n").toUtf8()},
        {"too few fields", "d.csv", {}, "1行目", QStringLiteral("武蔵丸\n").toUtf8()},
        {"a wrestler twice", "d.csv", {}, "二度", QStringLiteral("武蔵丸,白\n武蔵丸,黒\n").toUtf8()},
        {"two days in one file", "d.json", {}, "一日分",
         u + bout("武蔵丸", "", "貴乃花", "", "武蔵丸") + ",{\"day\":4}]}"},
    };
    // clang-format on
    Roster roster;
    roster.installDefault();
    roster.takeInitialNames();
    roster.wrestlers[1].name = QStringLiteral("新名"); // 貴乃花 renamed: found by his initial name
    const WrestlerNames names(roster, {});
    for (const Case &c : cases) {
        const ResultFile r = ResultFile::parse(c.bytes, QString::fromUtf8(c.file), roster, names);
        std::vector<std::pair<int, int>> got;
        for (const auto &m : r.marks)
            got.emplace_back(m.slot, m.mark);
        if (c.marks.empty()) {
            EXPECT_FALSE(r.ok) << c.what;
            EXPECT_TRUE(r.message.contains(QString::fromUtf8(c.refusal)))
                << c.what << ": " << r.message.toStdString();
        } else {
            EXPECT_TRUE(r.ok) << c.what << ": " << r.message.toStdString();
            EXPECT_EQ(got, c.marks) << c.what;
        }
    }
}

TEST(ResultFile, MarksGoThroughTheLocksAndTheDay)
{
    TempContest tc;
    Contest &c = tc.open();
    prepareCompetition(c, 3, true);
    c.rules().currentDay = 2;
    c.roster().wrestlers[1].dayResult[2] = MarkAbsentLater;
    const WrestlerNames names(c.roster(), {});
    const ResultFile file = ResultFile::parse(QStringLiteral("武蔵丸,白\n貴乃花,白\n").toUtf8(),
                                              QStringLiteral("d.csv"), c.roster(), names);
    EXPECT_EQ(applyResultFile(c, file, 2).refusal, markLockText(MarkLock::DayConfirmed));
    const ResultImportOutcome out = applyResultFile(c, file, 3);
    EXPECT_EQ(out.changed, 1);
    ASSERT_EQ(out.locked.size(), 1);
    EXPECT_EQ(c.roster().wrestlers[0].dayResult[2], MarkWin);
    EXPECT_EQ(c.roster().wrestlers[1].dayResult[2], MarkAbsentLater);
    EXPECT_EQ(c.roster().wrestlers[2].dayResult[2], MarkLoss); // not in the file: kept
    // 休 for a confirmed absence agrees with the lock and is not reported.
    const ResultFile absent = ResultFile::parse(QStringLiteral("貴乃花,休\n").toUtf8(),
                                                QStringLiteral("d.csv"), c.roster(), names);
    EXPECT_TRUE(applyResultFile(c, absent, 3).locked.isEmpty());
    const ResultFile dayThree
        = ResultFile::parse(QByteArray("[" + bout("武蔵丸", "", "貴乃花", "", "武蔵丸") + "]"),
                            QStringLiteral("d.json"), c.roster(), names);
    EXPECT_TRUE(applyResultFile(c, dayThree, 4).refusal->contains(QStringLiteral("3日目")));
}

} // namespace
