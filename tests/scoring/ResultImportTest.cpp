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
    QByteArray bytes;
    const char *file;
    std::vector<std::pair<int, int>> marks; // slot, mark; empty when refused
    const char *refusal; // part of the message
};

TEST(ResultFile, ReadsBoutsAndListsAndRefusesWhatItCannotPlace)
{
    const QByteArray u = "{\"torikumi\":[";
    const std::vector<Case> cases = {
        {"sekiwake beats yokozuna: 金星",
         QByteArray(u + bout("若の里", "Sekiwake 1 East", "武蔵丸", "Yokozuna 1 West", "若の里")
                    + "]}"),
         "d.json",
         {{7, MarkGold}, {0, MarkLoss}},
         ""},
        {"maegashira beats ozeki: 銀星; ozeki beats yokozuna: 銀星",
         QByteArray(u + bout("隆乃若", "Maegashira 1 East", "千代大海", "Ozeki 1 West", "隆乃若")
                    + "," + bout("魁皇", "大関", "貴乃花", "横綱", "魁皇") + "]}"),
         "d.json",
         {{11, MarkSilver}, {2, MarkLoss}, {3, MarkSilver}, {1, MarkLoss}},
         ""},
        {"yokozuna beats sekiwake: plain win; ranks from the roster when absent",
         QByteArray("[" + bout("武蔵丸", "", "若の里", "", "武蔵丸") + "]"),
         "d.txt",
         {{0, MarkWin}, {7, MarkLoss}},
         ""},
        {"fusen: the winner wins, the loser is absent, no star",
         QByteArray("[" + bout("若の里", "", "武蔵丸", "", "若の里", "fusen") + "]"),
         "d.json",
         {{7, MarkWin}, {0, MarkAbsent}},
         ""},
        {"a 十両 visitor is not on the banzuke and is passed over",
         QByteArray("[" + bout("隆乃若", "Maegashira 16 East", "Nobody", "Juryo 2 West", "Nobody")
                    + "]"),
         "d.json",
         {{11, MarkLoss}},
         ""},
        {"CSV with header, numbers, trimmed and initial names",
         QStringLiteral("力士名,結果\n 武蔵丸 ,白\n貴乃花,4\n若の里,金\n").toUtf8(),
         "d.csv",
         {{0, MarkWin}, {1, MarkAbsent}, {7, MarkGold}},
         ""},
        {"CSV in CP932", toCp932(QStringLiteral("魁皇,銀\r\n")), "d.csv", {{3, MarkSilver}}, ""},
        {"bad JSON", "{\"torikumi\":[", "d.json", {}, "JSON として読めません"},
        {"no winner yet",
         "[{\"eastShikona\":\"武蔵丸\",\"westShikona\":\"貴乃花\"}]",
         "d.json",
         {},
         "勝者が分かりません"},
        {"unknown names are all listed",
         QByteArray("["
                    + bout("Nobody", "Maegashira 1 East", "Someone", "Maegashira 1 West", "Nobody")
                    + "]"),
         "d.json",
         {},
         "Nobody（1番目の取組）\n  Someone（1番目の取組）"},
        {"a bad mark names its line",
         QStringLiteral("武蔵丸,白\n貴乃花,勝\n").toUtf8(),
         "d.csv",
         {},
         "2行目"},
        {"too few fields", QStringLiteral("武蔵丸\n").toUtf8(), "d.csv", {}, "1行目"},
        {"a wrestler twice",
         QStringLiteral("武蔵丸,白\n武蔵丸,黒\n").toUtf8(),
         "d.csv",
         {},
         "二度"},
        {"two days in one file",
         QByteArray(u + bout("武蔵丸", "", "貴乃花", "", "武蔵丸") + ",{\"day\":4}]}"),
         "d.json",
         {},
         "一日分"},
    };
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

TEST(ResultFile, LatinNamesAreFoundThroughTheDownloadedBanzukeOnly)
{
    Roster roster;
    roster.installDefault();
    roster.takeInitialNames();
    const QByteArray day
        = QByteArray("[" + bout("Musashimaru", "", "Takanohana", "", "Takanohana") + "]");
    const ResultFile without
        = ResultFile::parse(day, QStringLiteral("d.json"), roster, WrestlerNames(roster, {}));
    EXPECT_EQ(without.unknownNames.size(), 2);
    const WrestlerNames names(roster,
                              {{QStringLiteral("武蔵丸"), QStringLiteral("Musashimaru")},
                               {QStringLiteral("貴乃花"), QStringLiteral("Takanohana")}});
    const ResultFile with = ResultFile::parse(day, QStringLiteral("d.json"), roster, names);
    ASSERT_TRUE(with.ok) << with.message.toStdString();
    EXPECT_EQ(with.marks[0].slot, 1); // the winner comes first
    EXPECT_EQ(with.marks[0].mark, MarkWin);
    // Case, blanks and accents do not matter.
    EXPECT_EQ(names.slotOf(QStringLiteral(" takanohana ")), 1);
    EXPECT_EQ(WrestlerNames::fold(QStringLiteral("Ōmine")), QStringLiteral("omine"));
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
    const ResultFile dayThree
        = ResultFile::parse(QByteArray("[" + bout("武蔵丸", "", "貴乃花", "", "武蔵丸") + "]"),
                            QStringLiteral("d.json"), c.roster(), names);
    EXPECT_TRUE(applyResultFile(c, dayThree, 4).refusal->contains(QStringLiteral("3日目")));
}

} // namespace
