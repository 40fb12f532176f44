#pragma once

#include "online/UploadTarget.h"

#include <QDialog>
#include <QMap>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace kc {
class Contest;
}

namespace kc::ui {

// Passwords typed this session, by target address; never written anywhere.
using SessionPasswords = QMap<QString, QString>;

// 公開設定: where アップロード puts the pages, how it logs in, and whether
// 集計結果出力（HTML) ends with an upload. The password goes to the keyring,
// or without one is kept for this session only.
class PublishSettingsWindow : public QDialog
{
    Q_OBJECT
public:
    PublishSettingsWindow(Contest &contest, SessionPasswords &passwords, QWidget *parent = nullptr);

    // The target as the fields describe it.
    UploadTarget target() const;

private slots:
    void onProtocolChanged();
    void onBrowseFolder();
    void onBrowseKey();
    void onBrowseCa();
    void onTestClicked();
    void onSaveClicked();

private:
    void load();
    // Why the fields cannot be used, told in a message box; false then.
    bool checkFields();
    void rememberPassword(const QString &address);

    Contest &m_contest;
    SessionPasswords &m_passwords;
    QComboBox *m_protocol;
    QLineEdit *m_host;
    QSpinBox *m_port;
    QLineEdit *m_folder;
    QPushButton *m_browseFolder;
    QLineEdit *m_user;
    QLineEdit *m_keyFile;
    QPushButton *m_browseKey;
    QLineEdit *m_password;
    QLineEdit *m_caFile;
    QPushButton *m_browseCa;
    QCheckBox *m_uploadAfterPublish;
    QLabel *m_warning;
    QPushButton *m_testButton;
    QPushButton *m_saveButton;
    QPushButton *m_closeButton;
};

} // namespace kc::ui
