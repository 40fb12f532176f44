// Published pages compared byte for byte with the expected pages of each case
// (tests/publish/golden/<case>/). KC_UPDATE_GOLDEN=1 writes them anew.
#include "TestSupport.h"
#include "publish/HtmlPage.h"
#include "publish/Publisher.h"
#include "demo/DemoContest.h"
#include "store/RecordSet.h"
#include "store/Text.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

// Names a hostile or careless organiser might type.
void typeHostileNames(Contest &c)
{
    c.roster().bashoName = QStringLiteral("令和<7>年 & \"九月\"");
    c.roster().bashoCode = QStringLiteral("../2509 九月/x");
    c.roster().wrestlers[c.entries()[0].picks[0]].name = QStringLiteral("A&B");
    c.entries()[0].shikona = QStringLiteral("<script>alert(1)</script>");
    c.entries()[1].shikona = QStringLiteral("\"鶴&亀\" 😀");
    c.rebuildEntryTable();
    RecordSet prizes(c.database(), QStringLiteral("PRIZE"));
    prizes.moveFirst();
    prizes.setValue(QStringLiteral("賞位"), QStringLiteral("優勝<賞>"));
    prizes.update();
}

struct Case
{
    const char *name;
    DemoOptions demo;
    std::function<void(Contest &)> change;
};

class PublishGolden : public testing::TestWithParam<Case>
{
};

TEST_P(PublishGolden, PagesMatch)
{
    const Case &tc = GetParam();
    qputenv("KC_RANDOM_SEED", "7");
    qputenv("KC_PUBLISH_TIME", "2025-09-28T18:05");
    TempContest temp;
    Contest &c = temp.open();
    ASSERT_EQ(buildDemoContest(c, tc.demo), QString());
    if (tc.change)
        tc.change(c);
    publisher::publishAll(c);
    ASSERT_TRUE(publisher::publishEntries(c));
    publisher::publishRules(c);
    publisher::publishTestPage(c);

    const QString html = c.paths().html;
    const QString code = c.roster().bashoCode;
    QStringList pages {QStringLiteral("Result.html"),   QStringLiteral("Result2.html"),
                       QStringLiteral("Entry.html"),    QStringLiteral("Records.html"),
                       QStringLiteral("graph.html"),    QStringLiteral("Prize.html"),
                       QStringLiteral("Rules.html"),    QStringLiteral("test.html"),
                       QStringLiteral("index.html"),    html::participantFile(code, 100),
                       html::participantFile(code, 101)};
    // One participant page for each participant, none elsewhere.
    const QStringList written
        = QDir(html).entryList({QStringLiteral("z*.html")}, QDir::Files, QDir::Name);
    EXPECT_EQ(written.size(), c.participantCount());
    EXPECT_TRUE(written.contains(html::participantFile(code, 99 + c.participantCount())));

    const QString dir = qEnvironmentVariable("KC_TEST_SOURCE_DIR")
        + QStringLiteral("/tests/publish/golden/") + QString::fromLatin1(tc.name);
    for (const QString &page : pages) {
        const QByteArray got = readBytes(html + u'/' + page);
        if (qEnvironmentVariableIsSet("KC_UPDATE_GOLDEN")) {
            QDir().mkpath(dir);
            writeBytes(dir + u'/' + page, got);
            continue;
        }
        const QByteArray expected = readBytes(dir + u'/' + page);
        // Text first, so a difference reads as text; then the bytes.
        EXPECT_EQ(fromCp932(got).toStdString(), fromCp932(expected).toStdString())
            << page.toStdString();
        EXPECT_EQ(got, expected) << page.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PublishGolden,
                         testing::Values(Case {"day0", {3, 3, 0, true}, {}},
                                         Case {"day8-no-reserve", {6, 4, 8, false}, {}},
                                         Case {"day15", {12, 5, 15, true}, {}},
                                         Case {"second-block", {31, 6, 15, true}, {}},
                                         Case {"reception-open",
                                               {2, 9, 0, false},
                                               [](Contest &c) { c.rules().flag = 3; }},
                                         Case {"hostile-names", {4, 8, 3, true}, typeHostileNames}),
                         [](const testing::TestParamInfo<Case> &p) {
                             return QString::fromLatin1(p.param.name).remove(u'-').toStdString();
                         });

} // namespace
