#pragma once

#include "online/HttpFetcher.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kc::ui {

// A download running inside a window: a line saying what is fetched, a
// progress bar and 中止. While it runs every other control of the window is
// disabled, but the window keeps answering, so 中止 (or Esc) stops it at once.
class FetchProgress : public QWidget
{
    Q_OBJECT
public:
    explicit FetchProgress(QWidget *parent);

    void start(const QUrl &url);
    void abort() { m_fetcher.abort(); }
    bool isRunning() const { return m_fetcher.isRunning(); }
    // The line under the bar: what was fetched, or why not.
    void setText(const QString &text);
    QString text() const;

signals:
    void finished(const kc::FetchReply &reply);

private:
    void setRunning(bool running);

    HttpFetcher m_fetcher;
    QLabel *m_label = nullptr;
    QProgressBar *m_bar = nullptr;
    QPushButton *m_abort = nullptr;
    QList<QPointer<QWidget>> m_disabled;
};

} // namespace kc::ui
