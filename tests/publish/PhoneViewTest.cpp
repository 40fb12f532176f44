// The published pages on a phone (Chromium's device emulation, 390 px,
// mobile) and on a desktop, driven over Chromium's DevTools pipe.
// KC_SCREENSHOT_DIR=folder keeps a screenshot of each page at each width.
#include "TestSupport.h"
#include "publish/HtmlPage.h"
#include "publish/Publisher.h"
#include "scoring/DemoContest.h"

#include <QDir>
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
#include <unistd.h>

extern char **environ;

using namespace kc;
using namespace kc::test;

namespace {

// Chromium with --remote-debugging-pipe reads commands on fd 3 and answers on
// fd 4, each message JSON ended by a NUL.
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
        const QList<QByteArray> args {chromium.toLocal8Bit(),
                                      "--headless",
                                      "--no-sandbox",
                                      "--disable-gpu",
                                      "--hide-scrollbars",
                                      "--no-first-run",
                                      "--disable-background-networking",
                                      "--remote-debugging-pipe",
                                      "--user-data-dir=" + profile.toLocal8Bit(),
                                      "about:blank"};
        std::vector<char *> argv;
        for (const QByteArray &a : args)
            argv.push_back(const_cast<char *>(a.constData()));
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
            call(QStringLiteral("Browser.close"));
            for (int k = 0; k < 50 && waitpid(m_pid, nullptr, WNOHANG) == 0; ++k)
                usleep(100000);
            if (kill(m_pid, 0) == 0) {
                kill(m_pid, SIGKILL);
                waitpid(m_pid, nullptr, 0);
            }
        }
        ::close(m_to);
        ::close(m_from);
    }
    bool running() const { return m_pid > 0; }

    QJsonObject call(const QString &method, const QJsonObject &params = {},
                     const QString &session = {})
    {
        QJsonObject m {{QStringLiteral("id"), ++m_id},
                       {QStringLiteral("method"), method},
                       {QStringLiteral("params"), params}};
        if (!session.isEmpty())
            m.insert(QStringLiteral("sessionId"), session);
        const QByteArray bytes = QJsonDocument(m).toJson(QJsonDocument::Compact) + '\0';
        if (::write(m_to, bytes.constData(), size_t(bytes.size())) != bytes.size())
            return {};
        const int id = m_id;
        const QJsonObject reply = next(
            [id](const QJsonObject &o) { return o.value(QStringLiteral("id")).toInt() == id; });
        return reply.value(QStringLiteral("result")).toObject();
    }
    bool event(const QString &method)
    {
        return !next([&](const QJsonObject &o) {
                    return o.value(QStringLiteral("method")).toString() == method;
                }).isEmpty();
    }

    // A new tab with the given screen, the page loaded in it; its session.
    QString open(const QString &file, int width, bool mobile)
    {
        const QString target = call(QStringLiteral("Target.createTarget"),
                                    {{QStringLiteral("url"), QStringLiteral("about:blank")}})
                                   .value(QStringLiteral("targetId"))
                                   .toString();
        const QString s
            = call(QStringLiteral("Target.attachToTarget"),
                   {{QStringLiteral("targetId"), target}, {QStringLiteral("flatten"), true}})
                  .value(QStringLiteral("sessionId"))
                  .toString();
        call(QStringLiteral("Page.enable"), {}, s);
        call(QStringLiteral("Emulation.setDeviceMetricsOverride"),
             {{QStringLiteral("width"), width},
              {QStringLiteral("height"), mobile ? 844 : 900},
              {QStringLiteral("deviceScaleFactor"), mobile ? 3 : 1},
              {QStringLiteral("mobile"), mobile}},
             s);
        call(QStringLiteral("Page.navigate"),
             {{QStringLiteral("url"), QUrl::fromLocalFile(file).toString()}}, s);
        event(QStringLiteral("Page.loadEventFired"));
        return s;
    }
    QJsonObject eval(const QString &session, const QString &script)
    {
        const QJsonObject r = call(
            QStringLiteral("Runtime.evaluate"),
            {{QStringLiteral("expression"), script}, {QStringLiteral("returnByValue"), true}},
            session);
        return QJsonDocument::fromJson(r.value(QStringLiteral("result"))
                                           .toObject()
                                           .value(QStringLiteral("value"))
                                           .toString()
                                           .toUtf8())
            .object();
    }
    void screenshot(const QString &session, const QString &path)
    {
        const QString data = call(QStringLiteral("Page.captureScreenshot"), {}, session)
                                 .value(QStringLiteral("data"))
                                 .toString();
        writeBytes(path, QByteArray::fromBase64(data.toLatin1()));
    }

private:
    template<class Pred> QJsonObject next(Pred wanted)
    {
        for (;;) {
            for (qsizetype end; (end = m_buf.indexOf('\0')) >= 0;) {
                const QJsonObject o = QJsonDocument::fromJson(m_buf.left(end)).object();
                m_buf.remove(0, end + 1);
                if (wanted(o))
                    return o;
            }
            pollfd p {m_from, POLLIN, 0};
            char chunk[65536];
            const ssize_t got = poll(&p, 1, 60000) == 1 ? ::read(m_from, chunk, sizeof chunk) : -1;
            if (got <= 0)
                return {};
            m_buf.append(chunk, got);
        }
    }
    pid_t m_pid = -1;
    int m_to = -1, m_from = -1, m_id = 0;
    QByteArray m_buf;
};

// What the page measures of itself: zoom, overflow, the smallest text, the
// navigation targets; for a table page also where rank and name are after the
// first wide table is scrolled to its end.
const char kMeasure[] = R"((function(){
var small=99,seen=0;document.querySelectorAll('td,li,.nav a,p').forEach(function(e){
 if(!e.textContent.trim()||!e.getClientRects().length)return;seen++;
 small=Math.min(small,parseFloat(getComputedStyle(e).fontSize));});
var t=null;document.querySelectorAll('table').forEach(function(x){if(!t&&x.scrollWidth>x.clientWidth+1)t=x;});
var out={scale:visualViewport.scale,width:innerWidth,page:document.documentElement.scrollWidth,
 small:small,seen:seen,title:document.title,display:getComputedStyle(document.querySelector('table')).display,
 links:[].map.call(document.querySelectorAll('.nav a'),function(a){return a.getAttribute('href');})};
if(t){t.scrollLeft=t.scrollWidth;var b=t.getBoundingClientRect(),row=t.rows[3],c=function(i){var r=row.cells[i].getBoundingClientRect();return r.left>=b.left-1&&r.right<=b.right+1;};
 out.scrolled=t.scrollLeft;out.rankSeen=c(0);out.nameSeen=c(2);out.nameText=row.cells[2].textContent;}
return JSON.stringify(out);})())";

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
    const QString html = c.paths().html;
    const QString shots = qEnvironmentVariable("KC_SCREENSHOT_DIR");

    QTemporaryDir profile;
    DevTools chrome(chromium, profile.path());
    ASSERT_TRUE(chrome.running());
    const QString participant = html::participantFile(c.roster().bashoCode, 102);
    for (const QString &page :
         {QStringLiteral("index.html"), QStringLiteral("Result.html"), participant}) {
        SCOPED_TRACE(page.toStdString());
        const QString phone = chrome.open(html + u'/' + page, 390, true);
        const QJsonObject m = chrome.eval(phone, QString::fromLatin1(kMeasure));
        ASSERT_FALSE(m.isEmpty());
        EXPECT_EQ(m[QStringLiteral("scale")].toDouble(), 1.0);
        EXPECT_EQ(m[QStringLiteral("width")].toInt(), 390);
        EXPECT_LE(m[QStringLiteral("page")].toInt(), 390) << "the page itself scrolls sideways";
        EXPECT_GT(m[QStringLiteral("seen")].toInt(), 20);
        EXPECT_GE(m[QStringLiteral("small")].toDouble(), 14.0);
        EXPECT_TRUE(m[QStringLiteral("title")].toString().contains(c.roster().bashoName.trimmed()));
        const QJsonArray links = m[QStringLiteral("links")].toArray();
        EXPECT_GE(links.size(), 8);
        for (const QJsonValue &link : links)
            EXPECT_TRUE(QFileInfo::exists(html + u'/' + link.toString()))
                << link.toString().toStdString();
        if (page != QStringLiteral("index.html")) {
            EXPECT_GT(m[QStringLiteral("scrolled")].toInt(), 100) << "no table scrolls sideways";
            EXPECT_TRUE(m[QStringLiteral("rankSeen")].toBool());
            EXPECT_TRUE(m[QStringLiteral("nameSeen")].toBool())
                << m[QStringLiteral("nameText")].toString().toStdString();
        }
        if (!shots.isEmpty())
            chrome.screenshot(phone,
                              shots + QStringLiteral("/390-") + page + QStringLiteral(".png"));

        const QString desk = chrome.open(html + u'/' + page, 1280, false);
        const QJsonObject d = chrome.eval(desk, QString::fromLatin1(kMeasure));
        EXPECT_EQ(d[QStringLiteral("display")].toString(), QStringLiteral("table"));
        EXPECT_FALSE(d.contains(QStringLiteral("scrolled"))) << "a table scrolls on the desktop";
        if (!shots.isEmpty())
            chrome.screenshot(desk,
                              shots + QStringLiteral("/1280-") + page + QStringLiteral(".png"));
    }
}

} // namespace
