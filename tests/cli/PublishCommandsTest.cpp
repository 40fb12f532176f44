#include "EntryTestSupport.h"
#include "Golden.h"
#include "entries/EntryRegistration.h"
#include "publish/Publisher.h"
#include "scoring/CompetitionStart.h"
#include "store/Text.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kc;
using namespace kc::test;

namespace {

TEST(PublishCommands, EachCommandWritesItsPagesAndKeepsTheOrganisersStyleSheet)
{
    KC_SKIP_WITHOUT_EXE();
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("c"));
    auto run = [&](const QStringList &args) {
        return runExe(QStringList {QStringLiteral("--dir"), dir} + args);
    };
    const QString html = dir + QStringLiteral("/html/");

    // Nothing to publish yet: refused, nothing written.
    const CliResult early = run({QStringLiteral("publish")});
    EXPECT_EQ(early.code, 1);
    EXPECT_TRUE(early.err.contains(QStringLiteral("受付終了の後"))) << early.err.toStdString();
    EXPECT_EQ(run({QStringLiteral("publish"), QStringLiteral("entries")}).code, 1);
    EXPECT_FALSE(QFileInfo::exists(html + QStringLiteral("Result.html")));
    EXPECT_EQ(run({QStringLiteral("publish"), QStringLiteral("everything")}).code, 2);
    // The whole site before the rules are decided: the home page alone.
    const CliResult site = run({QStringLiteral("publish"), QStringLiteral("all")});
    EXPECT_EQ(site.code, 0) << site.err.toStdString();
    EXPECT_TRUE(site.out.contains(QStringLiteral("1 ページ"))) << site.out.toStdString();
    EXPECT_TRUE(QFileInfo::exists(html + QStringLiteral("index.html")));
    EXPECT_FALSE(QFileInfo::exists(html + QStringLiteral("Rules.html")));
    QDir(dir).removeRecursively();

    const CliResult demo
        = run({QStringLiteral("demo"), QStringLiteral("--entries"), QStringLiteral("4")});
    ASSERT_EQ(demo.code, 0) << demo.err.toStdString();
    EXPECT_TRUE(demo.out.contains(QStringLiteral("Result.html")));
    writeBytes(html + QStringLiteral("Kachi1.css"), "/* the organiser's own */");
    QFile::remove(html + QStringLiteral("pic/bar.gif"));
    QFile::remove(html + QStringLiteral("Entry.html"));
    QFile::remove(html + QStringLiteral("Rules.html"));

    const CliResult all = run({QStringLiteral("publish")});
    EXPECT_EQ(all.code, 0) << all.err.toStdString();
    EXPECT_TRUE(all.out.contains(QStringLiteral("10 ページ"))) << all.out.toStdString();
    EXPECT_TRUE(all.err.isEmpty()) << "progress without a terminal: " << all.err.toStdString();
    EXPECT_EQ(readBytes(html + QStringLiteral("Kachi1.css")),
              QByteArray("/* the organiser's own */"));
    EXPECT_TRUE(readBytes(html + QStringLiteral("pic/bar.gif")).startsWith("GIF8"));
    EXPECT_TRUE(readBytes(html + QStringLiteral("z0209103.html")).startsWith("\r\n<!DOCTYPE"));

    // The whole site after the last day: the ten of publish, Entry.html and Rules.html.
    QFile::remove(html + QStringLiteral("index.html"));
    const CliResult whole = run({QStringLiteral("publish"), QStringLiteral("all")});
    EXPECT_EQ(whole.code, 0) << whole.err.toStdString();
    EXPECT_TRUE(whole.out.contains(QStringLiteral("12 ページ"))) << whole.out.toStdString();

    // The sheet an earlier version put there, untouched, is brought up to date.
    const GoldenCase earlier(u"publish-commands"_qs, u"earlier-style-sheet"_qs);
    writeBytes(html + QStringLiteral("Kachi1.css"), readBytes(earlier.path(u"Kachi1.css"_qs)));
    EXPECT_EQ(run({QStringLiteral("publish"), QStringLiteral("rules")}).code, 0);
    EXPECT_EQ(readBytes(html + QStringLiteral("Kachi1.css")),
              readBytes(qEnvironmentVariable("KC_TEST_SOURCE_DIR")
                        + QStringLiteral("/resources/publish/Kachi1.css")));

    struct Row
    {
        const char *command, *page;
    } rows[] = {{"entries", "Entry.html"}, {"rules", "Rules.html"}, {"all", "index.html"}};
    for (const Row &r : rows) {
        const CliResult res = run({QStringLiteral("publish"), QString::fromLatin1(r.command)});
        EXPECT_EQ(res.code, 0) << r.command << res.err.toStdString();
        const QByteArray page = readBytes(html + QString::fromLatin1(r.page));
        EXPECT_TRUE(page.contains(
            "<HEAD><META http-equiv=Content-Type content=\"text/html; charset=Shift_JIS\">"))
            << r.page;
    }

    // The update time is the data's: publishing again later writes the same bytes.
    const QDateTime changed(QDate(2020, 1, 2), QTime(3, 4));
    for (const QString &name : QDir(dir + QStringLiteral("/Data")).entryList(QDir::Files)) {
        QFile f(dir + QStringLiteral("/Data/") + name);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(changed, QFileDevice::FileModificationTime);
    }
    ASSERT_EQ(run({QStringLiteral("publish")}).code, 0);
    const QByteArray first = readBytes(html + QStringLiteral("Result.html"));
    EXPECT_TRUE(fromCp932(first).contains(QStringLiteral("更新: 2020/01/02 03:04")));
    ASSERT_EQ(run({QStringLiteral("publish")}).code, 0);
    EXPECT_EQ(readBytes(html + QStringLiteral("Result.html")), first);
}

TEST(PublishCommands, ClosingTheReceptionPublishesTheListAndTheRulesOrNothing)
{
    for (const bool yes : {false, true}) {
        TempContest tc;
        Contest &c = openDecidedContest(tc);
        ASSERT_TRUE(EntryRegistration(c).addAll({validForm(QStringLiteral("A&B"))}));
        tc.prompter.answers = {yes};
        EXPECT_EQ(closeReception(c, publisher::publishOnReceptionClosed),
                  yes ? PhaseOutcome::Done : PhaseOutcome::Declined);
        const QByteArray entry = readBytes(c.paths().html + QStringLiteral("/Entry.html"));
        EXPECT_EQ(entry.contains("A&amp;B"), yes);
        EXPECT_EQ(QFileInfo::exists(c.paths().html + QStringLiteral("/Rules.html")), yes);
    }
}

} // namespace

// print REPORT --pdf PATH through the real program: inside Data/ (also through a
// link) or not a regular file is refused, saying why, Data/ and PATH untouched; a
// link to a file writes that file; nothing on standard error (no Qt warning).
// Rows: PATH and the message's key words.
TEST(PublishCommands, PdfTargetsInsideDataOrNotAFileAreRefused)
{
    KC_SKIP_WITHOUT_EXE();
    qunsetenv("XDG_RUNTIME_DIR");
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(u"c"_qs), out = tmp.path();
    ASSERT_EQ(runExe({u"--dir"_qs, dir, u"demo"_qs, u"--entries"_qs, u"3"_qs}).code, 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(out + u"/fifo"_qs).constData(), 0600), 0);
    QFile::link(dir + u"/Data/Entry.Dat"_qs, out + u"/into-data.pdf"_qs);
    QFile::link(out + u"/missing"_qs, out + u"/dangling.pdf"_qs);
    writeBytes(out + u"/real.pdf"_qs, "old");
    QFile::link(out + u"/real.pdf"_qs, out + u"/link.pdf"_qs);
    const QMap<QString, QByteArray> data = snapshotFiles(dir + u"/Data"_qs);
    const std::pair<QString, const char *> rows[] {
        {dir + u"/Data/Entry.Dat"_qs, "Data フォルダの中"},
        {dir + u"/html/../Data/new/x.pdf"_qs, "Data フォルダの中"},
        {out + u"/into-data.pdf"_qs, "Data フォルダの中"},
        {out + u"/fifo"_qs, "通常のファイルではありません"},
        {out, "フォルダです"},
        {out + u"/dangling.pdf"_qs, "リンク先のファイルがありません"},
        {out + u"/link.pdf"_qs, nullptr}, // written: real.pdf
    };
    for (const auto &[path, why] : rows) {
        const CliResult r
            = runExe({u"--dir"_qs, dir, u"print"_qs, u"results"_qs, u"--pdf"_qs, path});
        EXPECT_EQ(r.code, why ? 1 : 0) << path.toStdString();
        EXPECT_TRUE(why ? r.err.contains(QString::fromUtf8(why)) : r.err.isEmpty())
            << r.err.toStdString();
    }
    EXPECT_EQ(snapshotFiles(dir + u"/Data"_qs), data);
    EXPECT_FALSE(QFileInfo(out + u"/fifo"_qs).isFile());
    EXPECT_TRUE(QFileInfo(out + u"/link.pdf"_qs).isSymLink()
                && readBytes(out + u"/real.pdf"_qs).startsWith("%PDF"));
}
