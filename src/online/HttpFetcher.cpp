#include "online/HttpFetcher.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>

namespace kc {

namespace {

QString seconds(int ms)
{
    return QString::number(ms / 1000.0, 'g', 3);
}

bool isWebScheme(const QUrl &url)
{
    const QString s = url.scheme().toLower();
    return s == u"http" || s == u"https";
}

QString httpStatusCause(int status, const QString &reason)
{
    QString cause = QStringLiteral("サーバーが HTTP %1").arg(status);
    if (!reason.isEmpty())
        cause += QStringLiteral("（%1）").arg(reason);
    cause += QStringLiteral(" を返しました。");
    if (status == 404)
        cause += QStringLiteral("まだ公開されていないか、URL が違います。");
    else if (status >= 500)
        cause += QStringLiteral("サーバー側の障害です。しばらくしてからやり直してください。");
    return cause;
}

} // namespace

HttpFetcher::HttpFetcher(QObject *parent) : QObject(parent)
{
    // The organiser's proxy, as the browser uses it.
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    m_manager = new QNetworkAccessManager(this);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        fail(QStringLiteral("%1 秒以内に応答がありませんでした（時間切れ）。")
                 .arg(seconds(timeoutMs())));
    });
}

HttpFetcher::~HttpFetcher()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

int HttpFetcher::timeoutMs()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("KACHIKOSHI_FETCH_TIMEOUT_MS", &ok);
    return ok && ms > 0 ? ms : 20000;
}

void HttpFetcher::start(const QUrl &url)
{
    abort();
    m_result = FetchReply {};
    m_result.url = url;
    m_redirects = 0;
    m_failed = false;
    if (!url.isValid() || !isWebScheme(url) || url.host().isEmpty()) {
        fail(QStringLiteral("http:// または https:// の URL ではありません。"));
        return;
    }
    m_sslProblem.clear();
    send(url);
    m_deadline.start(timeoutMs());
    m_deadline.start(timeoutMs());
}

void HttpFetcher::send(const QUrl &url)
{
    QNetworkRequest request(url);
    // Redirects are followed here, not by Qt: its own following loses the body
    // now and then (Qt 6.4), and each target is checked before it is asked.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QByteArrayLiteral("KachikoshiCup/" KC_VERSION));
    request.setRawHeader("Accept", "application/json");
    m_reply = m_manager->get(request);
    QNetworkReply *reply = m_reply;
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > kMaxBody)
            fail(QStringLiteral("応答が大きすぎます（%1 バイト。4 MB まで）。")
                     .arg(length.toLongLong()));
    });
    connect(reply, &QNetworkReply::readyRead, this, &HttpFetcher::onReadyRead);
    connect(reply, &QNetworkReply::finished, this, &HttpFetcher::onFinished);
    connect(reply, &QNetworkReply::downloadProgress, this, &HttpFetcher::progress);
    // Certificate errors are never ignored: the handshake fails and says why.
    connect(reply, &QNetworkReply::sslErrors, this, [this](const QList<QSslError> &errors) {
        if (!errors.isEmpty())
            m_sslProblem = errors.first().errorString();
    });
}

FetchReply HttpFetcher::get(const QUrl &url)
{
    QEventLoop loop;
    connect(this, &HttpFetcher::finished, &loop, &QEventLoop::quit);
    start(url);
    if (isRunning())
        loop.exec();
    return m_result;
}

void HttpFetcher::abort()
{
    if (!m_reply)
        return;
    m_result.aborted = true;
    fail(QStringLiteral("中止しました。"));
}

void HttpFetcher::onReadyRead()
{
    if (!m_reply)
        return;
    m_result.body += m_reply->readAll();
    if (m_result.body.size() > kMaxBody)
        fail(QStringLiteral("応答が大きすぎます（4 MB を超えています）。"));
}

void HttpFetcher::follow(const QUrl &to)
{
    const QUrl target = m_reply->url().resolved(to);
    if (!isWebScheme(target)) {
        fail(QStringLiteral("http(s) 以外の場所への転送（%1）には従いません。")
                 .arg(target.toDisplayString()));
        return;
    }
    // A certificate checked on the way in must not be dropped on the way.
    if (m_reply->url().scheme().toLower() == u"https" && target.scheme().toLower() == u"http") {
        fail(QStringLiteral("https から http への転送（%1）には従いません。")
                 .arg(target.toDisplayString()));
        return;
    }
    if (++m_redirects > kMaxRedirects) {
        fail(QStringLiteral("転送（リダイレクト）が %1 回を超えました。").arg(kMaxRedirects));
        return;
    }
    QNetworkReply *old = m_reply;
    old->disconnect(this);
    old->deleteLater();
    m_result.body.clear();
    send(target);
}

void HttpFetcher::onFinished()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    onReadyRead();
    if (m_failed)
        return; // the body was too big: already told
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString reason = QString::fromUtf8(
        reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray());
    const QNetworkReply::NetworkError error = reply->error();
    const QString host = reply->url().host();
    const QVariant location = reply->attribute(QNetworkRequest::RedirectionTargetAttribute);
    if (status >= 300 && status < 400 && location.isValid()) {
        follow(location.toUrl());
        return;
    }
    if (status >= 400) {
        fail(httpStatusCause(status, reason));
        return;
    }
    switch (error) {
    case QNetworkReply::NoError:
        break;
    case QNetworkReply::ConnectionRefusedError:
        fail(QStringLiteral("接続を拒否されました（サーバー %1 が動いていないか、アドレスかポートが"
                            "違います）。")
                 .arg(host));
        return;
    case QNetworkReply::HostNotFoundError:
        fail(QStringLiteral("サーバー「%1」が見つかりません。インターネットへの接続と URL を"
                            "確かめてください。")
                 .arg(host));
        return;
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::ProtocolFailure:
        fail(QStringLiteral("応答が途中で切れました（%1 バイトまで受信）。")
                 .arg(m_result.body.size()));
        return;
    case QNetworkReply::SslHandshakeFailedError:
        fail(QStringLiteral("安全な接続（HTTPS）を確立できません。証明書を確認できませんでした: %1")
                 .arg(m_sslProblem.isEmpty() ? reply->errorString() : m_sslProblem));
        return;
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
        fail(QStringLiteral("プロキシを通じて接続できません: %1").arg(reply->errorString()));
        return;
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        fail(QStringLiteral("ネットワークに接続されていません。"));
        return;
    default:
        fail(QStringLiteral("通信に失敗しました: %1").arg(reply->errorString()));
        return;
    }
    // A body shorter than the server announced was cut off on the way.
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && !reply->hasRawHeader("Content-Encoding")
        && length.toLongLong() != m_result.body.size()) {
        fail(QStringLiteral("応答が途中で切れました（%1 バイトのうち %2 バイトを受信）。")
                 .arg(length.toLongLong())
                 .arg(m_result.body.size()));
        return;
    }
    m_result.ok = true;
    m_result.cause.clear();
    m_result.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toString();
    finish();
}

void HttpFetcher::fail(const QString &cause)
{
    m_failed = true;
    m_result.ok = false;
    m_result.cause = cause;
    m_result.body.clear();
    finish();
}

void HttpFetcher::finish()
{
    m_deadline.stop();
    m_result.at = QDateTime::currentDateTime();
    if (QNetworkReply *reply = m_reply) {
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    emit finished();
}

} // namespace kc
