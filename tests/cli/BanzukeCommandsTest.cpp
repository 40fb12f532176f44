#include "TestSupport.h"

#include "store/Records.h"
#include "store/Text.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using kc::test::readBytes;
using kc::test::runCli;
using kc::test::writeBytes;

namespace {

class BanzukeCommands : public ::testing::Test
{
protected:
    QString dir() const { return m_dir.path(); }
    QString data(const QString &name) const
    {
        return m_dir.path() + QStringLiteral("/Data/") + name;
    }
    QString file(const QString &name, const QByteArray &bytes) const
    {
        const QString path = m_files.path() + u'/' + name;
        writeBytes(path, bytes);
        return path;
    }
    kc::test::CliResult cli(QStringList args) const
    {
        return runCli(QStringList {QStringLiteral("--dir"), dir()} + args);
    }

    QTemporaryDir m_dir, m_files;
};

const QString kBanzuke
    = QStringLiteral("令和7年　九月\n2509\n横綱 大の里\n横綱 豊昇龍\n大関 琴櫻\n"
                     "関脇 若隆景\n関脇 霧島\n小結 高安\n前頭 王鵬\n前頭 若元春\n");

} // namespace

TEST_F(BanzukeCommands, SetFromTextThenShow)
{
    const QString path = file(QStringLiteral("b.txt"), kBanzuke.toUtf8());
    const auto no
        = cli({QStringLiteral("--no"), QStringLiteral("banzuke"), QStringLiteral("set"), path});
    EXPECT_EQ(no.code, 3);
    EXPECT_TRUE(no.err.contains(u"番付をﾌｧｲﾙに登録します。"));
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("Banzuke.Dat"))));

    const auto yes
        = cli({QStringLiteral("--yes"), QStringLiteral("banzuke"), QStringLiteral("set"), path});
    EXPECT_EQ(yes.code, 0) << yes.err.toStdString();
    const kc::BanzukeRecord b
        = kc::BanzukeRecord::decode(readBytes(data(QStringLiteral("Banzuke.Dat"))));
    EXPECT_EQ(b.wrestlerCount, 8);
    EXPECT_EQ(b.bashoName.trimmed(), u"令和7年　九月");

    const auto show = cli({QStringLiteral("banzuke"), QStringLiteral("show")});
    EXPECT_TRUE(show.out.contains(u"8名"));
    EXPECT_TRUE(show.out.contains(u"15  高安"));
}

TEST_F(BanzukeCommands, SetRefusalsChangeNothing)
{
    const QString rises
        = file(QStringLiteral("r.txt"), QStringLiteral("場所\n0001\n前頭 甲\n大関 乙\n").toUtf8());
    const auto r
        = cli({QStringLiteral("--yes"), QStringLiteral("banzuke"), QStringLiteral("set"), rises});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(u"r.txt 4行目")) << r.err.toStdString();

    QString many = QStringLiteral("場所\n0001\n");
    for (int i = 0; i < 43; ++i)
        many += QStringLiteral("前頭 力士%1\n").arg(i);
    const auto m = cli({QStringLiteral("--yes"), QStringLiteral("banzuke"), QStringLiteral("set"),
                        file(QStringLiteral("m.txt"), many.toUtf8())});
    EXPECT_EQ(m.code, 1);
    EXPECT_TRUE(m.err.contains(u"登録できる力士数は42名までです。"));
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("Banzuke.Dat"))));

    const auto usage = cli({QStringLiteral("banzuke"), QStringLiteral("set")});
    EXPECT_EQ(usage.code, 2);
}

TEST_F(BanzukeCommands, SetFromCp932CsvKeepsTheTitleWhenNoneIsGiven)
{
    const QString path = file(QStringLiteral("b.csv"),
                              kc::toCp932(QStringLiteral("地位,力士名\n横綱,大の里\n前頭,王鵬\n")));
    const auto r
        = cli({QStringLiteral("--yes"), QStringLiteral("banzuke"), QStringLiteral("set"), path});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const kc::BanzukeRecord b
        = kc::BanzukeRecord::decode(readBytes(data(QStringLiteral("Banzuke.Dat"))));
    EXPECT_EQ(b.wrestlerCount, 2);
    EXPECT_EQ(b.names[1].trimmed(), u"王鵬");
    EXPECT_EQ(b.bashoCode.trimmed(), u"0209");
}

TEST_F(BanzukeCommands, SetIsLockedAfterTheRulesAreDecided)
{
    ASSERT_EQ(cli({QStringLiteral("status")}).code, 0);
    QByteArray credit = readBytes(data(QStringLiteral("Credit.Dat")));
    kc::RulesRecord rules = kc::RulesRecord::decode(credit);
    rules.flag = 1;
    writeBytes(data(QStringLiteral("Credit.Dat")), rules.encode());
    const auto r = cli({QStringLiteral("--yes"), QStringLiteral("banzuke"), QStringLiteral("set"),
                        file(QStringLiteral("b.txt"), kBanzuke.toUtf8())});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("Banzuke.Dat"))));
    const auto clear
        = cli({QStringLiteral("--yes"), QStringLiteral("rename"), QStringLiteral("clear")});
    EXPECT_EQ(clear.code, 1);
}

TEST_F(BanzukeCommands, RenameClearRestore)
{
    const auto r = cli({QStringLiteral("--yes"), QStringLiteral("rename"),
                        QStringLiteral("12=大海"), QStringLiteral("15=武双")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u"力士名変換ﾃｰﾌﾞﾙのﾃﾞｰﾀを参照いたします。"));
    auto show = cli({QStringLiteral("banzuke"), QStringLiteral("show")});
    EXPECT_TRUE(show.out.contains(u"12  大海"));
    EXPECT_TRUE(show.out.contains(u"15  武双"));
    EXPECT_TRUE(show.out.contains(u"13  魁皇")); // not named: unchanged
    EXPECT_EQ(readBytes(data(QStringLiteral("Rename.Dat"))).size(), 4000);

    EXPECT_EQ(cli({QStringLiteral("--no"), QStringLiteral("rename"), QStringLiteral("10=X")}).code,
              3);
    EXPECT_EQ(cli({QStringLiteral("--yes"), QStringLiteral("rename"), QStringLiteral("50=X")}).code,
              2);
    EXPECT_EQ(cli({QStringLiteral("--yes"), QStringLiteral("rename"), QStringLiteral("10")}).code,
              2);
    EXPECT_EQ(cli({QStringLiteral("--yes"), QStringLiteral("rename"), QStringLiteral("10=")}).code,
              1);

    EXPECT_EQ(cli({QStringLiteral("--no"), QStringLiteral("rename"), QStringLiteral("clear")}).code,
              3);
    EXPECT_TRUE(QFile::exists(data(QStringLiteral("Rename.Dat"))));
    const auto clear
        = cli({QStringLiteral("--yes"), QStringLiteral("rename"), QStringLiteral("clear")});
    EXPECT_EQ(clear.code, 0);
    EXPECT_TRUE(clear.err.contains(u"力士名変換ﾌｧｲﾙを削除します。よろしいですか。"));
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("Rename.Dat"))));
    show = cli({QStringLiteral("banzuke"), QStringLiteral("show")});
    EXPECT_TRUE(show.out.contains(u"12  千代大海"));

    ASSERT_EQ(cli({QStringLiteral("--yes"), QStringLiteral("banzuke"), QStringLiteral("set"),
                   file(QStringLiteral("b.txt"), kBanzuke.toUtf8())})
                  .code,
              0);
    // It replaces the banzuke, so it asks first.
    EXPECT_EQ(cli({QStringLiteral("rename"), QStringLiteral("restore")}).code, 3);
    EXPECT_TRUE(QFile::exists(data(QStringLiteral("Banzuke.Dat"))));
    const auto restore
        = cli({QStringLiteral("--yes"), QStringLiteral("rename"), QStringLiteral("restore")});
    EXPECT_EQ(restore.code, 0);
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("Banzuke.Dat"))));
    show = cli({QStringLiteral("banzuke"), QStringLiteral("show")});
    EXPECT_TRUE(show.out.contains(u"40名"));
    EXPECT_TRUE(show.out.contains(u"10  武蔵丸"));
}
