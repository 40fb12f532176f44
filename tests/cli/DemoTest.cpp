#include "TestSupport.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace kc::test;

namespace {

TEST(Demo, FillsAnEmptyFolderWithAWholeTournamentThatStartsCleanly)
{
    KC_SKIP_WITHOUT_EXE();
    QTemporaryDir a, b;
    const QString first = a.filePath(QStringLiteral("demo")), second = b.path();
    const QStringList demo {QStringLiteral("demo"), QStringLiteral("--entries"),
                            QStringLiteral("12"), QStringLiteral("--seed"), QStringLiteral("7")};
    const CliResult made = runExe(QStringList {QStringLiteral("--dir"), first} + demo);
    ASSERT_EQ(made.code, 0) << made.err.toStdString();
    EXPECT_TRUE(made.out.contains(QStringLiteral("参加者 12 名"))) << made.out.toStdString();

    const CliResult status = runExe({QStringLiteral("--dir"), first, QStringLiteral("status")});
    EXPECT_EQ(status.code, 0);
    for (const char *line : {"CurrentDay: 15", "参加人数: 12", "RulesStart: 1"})
        EXPECT_TRUE(status.out.contains(QString::fromUtf8(line))) << line;
    EXPECT_TRUE(status.err.isEmpty())
        << "start-up repaired something: " << status.err.toStdString();

    // The same seed gives the same contest; a folder that holds one is refused untouched.
    ASSERT_EQ(runExe(QStringList {QStringLiteral("--dir"), second} + demo).code, 0);
    const QString entry = QStringLiteral("/Data/Entry.Dat");
    EXPECT_EQ(readBytes(first + entry), readBytes(second + entry));
    const CliResult again = runExe(QStringList {QStringLiteral("--dir"), first} + demo);
    EXPECT_EQ(again.code, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("空ではありません")));
    EXPECT_EQ(readBytes(first + entry), readBytes(second + entry));
    const QString fresh = b.filePath(QStringLiteral("fresh"));
    EXPECT_EQ(runExe({QStringLiteral("--dir"), fresh, QStringLiteral("demo"),
                      QStringLiteral("--entries"), QStringLiteral("301")})
                  .code,
              2);
    EXPECT_FALSE(QFileInfo::exists(fresh)); // a malformed call creates nothing
}

} // namespace
