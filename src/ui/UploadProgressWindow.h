#pragma once

#include "online/Uploader.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kc::ui {

// The progress of アップロード: files and bytes sent, the file just done, and
// 中止, which stops after the file on its way (what arrived stays recorded).
class UploadProgressWindow : public QDialog, public UploadProgress
{
    Q_OBJECT
public:
    explicit UploadProgressWindow(const QString &place, QWidget *parent = nullptr);

    void begin(int files, qint64 bytes) override;
    void fileDone(const QString &path, int files, qint64 bytes) override;
    bool cancelRequested() override;

protected:
    void reject() override; // Esc and the close button mean 中止

private:
    QLabel *m_fileCountLabel;
    QLabel *m_byteCountLabel;
    QLabel *m_currentFileLabel;
    QProgressBar *m_progressBar;
    QPushButton *m_cancelButton;
    int m_totalFiles = 0;
    qint64 m_totalBytes = 0;
    bool m_cancelled = false;
};

} // namespace kc::ui
