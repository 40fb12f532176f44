#include "ui/PublishSettingsWindow.h"

#include "online/UploadPassword.h"
#include "online/Uploader.h"
#include "store/Contest.h"
#include "store/StoreError.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kc::ui {

namespace {

const UploadProtocol kProtocols[]
    = {UploadProtocol::Sftp, UploadProtocol::Ftps, UploadProtocol::Ftp, UploadProtocol::Folder};

QWidget *withButton(QLineEdit *edit, QPushButton *button)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    layout->addWidget(button);
    return row;
}

} // namespace

PublishSettingsWindow::PublishSettingsWindow(Contest &contest, SessionPasswords &passwords,
                                             QWidget *parent)
    : QDialog(parent), m_contest(contest), m_passwords(passwords), m_protocol(new QComboBox(this)),
      m_host(new QLineEdit(this)), m_port(new QSpinBox(this)), m_folder(new QLineEdit(this)),
      m_browseFolder(new QPushButton(QStringLiteral("参照…"), this)), m_user(new QLineEdit(this)),
      m_keyFile(new QLineEdit(this)), m_browseKey(new QPushButton(QStringLiteral("参照…"), this)),
      m_password(new QLineEdit(this)), m_caFile(new QLineEdit(this)),
      m_browseCa(new QPushButton(QStringLiteral("参照…"), this)),
      m_uploadAfterPublish(new QCheckBox(QStringLiteral("公開後にアップロードする"), this)),
      m_warning(new QLabel(this)),
      m_testButton(new QPushButton(QStringLiteral("接続テスト"), this)),
      m_saveButton(new QPushButton(QStringLiteral("保存"), this)),
      m_closeButton(new QPushButton(QStringLiteral("閉じる"), this))
{
    setObjectName(QStringLiteral("frmPublish"));
    setWindowTitle(QStringLiteral("公開設定"));
    setModal(true);

    m_protocol->setObjectName(QStringLiteral("cboProtocol"));
    m_protocol->addItems({QStringLiteral("SFTP"), QStringLiteral("FTPS（FTP + TLS）"),
                          QStringLiteral("FTP（暗号化なし）"),
                          QStringLiteral("フォルダ（NAS・同期フォルダ）")});
    m_host->setObjectName(QStringLiteral("txHost"));
    m_port->setObjectName(QStringLiteral("txPort"));
    m_port->setRange(0, 65535);
    m_port->setSpecialValueText(QStringLiteral("既定"));
    m_folder->setObjectName(QStringLiteral("txFolder"));
    m_folder->setPlaceholderText(QStringLiteral("例: public_html、/var/www/html"));
    m_browseFolder->setObjectName(QStringLiteral("cmdBrowseFolder"));
    m_user->setObjectName(QStringLiteral("txUser"));
    m_keyFile->setObjectName(QStringLiteral("txKeyFile"));
    m_keyFile->setPlaceholderText(QStringLiteral("空欄: ~/.ssh の鍵かエージェント"));
    m_browseKey->setObjectName(QStringLiteral("cmdBrowseKey"));
    m_password->setObjectName(QStringLiteral("txPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(QStringLiteral("変えるときだけ入力"));
    m_caFile->setObjectName(QStringLiteral("txCaFile"));
    m_caFile->setPlaceholderText(QStringLiteral("空欄: システムの証明書"));
    m_browseCa->setObjectName(QStringLiteral("cmdBrowseCa"));
    m_uploadAfterPublish->setObjectName(QStringLiteral("chkUploadAfterPublish"));
    m_warning->setObjectName(QStringLiteral("lblWarning"));
    m_warning->setWordWrap(true);
    m_warning->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_testButton->setObjectName(QStringLiteral("cmdTest"));
    m_saveButton->setObjectName(QStringLiteral("cmdSave"));
    m_saveButton->setDefault(true);
    m_closeButton->setObjectName(QStringLiteral("cmdClose"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("方式"), m_protocol);
    form->addRow(QStringLiteral("ホスト"), m_host);
    form->addRow(QStringLiteral("ポート"), m_port);
    form->addRow(QStringLiteral("フォルダ"), withButton(m_folder, m_browseFolder));
    form->addRow(QStringLiteral("ユーザー"), m_user);
    form->addRow(QStringLiteral("鍵ファイル"), withButton(m_keyFile, m_browseKey));
    form->addRow(QStringLiteral("パスワード"), m_password);
    form->addRow(QStringLiteral("証明書（CA）"), withButton(m_caFile, m_browseCa));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_testButton);
    buttons->addStretch();
    buttons->addWidget(m_saveButton);
    buttons->addWidget(m_closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_uploadAfterPublish);
    layout->addWidget(m_warning);
    layout->addLayout(buttons);

    connect(m_protocol, &QComboBox::currentIndexChanged, this,
            &PublishSettingsWindow::onProtocolChanged);
    connect(m_browseFolder, &QPushButton::clicked, this, &PublishSettingsWindow::onBrowseFolder);
    connect(m_browseKey, &QPushButton::clicked, this, &PublishSettingsWindow::onBrowseKey);
    connect(m_browseCa, &QPushButton::clicked, this, &PublishSettingsWindow::onBrowseCa);
    connect(m_testButton, &QPushButton::clicked, this, &PublishSettingsWindow::onTestClicked);
    connect(m_saveButton, &QPushButton::clicked, this, &PublishSettingsWindow::onSaveClicked);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);
    load();
    resize(560, sizeHint().height());
}

void PublishSettingsWindow::load()
{
    UploadSettings settings;
    try {
        settings = loadUploadSettings(m_contest);
    } catch (const StoreError &e) {
        QMessageBox::warning(this, windowTitle(), e.message());
    }
    m_uploadAfterPublish->setChecked(settings.uploadAfterPublish);
    if (const auto &t = settings.target) {
        m_protocol->setCurrentIndex(
            int(std::find(std::begin(kProtocols), std::end(kProtocols), t->protocol)
                - std::begin(kProtocols)));
        m_host->setText(t->host);
        m_port->setValue(t->port);
        m_folder->setText(t->isFolder() ? QDir::toNativeSeparators(t->folder) : t->folder);
        m_user->setText(t->user);
        m_keyFile->setText(t->keyFile);
        m_caFile->setText(t->caFile);
    }
    onProtocolChanged();
}

UploadTarget PublishSettingsWindow::target() const
{
    UploadTarget t;
    t.protocol = kProtocols[std::clamp(m_protocol->currentIndex(), 0, 3)];
    t.folder = m_folder->text().trimmed();
    if (t.isFolder()) {
        t.folder = QDir::cleanPath(QDir::fromNativeSeparators(t.folder));
        return t;
    }
    t.host = m_host->text().trimmed();
    t.port = m_port->value();
    t.user = m_user->text().trimmed();
    if (t.protocol == UploadProtocol::Sftp)
        t.keyFile = m_keyFile->text().trimmed();
    else
        t.caFile = m_caFile->text().trimmed();
    // A folder read back from the saved address has the same form.
    QString refusal;
    if (const auto again = UploadTarget::fromText(t.address(), refusal))
        t.folder = again->folder;
    return t;
}

void PublishSettingsWindow::onProtocolChanged()
{
    const UploadProtocol p = kProtocols[std::clamp(m_protocol->currentIndex(), 0, 3)];
    const bool server = p != UploadProtocol::Folder;
    for (QWidget *w : {static_cast<QWidget *>(m_host), static_cast<QWidget *>(m_port),
                       static_cast<QWidget *>(m_user), static_cast<QWidget *>(m_password)})
        w->setEnabled(server);
    m_keyFile->setEnabled(p == UploadProtocol::Sftp);
    m_browseKey->setEnabled(p == UploadProtocol::Sftp);
    m_caFile->setEnabled(p == UploadProtocol::Ftps);
    m_browseCa->setEnabled(p == UploadProtocol::Ftps);
    m_browseFolder->setEnabled(!server);
    m_folder->setPlaceholderText(server ? QStringLiteral("例: public_html、/var/www/html")
                                        : QStringLiteral("例: /mnt/nas/www"));
    m_warning->setText(p == UploadProtocol::Ftp ? PlainFtpWarning : QString());
    m_warning->setVisible(p == UploadProtocol::Ftp);
}

void PublishSettingsWindow::onBrowseFolder()
{
    const QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("アップロード先"),
                                                          m_folder->text());
    if (!dir.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(dir));
}

void PublishSettingsWindow::onBrowseKey()
{
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("鍵ファイル"),
                                                      QDir::homePath() + QStringLiteral("/.ssh"));
    if (!file.isEmpty())
        m_keyFile->setText(file);
}

void PublishSettingsWindow::onBrowseCa()
{
    const QString file
        = QFileDialog::getOpenFileName(this, QStringLiteral("証明書（CA）"), QDir::homePath());
    if (!file.isEmpty())
        m_caFile->setText(file);
}

bool PublishSettingsWindow::checkFields()
{
    const QString why = target().refusal();
    if (!why.isEmpty())
        QMessageBox::warning(this, windowTitle(), why);
    return why.isEmpty();
}

void PublishSettingsWindow::rememberPassword(const QString &address)
{
    if (m_password->text().isEmpty())
        return;
    m_passwords[address] = m_password->text();
    QString why;
    if (!uploadPassword::saveToKeyring(address, m_password->text(), why))
        QMessageBox::information(
            this, windowTitle(),
            QStringLiteral("パスワードをキーリングに保存できません（%1）。このプログラムを終了する"
                           "までの間だけ覚えます。ディスクには書きません。")
                .arg(why));
    m_password->clear();
}

void PublishSettingsWindow::onTestClicked()
{
    if (!checkFields())
        return;
    const UploadTarget t = target();
    const QString typed = m_password->text();
    SessionPasswords &session = m_passwords;
    const QString address = t.address();
    PasswordSource password = [typed, &session, address]() -> std::optional<QString> {
        if (!typed.isEmpty())
            return typed;
        if (session.contains(address))
            return session.value(address);
        return uploadPassword::fromKeyring(address);
    };
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString text;
    bool ok = true;
    try {
        text = connectTo(t, password, m_contest.prompter())->test();
    } catch (const UploadError &e) {
        text = e.message;
        ok = false;
    }
    QApplication::restoreOverrideCursor();
    if (ok)
        QMessageBox::information(this, QStringLiteral("接続テスト"), text);
    else
        QMessageBox::warning(this, QStringLiteral("接続テスト"), text);
}

void PublishSettingsWindow::onSaveClicked()
{
    if (!checkFields())
        return;
    UploadSettings settings;
    settings.target = target();
    settings.uploadAfterPublish = m_uploadAfterPublish->isChecked();
    try {
        saveUploadSettings(m_contest, settings);
    } catch (const StoreError &e) {
        QMessageBox::warning(this, windowTitle(), e.message());
        return;
    }
    rememberPassword(settings.target->address());
    accept();
}

} // namespace kc::ui
