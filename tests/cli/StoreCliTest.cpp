#include "TestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kc::test;

TEST(CliStatus, FirstRunCreatesTheFilesAndPrintsPhaseZero)
{
    QTemporaryDir dir;
    const CliResult r = runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("status")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("フェーズ (Flag): 0")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("参加人数: 0")));
    EXPECT_EQ(QFile(dir.path() + QStringLiteral("/Data/Credit.Dat")).size(), 1430);
    EXPECT_EQ(QFile(dir.path() + QStringLiteral("/Data/Record.Dat")).size(), 300);
    EXPECT_TRUE(QFile::exists(dir.path() + QStringLiteral("/Data/kch.kch")));

    const CliResult j = runCli(
        {QStringLiteral("--dir"), dir.path(), QStringLiteral("status"), QStringLiteral("--json")});
    ASSERT_EQ(j.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(j.out.toUtf8()).object();
    EXPECT_EQ(o.value(QStringLiteral("flag")).toInt(-1), 0);
    EXPECT_EQ(o.value(QStringLiteral("wrestlers")).toInt(), 40);
    EXPECT_EQ(o.value(QStringLiteral("bashoCode")).toString(), QStringLiteral("0209"));
}

TEST(CliBanzuke, ShowListsFortyWrestlersInTwentyOneRows)
{
    QTemporaryDir dir;
    const CliResult r = runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("banzuke"),
                                QStringLiteral("show"), QStringLiteral("--json")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(o.value(QStringLiteral("rows")).toInt(), 21);
    const QJsonArray w = o.value(QStringLiteral("wrestlers")).toArray();
    ASSERT_EQ(w.size(), 40);
    EXPECT_EQ(w.first().toObject().value(QStringLiteral("number")).toInt(), 10);
    EXPECT_EQ(w.last().toObject().value(QStringLiteral("number")).toInt(), 49);
    EXPECT_EQ(w.at(6).toObject().value(QStringLiteral("label")).toString(), QStringLiteral("大関"));
    EXPECT_EQ(w.at(6).toObject().value(QStringLiteral("side")).toString(), QStringLiteral("東"));
    EXPECT_EQ(w.last().toObject().value(QStringLiteral("label")).toString(),
              QStringLiteral("前15"));
    EXPECT_EQ(w.last().toObject().value(QStringLiteral("marks")).toArray().size(), 15);

    const CliResult text = runCli(
        {QStringLiteral("--dir"), dir.path(), QStringLiteral("banzuke"), QStringLiteral("show")});
    EXPECT_EQ(text.code, 0);
    EXPECT_EQ(text.out.count(u'\n'), 41);
}

TEST(CliExitCodes, UsageNoAnswerAndDataErrors)
{
    QTemporaryDir dir;
    const QStringList base {QStringLiteral("--dir"), dir.path()};
    EXPECT_EQ(runCli(base + QStringList {QStringLiteral("frobnicate")}).code, 2);
    EXPECT_EQ(runCli(base + QStringList {QStringLiteral("status"), QStringLiteral("extra")}).code,
              2);
    EXPECT_EQ(runCli(base + QStringList {QStringLiteral("reset"), QStringLiteral("--json")}).code,
              2);
    EXPECT_EQ(runCli({QStringLiteral("--dir")}).code, 2);

    const CliResult no
        = runCli(base + QStringList {QStringLiteral("--no"), QStringLiteral("reset")});
    EXPECT_EQ(no.code, 3);
    EXPECT_TRUE(no.err.contains(
        QStringLiteral("初期化を行うと、全てのデータが消去されます。よろしいですか。")));
    // Without a terminal and without --yes the answer is No.
    EXPECT_EQ(runCli(base + QStringList {QStringLiteral("reset")}).code, 3);
    EXPECT_EQ(runCli(base + QStringList {QStringLiteral("--yes"), QStringLiteral("reset")}).code,
              0);

    QFile credit(dir.path() + QStringLiteral("/Data/Credit.Dat"));
    ASSERT_TRUE(credit.resize(100));
    const CliResult bad = runCli(base + QStringList {QStringLiteral("status")});
    EXPECT_EQ(bad.code, 4);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("Credit.Dat")));
    EXPECT_EQ(QFile(dir.path() + QStringLiteral("/Data/Credit.Dat")).size(), 100);
}

TEST(CliHelp, VersionAndHelpNeedNoContest)
{
    const CliResult v = runCli({QStringLiteral("--version")});
    EXPECT_EQ(v.code, 0);
    EXPECT_TRUE(v.out.startsWith(QStringLiteral("kachikoshi ")));
    const CliResult h = runCli({QStringLiteral("--help")});
    EXPECT_EQ(h.code, 0);
    EXPECT_TRUE(h.out.contains(QStringLiteral("banzuke show")));
    // The window's option is told too, by the program itself.
    const CliResult exe = runExe({QStringLiteral("--help")});
    EXPECT_EQ(exe.code, 0);
    EXPECT_TRUE(exe.out.contains(QStringLiteral("--support")));
}
