#include "TestSupport.h"
#include "publish/Fonts.h"
#include "ui/InfoWindow.h"

#include <QFont>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace kc;

TEST(InfoWindow, ShowsTheTextAndClosesWithOk)
{
    ui::InfoWindow w(QStringLiteral("一行目\n二行目"));
    EXPECT_EQ(w.objectName(), QStringLiteral("frmINFO"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Information"));
    auto *msg = w.findChild<QPlainTextEdit *>(QStringLiteral("Msg"));
    ASSERT_NE(msg, nullptr);
    EXPECT_EQ(msg->toPlainText(), QStringLiteral("一行目\n二行目"));
    auto *ok = w.findChild<QPushButton *>(QStringLiteral("cmdOK"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    w.show();
    QSignalSpy accepted(&w, &QDialog::accepted);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_FALSE(w.isVisible());
}

TEST(Fonts, WindowsFontNamesResolveToInstalledJapaneseFonts)
{
    installFontSubstitutes();
    const QString mincho = minchoSubstitute();
    if (mincho.isEmpty())
        GTEST_SKIP() << "no Japanese font installed";
    for (const char *name : {"ＭＳ 明朝", "ＭＳ Ｐ明朝"}) {
        QFont font(QString::fromUtf8(name), 12);
        EXPECT_EQ(QFontInfo(font).family(), mincho) << name;
    }
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("MS UI Gothic"))).family(), gothicSubstitute());
}

TEST(StartCommand, WithoutADisplayShowsTheStatusAndSaysWhy)
{
    KC_SKIP_WITHOUT_EXE();
    QTemporaryDir dir;
    const test::CliResult r = test::runExe({QStringLiteral("--dir"), dir.path()});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("CurrentDay: 0"))) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("画面がありません"))) << r.err.toStdString();
}
