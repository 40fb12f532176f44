#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;

namespace kc {

// What one download brought: the body, or the cause it failed for.
struct FetchReply
{
    QUrl url; // as asked
    bool ok = false;
    bool aborted = false; // 中止 pressed
    QString cause; // why it failed, in the organiser's words
    QByteArray body;
    QString contentType;
    QDateTime at; // when the answer arrived
};

// One GET over Qt Network as a desktop program should make it: certificates
// checked, the system's proxy, no cookies or credentials, at most five
// redirects and only to http(s), a deadline (20 s, KACHIKOSHI_FETCH_TIMEOUT_MS
// for tests) and a body of at most 4 MB. start() reports through signals, for
// a window that stays responsive; get() waits in a local event loop, for the
// command line that has none running.
class HttpFetcher : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 kMaxBody = 4 * 1024 * 1024;
    static constexpr int kMaxRedirects = 5;

    explicit HttpFetcher(QObject *parent = nullptr);
    ~HttpFetcher() override;

    void start(const QUrl &url);
    FetchReply get(const QUrl &url);
    void abort();
    bool isRunning() const { return m_reply != nullptr; }
    const FetchReply &result() const { return m_result; }

    static int timeoutMs();

signals:
    void progress(qint64 received, qint64 total); // total -1 when unknown
    void finished();

private:
    void send(const QUrl &url);
    void follow(const QUrl &to);
    void onReadyRead();
    void onFinished();
    void fail(const QString &cause);
    void finish();

    QNetworkAccessManager *m_manager = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer m_deadline;
    FetchReply m_result;
    QString m_sslProblem;
    int m_redirects = 0;
    bool m_failed = false;
};

} // namespace kc
