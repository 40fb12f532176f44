#pragma once

#include <QMap>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace kc::test {

// The results site of the fetch tests (tests/online/fetch_server.py) on
// 127.0.0.1, on a port the system picks; stopped when destroyed. Also lifts a
// proxy of the environment and shortens the fetch deadline to `timeoutMs`.
class FetchServer
{
public:
    explicit FetchServer(int timeoutMs = 1000);
    ~FetchServer();
    bool running() const { return m_port > 0 && m_tlsPort > 0; }
    QString url(const QString &path) const;
    // The same site over HTTPS with a self-signed certificate.
    QString tlsUrl(const QString &path) const;

private:
    std::unique_ptr<QProcess> m_process;
    int m_port = 0;
    int m_tlsPort = 0;
};

// A free TCP port on 127.0.0.1 (asked of the system, then released): nobody
// listens on it.
int freePort();
// Every file below dir by relative path.
QMap<QString, QByteArray> treeOf(const QString &dir);

// OpenSSH's sshd on 127.0.0.1 for this user, with a throw-away host key,
// user key and known_hosts; the user's own ~/.ssh is never read or written.
class SshServer
{
public:
    SshServer();
    ~SshServer();
    const QString &failure() const { return m_failure; } // empty when running
    QString root() const { return m_dir.filePath(QStringLiteral("www")); }
    QString url() const;
    QString userKey() const { return m_dir.filePath(QStringLiteral("user_key")); }
    QString knownHosts() const { return m_dir.filePath(QStringLiteral("known_hosts")); }
    // Restarts with a new host key, as a replaced or impostor server would.
    void changeHostKey();

private:
    void start();
    void stop();
    QTemporaryDir m_dir;
    QProcess m_sshd;
    int m_port = 0;
    int m_keys = 0;
    QString m_failure;
};

// pyftpdlib on 127.0.0.1, user "u" with password "secret", its folder www/;
// with TLS it presents a throw-away certificate for 127.0.0.1.
class FtpServer
{
public:
    explicit FtpServer(bool tls, int bytesPerSecond = 0);
    ~FtpServer();
    const QString &failure() const { return m_failure; }
    QString root() const { return m_dir.filePath(QStringLiteral("www")); }
    QString url() const;
    QString caFile() const { return m_dir.filePath(QStringLiteral("cert.pem")); }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    bool m_tls;
    int m_port = 0;
    QString m_failure;
};

} // namespace kc::test
