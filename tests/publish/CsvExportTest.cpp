#include "TestSupport.h"

#include "publish/CsvExport.h"
#include "store/Roster.h"
#include "store/Text.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace kc;

namespace {

// Compares with tests/publish/golden/NAME; KC_UPDATE_GOLDEN=1 rewrites the file.
void expectGolden(const QByteArray &actual, const QString &name)
{
    const QString path = qEnvironmentVariable("KC_TEST_SOURCE_DIR")
        + QStringLiteral("/tests/publish/golden/") + name;
    if (qEnvironmentVariableIsSet("KC_UPDATE_GOLDEN"))
        test::writeBytes(path, actual);
    EXPECT_EQ(actual, test::readBytes(path)) << name.toStdString();
}

EntryRecord entry(const QString &shikona, std::initializer_list<int> picks, int reserve)
{
    EntryRecord e = EntryRecord::cleared();
    e.shikona = shikona;
    std::copy(picks.begin(), picks.end(), e.picks.begin());
    e.reserveList[0] = qint16(reserve);
    return e;
}

} // namespace

TEST(CsvExport, EntryFilesByteForByte)
{
    Roster roster;
    roster.installDefault();
    roster.wrestlers[1].name = QStringLiteral("-1+2");
    RulesRecord sevenNoReserve = RulesRecord::firstRunDefaults();
    sevenNoReserve.pickCount = 7;
    sevenNoReserve.slotPoints = {7, 6, 5, 4, 3, 2, 1, 0, 0, 0};
    sevenNoReserve.useReserve = 0;
    RulesRecord threeReserve = sevenNoReserve;
    threeReserve.pickCount = 3;
    threeReserve.slotPoints = {10, 5, 1, 0, 0, 0, 0, 0, 0, 0};
    threeReserve.useReserve = 1;
    // Names padded to 16 characters (朝日山 with 13 blanks), wrestlers to 10.
    std::vector<EntryRecord> two {
        entry(QStringLiteral("朝日山"), {0, 5, 9, 12, 20, 30, 39}, 43),
        // A quote, a comma and a line break all stay inside the quoted field.
        entry(QStringLiteral("a\"b,c\r\nd"), {1, 2, 3, 4, 5, 6, 7}, 8),
        // A spreadsheet would run these as formulas: each gets a leading '.
        entry(QStringLiteral("=cmd|\"/c calc\"!A"), {1, 2, 3, 4, 5, 6, 7}, 8),
        entry(QStringLiteral("@SUM(A1)"), {1, 2, 3, 4, 5, 6, 7}, 8),
        entry(QStringLiteral("\t+1"), {1, 2, 3, 4, 5, 6, 7}, 8),
    };
    const struct
    {
        const char *golden;
        const RulesRecord &rules;
        std::vector<EntryRecord> entries;
    } cases[] {
        {"entry-none.csv", sevenNoReserve, {}},
        {"entry-seven-no-reserve.csv", sevenNoReserve, two},
        {"entry-three-reserve.csv", threeReserve, two},
    };
    for (const auto &c : cases)
        expectGolden(entryCsv(c.rules, roster, c.entries), QString::fromUtf8(c.golden));
}

TEST(CsvExport, EmptyContestTablesGiveTheHeaderOnly)
{
    test::TempContest tc;
    Contest &c = tc.open();
    expectGolden(resultCsv(c.rules(), c.entryTable()), QStringLiteral("result-none.csv"));
    expectGolden(prizeCsv(c.database()), QStringLiteral("prize-none.csv"));
}

// The real program, with no display: the exports of a finished sample contest
// (a repeated export replaces the file rather than adding a second header),
// then every list report as a PDF.
TEST(CsvExport, RealExecutableExportsAndPrintsWithoutADisplay)
{
    if (qEnvironmentVariable("KC_EXE").isEmpty())
        GTEST_SKIP() << "KC_EXE not set (run through ctest)";
    QTemporaryDir dir, fresh;
    const auto run = [&](const QString &folder, QStringList args) {
        return test::runExe(QStringList {QStringLiteral("--dir"), folder, QStringLiteral("--yes")}
                            + args)
            .code;
    };
    ASSERT_EQ(run(dir.path(), {u"demo"_qs, u"--entries"_qs, u"3"_qs}), 0);
    const struct
    {
        const char *word, *file, *header;
    } cases[] {
        {"entry", "Entry.Csv", "\"ID\","},
        {"result", "Result.Csv", "\"順位\",\"四股名\",\"1\","},
        {"prize", "Prize.Csv", "\"賞位\",\"しこな\",\"ID\",\"取得点\",\"賞位ﾎﾟｲﾝﾄ\"\r\n"},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(run(dir.path(), {u"export"_qs, QString::fromUtf8(c.word)}), 0) << c.word;
        ASSERT_EQ(run(dir.path(), {u"export"_qs, QString::fromUtf8(c.word)}), 0) << c.word;
        const QByteArray bytes
            = test::readBytes(dir.filePath(QStringLiteral("Data/") + QString::fromUtf8(c.file)));
        const QByteArray header = toCp932(QString::fromUtf8(c.header));
        EXPECT_TRUE(bytes.startsWith(header)) << c.file;
        EXPECT_EQ(bytes.count(header), 1) << c.file;
        if (c.word != std::string("prize")) { // the header and three participants
            EXPECT_EQ(bytes.count("\r\n"), 4) << c.file;
        }
    }
    // Result.Csv in rank order unless --order says otherwise (順位 first, ID last).
    const auto csv
        = [&] { return fromCp932(test::readBytes(dir.filePath(u"Data/Result.Csv"_qs))); };
    EXPECT_TRUE(csv().contains(QRegularExpression(u"\n1,.*\n2,.*\n3,"_qs))) << csv().toStdString();
    ASSERT_EQ(run(dir.path(), {u"export"_qs, u"result"_qs, u"--order"_qs, u"id"_qs}), 0);
    EXPECT_TRUE(csv().contains(QRegularExpression(u",100\r\n.*,101\r\n.*,102\r\n$"_qs)));
    EXPECT_EQ(run(dir.path(), {u"export"_qs, u"result"_qs, u"--order"_qs, u"day"_qs, u"16"_qs}), 2);
    EXPECT_EQ(run(dir.path(), {u"export"_qs, u"entry"_qs, u"--order"_qs, u"id"_qs}), 2);

    EXPECT_EQ(
        run(fresh.path(), {u"print"_qs, u"banzuke"_qs, u"--pdf"_qs, fresh.filePath(u"b.pdf"_qs)}),
        1);
    EXPECT_FALSE(QFile::exists(fresh.filePath(u"b.pdf"_qs))); // refused before the rules
    ASSERT_EQ(run(fresh.path(), {u"rules"_qs, u"decide"_qs}), 0);
    ASSERT_EQ(run(fresh.path(),
                  {u"entry"_qs, u"add"_qs, u"--shikona"_qs, u"a\"b,c"_qs, u"--picks"_qs,
                   u"20,21,22,23,24,25,26"_qs, u"--reserve"_qs, u"30"_qs}),
              0);
    const std::pair<const QTemporaryDir *, const char *> reports[] {
        {&fresh, "banzuke"}, {&fresh, "entries"}, {&dir, "results"}, {&dir, "results-by-id"}};
    for (const auto &[folder, report] : reports) {
        const QString pdf = folder->filePath(QString::fromLatin1(report) + u".pdf"_qs);
        EXPECT_EQ(run(folder->path(), {u"print"_qs, QString::fromLatin1(report), u"--pdf"_qs, pdf}),
                  0)
            << report;
        EXPECT_EQ(test::pdfPageCount(test::readBytes(pdf)), 1) << report;
    }
}
