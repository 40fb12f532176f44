#include "publish/Fonts.h"
#include "ui/InfoWindow.h"

#include <QFont>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProcessEnvironment>
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
    const QString exe = qEnvironmentVariable("KC_EXE");
    if (exe.isEmpty())
        GTEST_SKIP() << "KC_EXE not set (run through ctest)";
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(exe, {QStringLiteral("--dir"), dir.path()});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(out.contains(QStringLiteral("CurrentDay: 0"))) << out.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("画面がありません"))) << err.toStdString();
}
