#include "ui/UploadProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kc::ui {

namespace {

QString kilobytes(qint64 bytes)
{
    return QStringLiteral("%1 KB").arg((bytes + 1023) / 1024);
}

} // namespace

UploadProgressWindow::UploadProgressWindow(const QString &place, QWidget *parent)
    : QDialog(parent), m_fileCountLabel(new QLabel(this)), m_byteCountLabel(new QLabel(this)),
      m_currentFileLabel(new QLabel(this)), m_progressBar(new QProgressBar(this)),
      m_cancelButton(new QPushButton(QStringLiteral("中止"), this))
{
    setObjectName(QStringLiteral("frmUpload"));
    setWindowTitle(QStringLiteral("アップロード中: %1").arg(place));
    setModal(true);
    m_fileCountLabel->setObjectName(QStringLiteral("lblFiles"));
    m_byteCountLabel->setObjectName(QStringLiteral("lblBytes"));
    m_currentFileLabel->setObjectName(QStringLiteral("lblCurrent"));
    m_progressBar->setObjectName(QStringLiteral("barUpload"));
    m_cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    connect(m_cancelButton, &QPushButton::clicked, this, &UploadProgressWindow::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_fileCountLabel);
    layout->addWidget(m_byteCountLabel);
    layout->addWidget(m_currentFileLabel);
    layout->addWidget(m_progressBar);
    layout->addWidget(m_cancelButton, 0, Qt::AlignRight);
    m_currentFileLabel->setText(QStringLiteral("接続しています…"));
    resize(420, sizeHint().height());
}

void UploadProgressWindow::begin(int files, qint64 bytes)
{
    m_totalFiles = files;
    m_totalBytes = bytes;
    fileDone(QString(), 0, 0);
    show();
}

void UploadProgressWindow::fileDone(const QString &path, int files, qint64 bytes)
{
    m_fileCountLabel->setText(QStringLiteral("ファイル %1 / %2").arg(files).arg(m_totalFiles));
    m_byteCountLabel->setText(kilobytes(bytes) + QStringLiteral(" / ") + kilobytes(m_totalBytes));
    if (!path.isEmpty())
        m_currentFileLabel->setText(QStringLiteral("送信済み: %1").arg(path));
    m_progressBar->setRange(0, std::max(m_totalFiles, 1));
    m_progressBar->setValue(files);
    QApplication::processEvents();
}

bool UploadProgressWindow::cancelRequested()
{
    QApplication::processEvents();
    return m_cancelled;
}

void UploadProgressWindow::reject()
{
    m_cancelled = true;
    m_cancelButton->setEnabled(false);
    m_currentFileLabel->setText(QStringLiteral("中止しています…"));
}

} // namespace kc::ui
