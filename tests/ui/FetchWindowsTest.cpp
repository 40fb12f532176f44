#include "FetchFixture.h"
#include "online/FetchSettings.h"
#include "ui/BanzukeWindow.h"
#include "ui/TorikumiWindow.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include "WidgetLookup.h"

using namespace kc;
using namespace kc::test;
using namespace Qt::StringLiterals;

namespace {

class FetchWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.running());
        setUpFetchedContest(tc, server);
    }
    // The torikumi address from the site's `path`, then a window on day 3.
    std::unique_ptr<ui::TorikumiWindow> window(const QString &path)
    {
        FetchSettings s;
        s.torikumiTemplate = server.url(path);
        s.save(tc.contest());
        data = snapshotFiles(tc.root() + u"/Data"_s);
        return std::make_unique<ui::TorikumiWindow>(tc.contest(), ui::TorikumiWindow::Mode::Input);
    }
    std::vector<int> day3Marks()
    {
        std::vector<int> marks;
        for (int s = 0; s < tc.contest().roster().wrestlerCount; ++s)
            marks.push_back(tc.contest().roster().wrestlers[s].dayResult[2]);
        return marks;
    }
    FetchServer server {700};
    TempContest tc;
    QMap<QString, QByteArray> data;
};

TEST_F(FetchWindows, OneButtonFillsTheDayAndShowsWhatChangedAndWhence)
{
    auto w = window(u"/fixtures/day{day}.json"_s);
    QSignalSpy finished(w.get(), &ui::TorikumiWindow::fetchFinished);
    click(*w, u"cmdFetch"_s);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(day3Marks(), kDay3Marks);
    const QString report = child<QPlainTextEdit>(*w, u"txFetchReport"_s)->toPlainText();
    for (const QString &part :
         {u"取組 4 番、8 名"_s, u"変わった結果 5 件"_s, u"北風  黒星 → 金星"_s,
          u"結果なし 2 名（休場か、取組にない）:\n  波、光"_s})
        EXPECT_TRUE(report.contains(part)) << report.toStdString();
    EXPECT_TRUE(child<QStatusBar>(*w, u"statusBar"_s)
                    ->currentMessage()
                    .startsWith(u"取得元: "_s + server.url(u"/fixtures/day3.json（"_s)));
    // 北風 (east, sekiwake row) changed: framed; 波 did not.
    EXPECT_TRUE(child<QPushButton>(*w, u"cmdRikishi_4"_s)->styleSheet().contains(u"#d00000"_s));
    EXPECT_FALSE(child<QPushButton>(*w, u"cmdRikishi_8"_s)->styleSheet().contains(u"#d00000"_s));
    EXPECT_TRUE(tc.prompter.messages.isEmpty());
    // Proposals only: nothing confirmed, nothing saved before 閉じる.
    EXPECT_EQ(tc.contest().rules().currentDay, 2);
    EXPECT_EQ(snapshotFiles(tc.root() + u"/Data"_s), data);
}

TEST_F(FetchWindows, AbortAndFailuresChangeNothing)
{
    auto w = window(u"/slow"_s);
    QSignalSpy finished(w.get(), &ui::TorikumiWindow::fetchFinished);
    click(*w, u"cmdFetch"_s);
    ASSERT_TRUE(w->isFetching());
    EXPECT_FALSE(child<QPushButton>(*w, u"cmdDecite"_s)->isEnabled());
    EXPECT_FALSE(child<QPushButton>(*w, u"cmdRikishi_0"_s)->isEnabled());
    click(*w, u"cmdAbort"_s);
    ASSERT_EQ(finished.size(), 1);
    EXPECT_TRUE(child<QPushButton>(*w, u"cmdDecite"_s)->isEnabled());
    EXPECT_TRUE(child<QStatusBar>(*w, u"statusBar"_s)->currentMessage().contains(u"中止"_s));
    EXPECT_TRUE(tc.prompter.messages.isEmpty());

    auto failing = window(u"/status/404"_s);
    QSignalSpy failed(failing.get(), &ui::TorikumiWindow::fetchFinished);
    failing->fetchShownDay();
    ASSERT_TRUE(failed.wait(10000));
    ASSERT_EQ(tc.prompter.messages.size(), 1);
    EXPECT_TRUE(tc.prompter.messages[0].contains(u"HTTP 404"_s));
    EXPECT_EQ(day3Marks(), std::vector<int>(10, 0));
    EXPECT_EQ(snapshotFiles(tc.root() + u"/Data"_s), data);
}

TEST_F(FetchWindows, BanzukeComesIntoTheBoxesForChecking)
{
    FetchSettings s;
    s.banzukeTemplate = server.url(u"/fixtures/banzuke.json"_s);
    s.save(tc.contest());
    ui::BanzukeWindow w(tc.contest());
    QSignalSpy finished(&w, &ui::BanzukeWindow::fetchFinished);
    w.fetchBanzuke();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(child<QLineEdit>(w, u"txBname"_s)->text(), u"202609"_s);
    EXPECT_EQ(child<QLineEdit>(w, u"txR_3"_s)->text(), u"北風"_s);
    EXPECT_FALSE(w.saved());
}

} // namespace
