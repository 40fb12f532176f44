// The published pages as a browser reads them: headless Chromium, any locale.
#include "TestSupport.h"
#include "publish/HtmlPage.h"
#include "publish/Publisher.h"
#include "demo/DemoContest.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

// The page's DOM after loading, as Chromium serialises it (UTF-8).
QString dumpDom(const QString &chromium, const QString &file)
{
    QTemporaryDir profile;
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANG"), QStringLiteral("C")); // no Japanese locale to guess from
    p.setProcessEnvironment(env);
    p.start(chromium,
            {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
             QStringLiteral("--disable-gpu"), QStringLiteral("--disable-quic"),
             QStringLiteral("--no-first-run"), QStringLiteral("--disable-background-networking"),
             QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
             QStringLiteral("--user-data-dir=") + profile.path(), QStringLiteral("--dump-dom"),
             QUrl::fromLocalFile(file).toString()});
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return QString();
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(Browser, JapaneseTextAndParticipantLinksComeBackRight)
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty())
        GTEST_SKIP() << "chromium is not installed (scripts/install-deps.sh installs it)";
    TempContest temp;
    Contest &c = temp.open();
    ASSERT_EQ(buildDemoContest(c, {5, 2, 15, true}), QString());
    c.roster().bashoName = QStringLiteral("令和七年　九月場所");
    publisher::publishAll(c);
    const QString html = c.paths().html;

    const QString result = dumpDom(chromium, html + QStringLiteral("/Result.html"));
    ASSERT_FALSE(result.isEmpty());
    EXPECT_TRUE(result.contains(QStringLiteral("令和七年　九月場所")))
        << result.left(2000).toStdString();
    EXPECT_TRUE(result.contains(QStringLiteral("総 合 得 点 表")));
    const QString name = c.entries()[0].shikona.trimmed();
    EXPECT_TRUE(result.contains(u'>' + name + u'<')) << name.toStdString();

    const QRegularExpression link(QStringLiteral("href=\"(z[^\"]+\\.html)\""));
    const QRegularExpressionMatch m = link.match(result);
    ASSERT_TRUE(m.hasMatch());
    EXPECT_TRUE(QFileInfo::exists(html + u'/' + m.captured(1))) << m.captured(1).toStdString();

    const QString page
        = dumpDom(chromium, html + u'/' + html::participantFile(c.roster().bashoCode, 100));
    EXPECT_TRUE(page.contains(name)) << page.left(2000).toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("累積順位")));
}

} // namespace
