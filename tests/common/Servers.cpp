#include "Servers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kc::test {

namespace {

bool runTool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QString userName()
{
    const passwd *pw = getpwuid(geteuid());
    return pw ? QString::fromLocal8Bit(pw->pw_name) : QString();
}

} // namespace

FetchServer::FetchServer(int timeoutMs) : m_process(std::make_unique<QProcess>())
{
    for (const char *name :
         {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(name);
    qputenv("KACHIKOSHI_FETCH_TIMEOUT_MS", QByteArray::number(timeoutMs));
    const QString dir
        = qEnvironmentVariable("KC_TEST_SOURCE_DIR") + QStringLiteral("/tests/online");
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(QStandardPaths::findExecutable(QStringLiteral("python3")),
                     {dir + QStringLiteral("/fetch_server.py"), dir + QStringLiteral("/fixtures")});
    // The first line names both ports; it may come in pieces.
    if (m_process->waitForStarted(10000)) {
        while (!m_process->canReadLine() && m_process->waitForReadyRead(10000)) { }
        const QList<QByteArray> ports = m_process->readLine().trimmed().split(' ');
        m_port = ports.value(0).toInt();
        m_tlsPort = ports.value(1).toInt();
    }
}

FetchServer::~FetchServer()
{
    m_process->kill();
    m_process->waitForFinished(5000);
}

QString FetchServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
}

QString FetchServer::tlsUrl(const QString &path) const
{
    return QStringLiteral("https://127.0.0.1:%1%2").arg(m_tlsPort).arg(path);
}

int freePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(fd);
    return port;
}

QMap<QString, QByteArray> treeOf(const QString &dir)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            tree.insert(QDir(dir).relativeFilePath(path), f.readAll());
    }
    return tree;
}

SshServer::SshServer()
{
    if (!QFileInfo::exists(QStringLiteral("/usr/sbin/sshd"))) {
        m_failure = QStringLiteral("/usr/sbin/sshd missing (openssh-server)");
        return;
    }
    // sshd run by root wants its privilege separation folder.
    if (geteuid() == 0)
        QDir().mkpath(QStringLiteral("/run/sshd"));
    QDir(m_dir.path()).mkpath(QStringLiteral("www"));
    if (!runTool(QStringLiteral("ssh-keygen"),
                 {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"),
                  QStringLiteral("-N"), QString(), QStringLiteral("-f"), userKey()})) {
        m_failure = QStringLiteral("ssh-keygen failed");
        return;
    }
    QFile::copy(userKey() + QStringLiteral(".pub"),
                m_dir.filePath(QStringLiteral("authorized_keys")));
    start();
}

SshServer::~SshServer()
{
    stop();
}

void SshServer::start()
{
    const QString hostKey = m_dir.filePath(QStringLiteral("host_key%1").arg(++m_keys));
    if (!runTool(QStringLiteral("ssh-keygen"),
                 {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"),
                  QStringLiteral("-N"), QString(), QStringLiteral("-f"), hostKey})) {
        m_failure = QStringLiteral("ssh-keygen failed");
        return;
    }
    if (m_port == 0)
        m_port = freePort();
    const QString config = m_dir.filePath(QStringLiteral("sshd_config"));
    write(config,
          QStringLiteral("Port %1\nListenAddress 127.0.0.1\nHostKey %2\n"
                         "AuthorizedKeysFile %3\nPidFile %4\nStrictModes no\n"
                         "UsePAM no\nPasswordAuthentication no\n"
                         "PermitRootLogin prohibit-password\n"
                         "Subsystem sftp internal-sftp\n")
              .arg(m_port)
              .arg(hostKey, m_dir.filePath(QStringLiteral("authorized_keys")),
                   m_dir.filePath(QStringLiteral("sshd.pid")))
              .toUtf8());
    m_sshd.setProcessChannelMode(QProcess::MergedChannels);
    m_sshd.start(QStringLiteral("/usr/sbin/sshd"),
                 {QStringLiteral("-f"), config, QStringLiteral("-D"), QStringLiteral("-e")});
    QByteArray log;
    while (m_sshd.waitForReadyRead(10000)) {
        log += m_sshd.readAll();
        if (log.contains("Server listening"))
            return;
    }
    m_failure = QStringLiteral("sshd did not start: ") + QString::fromLocal8Bit(log);
}

void SshServer::stop()
{
    if (m_sshd.state() != QProcess::NotRunning) {
        m_sshd.terminate();
        if (!m_sshd.waitForFinished(5000))
            m_sshd.kill();
        m_sshd.waitForFinished(5000);
    }
}

void SshServer::changeHostKey()
{
    stop(); // the same address, another key
    start();
}

QString SshServer::url() const
{
    return QStringLiteral("sftp://%1@127.0.0.1:%2%3").arg(userName()).arg(m_port).arg(root());
}

FtpServer::FtpServer(bool tls, int bytesPerSecond) : m_tls(tls)
{
    const QString script = qEnvironmentVariable("KC_TEST_SOURCE_DIR")
        + QStringLiteral("/tests/online/ftp_server.py");
    QDir(m_dir.path()).mkpath(QStringLiteral("www"));
    QStringList args {script, m_dir.path(), QStringLiteral("u"), QStringLiteral("secret")};
    if (tls) {
        const QString key = m_dir.filePath(QStringLiteral("key.pem"));
        if (!runTool(QStringLiteral("openssl"),
                     {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                      QStringLiteral("rsa:2048"), QStringLiteral("-nodes"),
                      QStringLiteral("-keyout"), key, QStringLiteral("-out"), caFile(),
                      QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-subj"),
                      QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                      QStringLiteral("subjectAltName=IP:127.0.0.1")})) {
            m_failure = QStringLiteral("openssl could not make a certificate");
            return;
        }
        args << QStringLiteral("--tls") << caFile() << key;
    }
    if (bytesPerSecond > 0)
        args << QStringLiteral("--slow") << QString::number(bytesPerSecond);
    m_server.start(QStringLiteral("/usr/bin/python3"), args);
    if (!m_server.waitForReadyRead(15000)) {
        m_failure = QStringLiteral("ftp_server.py did not start: ")
            + QString::fromLocal8Bit(m_server.readAllStandardError());
        return;
    }
    m_port = m_server.readLine().trimmed().toInt();
}

FtpServer::~FtpServer()
{
    m_server.kill();
    m_server.waitForFinished(5000);
}

QString FtpServer::url() const
{
    return QStringLiteral("%1://u@127.0.0.1:%2/www")
        .arg(m_tls ? QStringLiteral("ftps") : QStringLiteral("ftp"))
        .arg(m_port);
}

} // namespace kc::test
