// Published pages of a sample contest compared with the expected pages of each
// case, the contest's options beside them.
#include "Golden.h"
#include "TestSupport.h"
#include "demo/DemoContest.h"
#include "publish/HtmlPage.h"
#include "publish/Publisher.h"
#include "store/RecordSet.h"
#include "store/Text.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <map>

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

// The named changes an input may make after the sample contest is built.
const std::map<QString, std::function<void(Contest &)>> kChanges {
    {QStringLiteral("reception-open"), [](Contest &c) { c.rules().flag = 3; }},
    {QStringLiteral("hostile-names"), typeHostileNames},
};

class PublishGolden : public testing::TestWithParam<const char *>
{
};

TEST_P(PublishGolden, PagesMatch)
{
    const GoldenCase gc(QStringLiteral("publish-pages"), QString::fromLatin1(GetParam()));
    qputenv("KC_RANDOM_SEED", "7");
    qputenv("KC_PUBLISH_TIME", "2025-09-28T18:05");
    TempContest temp;
    Contest &c = temp.open();
    DemoOptions demo;
    demo.entries = gc.number(QStringLiteral("participants"));
    demo.seed = quint64(gc.number(QStringLiteral("seed")));
    demo.days = gc.number(QStringLiteral("days"));
    demo.reserve = gc.number(QStringLiteral("reserve")) == 1;
    ASSERT_EQ(buildDemoContest(c, demo), QString());
    if (const QString change = gc.value(QStringLiteral("change")); !change.isEmpty()) {
        ASSERT_TRUE(kChanges.count(change)) << change.toStdString();
        kChanges.at(change)(c);
    }
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

    for (const QString &page : pages)
        gc.expect(page, readBytes(html + u'/' + page));
}

INSTANTIATE_TEST_SUITE_P(Cases, PublishGolden,
                         testing::Values("day0", "day8-no-reserve", "day15", "second-block",
                                         "reception-open", "hostile-names"),
                         [](const testing::TestParamInfo<const char *> &p) {
                             return QString::fromLatin1(p.param).remove(u'-').toStdString();
                         });

} // namespace
