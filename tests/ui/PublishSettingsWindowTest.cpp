#include "MainWindowFixture.h"
#include "WidgetLookup.h"
#include "online/Uploader.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

// Fills the modal 公開設定 once it is shown, with `fill`, then saves.
void whenSettingsOpen(const std::function<void(QWidget &)> &fill)
{
    QTimer::singleShot(0, [fill] {
        QWidget *w = QApplication::activeModalWidget();
        ASSERT_TRUE(w && w->objectName() == u"frmPublish");
        fill(*w);
        child<QPushButton>(*w, QStringLiteral("cmdSave"))->click();
    });
}

TEST(PublishSettingsWindow, SavesTheTargetWithoutThePasswordAndPublishingEndsOnline)
{
    qputenv("KACHIKOSHI_NO_KEYRING", "1");
    MainWindowFixture f;
    f.confirmedDays(2);
    f.addEntries(3, 2);
    f.window().show();
    f.window().refreshState();

    // A server with a password: no keyring here, so it is kept for the session only.
    QString warning, keyringNote;
    whenSettingsOpen([&](QWidget &w) {
        auto *protocol = child<QComboBox>(w, QStringLiteral("cboProtocol"));
        protocol->setCurrentIndex(2);
        auto *label = child<QLabel>(w, QStringLiteral("lblWarning"));
        warning = label->isVisibleTo(&w) ? label->text() : QString();
        protocol->setCurrentIndex(1);
        child<QLineEdit>(w, QStringLiteral("txHost"))->setText(QStringLiteral("www.example.com"));
        child<QLineEdit>(w, QStringLiteral("txUser"))->setText(QStringLiteral("club"));
        child<QLineEdit>(w, QStringLiteral("txPassword"))->setText(QStringLiteral("hunter2"));
        QTimer::singleShot(0, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                keyringNote = box->text();
                box->accept();
            }
        });
    });
    f.action("mmPublishSettings")->trigger();
    EXPECT_EQ(warning, PlainFtpWarning);
    EXPECT_TRUE(keyringNote.contains(QStringLiteral("ディスクには書きません")))
        << keyringNote.toStdString();
    const QByteArray saved = readBytes(uploadSettingsPath(f.contest()));
    EXPECT_TRUE(saved.contains("ftps://club@www.example.com")) << saved.toStdString();
    EXPECT_FALSE(saved.contains("hunter2"));

    QTemporaryDir nas;
    whenSettingsOpen([&](QWidget &w) {
        EXPECT_EQ(child<QLineEdit>(w, QStringLiteral("txHost"))->text(),
                  QStringLiteral("www.example.com"));
        child<QComboBox>(w, QStringLiteral("cboProtocol"))->setCurrentIndex(3);
        child<QLineEdit>(w, QStringLiteral("txFolder"))->setText(nas.path());
        child<QCheckBox>(w, QStringLiteral("chkUploadAfterPublish"))->setChecked(true);
    });
    f.action("mmPublishSettings")->trigger();
    const UploadSettings settings = loadUploadSettings(f.contest());
    ASSERT_TRUE(settings.target && settings.target->isFolder());
    EXPECT_TRUE(settings.uploadAfterPublish);

    f.action("Htm_Shuukei")->trigger();
    const QString html = f.contest().paths().html;
    for (const char *page : {"Result.html", "z0209102.html", "pic/bar.gif"})
        EXPECT_EQ(readBytes(nas.path() + u'/' + QString::fromLatin1(page)),
                  readBytes(html + u'/' + QString::fromLatin1(page)))
            << page;
    EXPECT_TRUE(f.temp.prompter.messages.last().contains(QStringLiteral("を送り")))
        << f.temp.prompter.messages.join(u'\n').toStdString();
}

} // namespace
