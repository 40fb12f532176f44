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
    : QDialog(parent), m_files(new QLabel(this)), m_bytes(new QLabel(this)),
      m_current(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_cancel(new QPushButton(QStringLiteral("中止"), this))
{
    setObjectName(QStringLiteral("frmUpload"));
    setWindowTitle(QStringLiteral("アップロード中: %1").arg(place));
    setModal(true);
    m_files->setObjectName(QStringLiteral("lblFiles"));
    m_bytes->setObjectName(QStringLiteral("lblBytes"));
    m_current->setObjectName(QStringLiteral("lblCurrent"));
    m_bar->setObjectName(QStringLiteral("barUpload"));
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(m_cancel, &QPushButton::clicked, this, &UploadProgressWindow::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_files);
    layout->addWidget(m_bytes);
    layout->addWidget(m_current);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    m_current->setText(QStringLiteral("接続しています…"));
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
    m_files->setText(QStringLiteral("ファイル %1 / %2").arg(files).arg(m_totalFiles));
    m_bytes->setText(kilobytes(bytes) + QStringLiteral(" / ") + kilobytes(m_totalBytes));
    if (!path.isEmpty())
        m_current->setText(QStringLiteral("送信済み: %1").arg(path));
    m_bar->setRange(0, std::max(m_totalFiles, 1));
    m_bar->setValue(files);
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
    m_cancel->setEnabled(false);
    m_current->setText(QStringLiteral("中止しています…"));
}

} // namespace kc::ui
