// The published pages on a phone (Chromium's device emulation, 390 px,
// mobile) and on a desktop, driven over Chromium's DevTools pipe.
#undef QT_NO_CAST_FROM_ASCII // the DevTools names as plain literals
#include "TestSupport.h"
#include "demo/DemoContest.h"
#include "publish/HtmlPage.h"
#include "publish/Publisher.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QUrl>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

using namespace kc;
using namespace kc::test;

namespace {

// --remote-debugging-pipe: commands in on fd 3, answers out on fd 4, each a
// JSON message ended by a NUL.
class DevTools
{
public:
    DevTools(const QString &chromium, const QString &profile)
    {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0)
            return;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, in[0], 3);
        posix_spawn_file_actions_adddup2(&fa, out[1], 4);
        posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0); // its own log
        std::vector<QByteArray> args {chromium.toLocal8Bit(), "--remote-debugging-pipe",
                                      "--user-data-dir=" + profile.toLocal8Bit()};
        for (const char *flag :
             {"--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars"})
            args.emplace_back(flag);
        std::vector<char *> argv;
        for (QByteArray &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &fa, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&fa);
        ::close(in[0]);
        ::close(out[1]);
        m_to = in[1];
        m_from = out[0];
    }
    ~DevTools()
    {
        if (m_pid > 0) {
            call("Browser.close");
            for (int k = 0; waitpid(m_pid, nullptr, WNOHANG) == 0; ++k) {
                if (k == 50)
                    kill(m_pid, SIGKILL);
                usleep(100000);
            }
        }
        ::close(m_to);
        ::close(m_from);
    }
    bool running() const { return m_pid > 0; }

    // The result of a command, or the next event of that name when `event`.
    QJsonObject call(const char *method, const QJsonObject &params = {}, bool event = false)
    {
        QJsonObject m {{"id", ++m_id}, {"method", method}, {"params", params}};
        if (!m_session.isEmpty())
            m.insert("sessionId", m_session);
        const QByteArray bytes = QJsonDocument(m).toJson(QJsonDocument::Compact) + '\0';
        if (::write(m_to, bytes.constData(), size_t(bytes.size())) != bytes.size())
            return {};
        for (;;) {
            for (qsizetype end; (end = m_buf.indexOf('\0')) >= 0;) {
                const QJsonObject o = QJsonDocument::fromJson(m_buf.left(end)).object();
                m_buf.remove(0, end + 1);
                if (event ? o["method"].toString() == QLatin1String(method)
                          : o["id"].toInt() == m_id)
                    return o[event ? "params" : "result"].toObject();
            }
            pollfd p {m_from, POLLIN, 0};
            char chunk[65536];
            const ssize_t got = poll(&p, 1, 60000) == 1 ? ::read(m_from, chunk, sizeof chunk) : -1;
            if (got <= 0)
                return {};
            m_buf.append(chunk, got);
        }
    }
    // The page in a new tab with the given screen; what `script` returns as JSON.
    QJsonObject open(const QString &file, int width, bool mobile, const QString &script)
    {
        m_session.clear();
        const QJsonValue target = call("Target.createTarget", {{"url", "about:blank"}})["targetId"];
        m_session
            = call("Target.attachToTarget", {{"targetId", target}, {"flatten", true}})["sessionId"]
                  .toString();
        call("Page.enable");
        call("Emulation.setDeviceMetricsOverride",
             {{"width", width},
              {"height", mobile ? 844 : 900},
              {"deviceScaleFactor", mobile ? 3 : 1},
              {"mobile", mobile}});
        call("Page.navigate", {{"url", QUrl::fromLocalFile(file).toString()}});
        call("Page.loadEventFired", {}, true);
        const QString value
            = call("Runtime.evaluate", {{"expression", script}, {"returnByValue", true}})["result"]
                  .toObject()["value"]
                  .toString();
        return QJsonDocument::fromJson(value.toUtf8()).object();
    }

private:
    pid_t m_pid = -1;
    int m_to = -1, m_from = -1, m_id = 0;
    QString m_session;
    QByteArray m_buf;
};

// Zoom, sideways overflow of the page, the smallest visible text, the
// navigation targets; where rank and name are once the first wide table is
// scrolled to its end.
const char kMeasure[]
    = R"((function(){var small=99,seen=0,q=function(s){return [].slice.call(document.querySelectorAll(s));};
q('td,li,.nav a,p').forEach(function(e){if(e.textContent.trim()&&e.getClientRects().length){seen++;small=Math.min(small,parseFloat(getComputedStyle(e).fontSize));}});
var t=q('table').filter(function(x){return x.scrollWidth>x.clientWidth+1;})[0],out={scale:visualViewport.scale,page:document.documentElement.scrollWidth,small:small,seen:seen,
 title:document.title,display:getComputedStyle(q('table')[0]).display,links:q('.nav a').map(function(a){return a.getAttribute('href');})};
if(t){t.scrollLeft=t.scrollWidth;var b=t.getBoundingClientRect(),c=function(i){var r=t.rows[3].cells[i].getBoundingClientRect();return r.left>=b.left-1&&r.right<=b.right+1;};
 out.scrolled=t.scrollLeft;out.rankSeen=c(0);out.nameSeen=c(2);}return JSON.stringify(out);})())";

TEST(PhoneView, PagesReadAtScaleOneWithRankAndNameInViewAndTheDesktopKeepsItsTables)
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty())
        GTEST_SKIP() << "chromium is not installed (scripts/install-deps.sh installs it)";
    TempContest temp;
    Contest &c = temp.open();
    ASSERT_EQ(buildDemoContest(c, {40, 4, 15, true}), QString());
    c.entries()[2].shikona = QStringLiteral("とても長いしこなの参加者😀");
    c.rebuildEntryTable();
    publisher::publishSite(c);
    const QString html = c.paths().html + u'/';
    QTemporaryDir profile;
    DevTools chrome(chromium, profile.path());
    ASSERT_TRUE(chrome.running());
    for (const QString &page : {QStringLiteral("index.html"), QStringLiteral("Result.html"),
                                html::participantFile(c.roster().bashoCode, 102)}) {
        SCOPED_TRACE(page.toStdString());
        const QJsonObject m = chrome.open(html + page, 390, true, QString::fromLatin1(kMeasure));
        EXPECT_EQ(m["scale"].toDouble(), 1.0);
        EXPECT_LE(m["page"].toInt(), 390) << "the page itself scrolls sideways";
        EXPECT_GT(m["seen"].toInt(), 20);
        EXPECT_GE(m["small"].toDouble(), 14.0);
        EXPECT_TRUE(m["title"].toString().startsWith(c.roster().bashoName.trimmed()));
        EXPECT_GE(m["links"].toArray().size(), 8);
        for (const QJsonValue &link : m["links"].toArray())
            EXPECT_TRUE(QFileInfo::exists(html + link.toString())) << link.toString().toStdString();
        if (page != QStringLiteral("index.html")) {
            EXPECT_GT(m["scrolled"].toInt(), 100) << "no table scrolls sideways";
            EXPECT_TRUE(m["rankSeen"].toBool() && m["nameSeen"].toBool());
        }
        const QJsonObject d = chrome.open(html + page, 1280, false, QString::fromLatin1(kMeasure));
        EXPECT_EQ(d["display"].toString(), QStringLiteral("table"));
        EXPECT_FALSE(d.contains(QStringLiteral("scrolled"))) << "a table scrolls on the desktop";
    }
}

} // namespace
