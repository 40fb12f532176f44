#include "Golden.h"
#include "TestSupport.h"

#include "publish/CsvExport.h"
#include "store/Roster.h"
#include "store/Text.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace kc;

namespace {

QList<int> numbers(const QString &text)
{
    QList<int> out;
    for (const QString &n : text.split(u' ', Qt::SkipEmptyParts))
        out << n.toInt();
    return out;
}

// The entry file of a case's input: its rules, banzuke and entries.
QByteArray entryCsvOf(const test::GoldenCase &gc)
{
    Roster roster;
    roster.installDefault();
    roster.wrestlers[1].name = gc.value(QStringLiteral("wrestler1"));
    RulesRecord rules = RulesRecord::firstRunDefaults();
    rules.pickCount = qint16(gc.number(QStringLiteral("pickCount")));
    rules.slotPoints.fill(0);
    const QList<int> points = numbers(gc.value(QStringLiteral("slotPoints")));
    std::copy(points.begin(), points.end(), rules.slotPoints.begin());
    rules.useReserve = qint16(gc.number(QStringLiteral("useReserve")));
    std::vector<EntryRecord> entries;
    for (const QString &line : gc.values(QStringLiteral("entry"))) {
        EntryRecord e = EntryRecord::cleared();
        e.shikona = line.section(u'|', 2);
        e.shikona.remove(0, 1); // the blank after the bar
        const QList<int> picks = numbers(line.section(u'|', 0, 0));
        std::copy(picks.begin(), picks.end(), e.picks.begin());
        e.reserveList[0] = qint16(line.section(u'|', 1, 1).trimmed().toInt());
        entries.push_back(e);
    }
    return entryCsv(rules, roster, entries);
}

} // namespace

TEST(CsvExport, EachCaseMatchesItsGoldenFile)
{
    for (const char *name : {"entry-none", "entry-seven-no-reserve", "entry-three-reserve",
                             "result-none", "prize-none"}) {
        const test::GoldenCase gc(QStringLiteral("csv-export"), QString::fromLatin1(name));
        const QString table = gc.value(QStringLiteral("export"));
        if (table == u"entry") {
            gc.expect(QStringLiteral("Entry.Csv"), entryCsvOf(gc));
            continue;
        }
        test::TempContest tc;
        Contest &c = tc.open();
        if (table == u"result")
            gc.expect(QStringLiteral("Result.Csv"), resultCsv(c.rules(), c.entryTable()));
        else
            gc.expect(QStringLiteral("Prize.Csv"), prizeCsv(c.database()));
    }
}

// The real program, with no display: the exports of a finished sample contest
// (a repeated export replaces the file rather than adding a second header),
// then every list report as a PDF.
TEST(CsvExport, RealExecutableExportsAndPrintsWithoutADisplay)
{
    KC_SKIP_WITHOUT_EXE();
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
