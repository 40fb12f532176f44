// The two kinds of upload connection: a folder on this machine (a NAS, a
// synced folder) and a server through libcurl (SFTP, FTP, FTP with TLS).
#include "online/Uploader.h"

#include "store/Prompter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>
#include <curl/curl.h>
#include <mutex>

namespace kc {

namespace {

class FolderConnection : public UploadConnection
{
public:
    explicit FolderConnection(const UploadTarget &target) : m_root(target.folder) { }

    QString test() override
    {
        checkRoot();
        return QStringLiteral("フォルダ %1 に書き込めます。").arg(place());
    }

    void put(const QString &path, const QByteArray &bytes) override
    {
        checkRoot();
        const QString file = m_root + u'/' + path;
        const QString dir = QFileInfo(file).absolutePath();
        if (!QDir().mkpath(dir))
            fail(QStringLiteral("フォルダ %1 を作成できません").arg(QDir::toNativeSeparators(dir)));
        QSaveFile f(file);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
            fail(QStringLiteral("%1 に書き込めません（%2）")
                     .arg(QDir::toNativeSeparators(file), f.errorString()));
    }

    void remove(const QString &path) override
    {
        checkRoot();
        QFile f(m_root + u'/' + path);
        if (f.exists() && !f.remove())
            fail(QStringLiteral("%1 を削除できません（%2）")
                     .arg(QDir::toNativeSeparators(f.fileName()), f.errorString()));
    }

private:
    QString place() const { return QDir::toNativeSeparators(m_root); }
    // A NAS that is not mounted must not be filled on the local disk instead.
    void checkRoot() const
    {
        if (!QFileInfo(m_root).isDir())
            fail(QStringLiteral("フォルダがありません。NAS や同期フォルダがつながっているか"
                                "確かめてください"));
    }
    [[noreturn]] void fail(const QString &cause) const
    {
        throw UploadError {
            QStringLiteral("アップロードできませんでした（%1）: %2。").arg(place(), cause)};
    }
    QString m_root;
};

size_t readFromBuffer(char *out, size_t size, size_t count, void *userdata)
{
    auto *source = static_cast<std::pair<const QByteArray *, qsizetype> *>(userdata);
    const qsizetype n
        = std::min<qsizetype>(qsizetype(size * count), source->first->size() - source->second);
    memcpy(out, source->first->constData() + source->second, size_t(n));
    source->second += n;
    return size_t(n);
}

size_t discard(char *, size_t size, size_t count, void *)
{
    return size * count;
}

QString keyTypeName(curl_khtype type)
{
    switch (type) {
    case CURLKHTYPE_RSA:
    case CURLKHTYPE_RSA1:
        return QStringLiteral("RSA");
    case CURLKHTYPE_DSS:
        return QStringLiteral("DSA");
    case CURLKHTYPE_ECDSA:
        return QStringLiteral("ECDSA");
    case CURLKHTYPE_ED25519:
        return QStringLiteral("ED25519");
    default:
        return QStringLiteral("?");
    }
}

// The fingerprint as ssh shows it: SHA256: and the unpadded base64 of the key.
QByteArray keyBlob(const curl_khkey *key);

QString fingerprint(const curl_khkey *key)
{
    const QByteArray blob = keyBlob(key);
    return QStringLiteral("SHA256:")
        + QString::fromLatin1(QCryptographicHash::hash(blob, QCryptographicHash::Sha256)
                                  .toBase64(QByteArray::OmitTrailingEquals));
}

QByteArray keyBlob(const curl_khkey *key)
{
    return key->len ? QByteArray(key->key, qsizetype(key->len))
                    : QByteArray::fromBase64(QByteArray(key->key));
}

// A public key blob starts with its type name, length first.
QByteArray keyType(const QByteArray &blob)
{
    if (blob.size() < 4)
        return {};
    const quint32 length = quint32(uchar(blob[0])) << 24 | quint32(uchar(blob[1])) << 16
        | quint32(uchar(blob[2])) << 8 | quint32(uchar(blob[3]));
    if (length == 0 || length > quint32(blob.size() - 4))
        return {};
    return blob.mid(4, qsizetype(length));
}

// libcurl alone would look for ~/.ssh/id_rsa only; today's keys come first.
QString defaultKeyFile()
{
    for (const char *name : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
        const QString path
            = QDir::homePath() + QStringLiteral("/.ssh/") + QString::fromLatin1(name);
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

class CurlConnection : public UploadConnection
{
public:
    CurlConnection(const UploadTarget &target, PasswordSource password, Prompter &prompter,
                   UploadProgress *progress)
        : m_target(target), m_passwordSource(std::move(password)), m_prompter(prompter),
          m_progress(progress)
    {
        static std::once_flag once;
        std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
        m_curl = curl_easy_init();
        if (!m_curl)
            throw UploadError {QStringLiteral("アップロードを始められません（libcurl）。")};
        if (m_target.needsPassword()) {
            takePassword();
            if (m_password.isEmpty())
                throw UploadError {
                    QStringLiteral("アップロードできませんでした（%1）: パスワードがありません"
                                   "（入力されず、キーリングにも KACHIKOSHI_UPLOAD_PASSWORD に"
                                   "もありません）。")
                        .arg(m_target.place())};
        }
    }
    ~CurlConnection() override
    {
        curl_easy_cleanup(m_curl);
        // The password lives no longer than the session.
        m_password.fill(u'\0');
        m_passwordBytes.fill('\0');
    }

    QString test() override
    {
        const QString url = fileUrl(QString()) + u'/';
        perform(url, nullptr, {}, {}, Mode::List);
        return QStringLiteral("%1 に接続できました（フォルダ %2）。")
            .arg(m_target.place(),
                 m_target.folder.isEmpty() ? QStringLiteral("/") : m_target.folder);
    }

    void put(const QString &path, const QByteArray &bytes) override
    {
        const bool sftp = m_target.protocol == UploadProtocol::Sftp;
        const QString part = path + QStringLiteral(".kc-part");
        QStringList after;
        if (sftp) {
            // SFTP's rename does not replace: the old page goes an instant before.
            after << QStringLiteral("*rm ") + quoted(remotePath(path))
                  << QStringLiteral("rename ") + quoted(remotePath(part)) + u' '
                    + quoted(remotePath(path));
        } else {
            const QString name = path.section(u'/', -1);
            after << QStringLiteral("RNFR ") + name + QStringLiteral(".kc-part")
                  << QStringLiteral("RNTO ") + name;
        }
        m_current = path;
        perform(fileUrl(part), &bytes, {}, after, Mode::Upload);
    }

    void remove(const QString &path) override
    {
        m_current = path;
        // Already gone is what was wanted.
        if (m_target.protocol == UploadProtocol::Sftp) {
            perform(fileUrl(QString()) + u'/', nullptr,
                    {QStringLiteral("*rm ") + quoted(remotePath(path))}, {}, Mode::Commands);
        } else {
            // A reused FTP session may stand in any folder: go to the file's first.
            const QString dir = path.contains(u'/') ? path.section(u'/', 0, -2) : QString();
            perform(fileUrl(dir) + u'/', nullptr, {},
                    {QStringLiteral("*DELE ") + path.section(u'/', -1)}, Mode::Commands);
        }
    }

private:
    void takePassword()
    {
        if (m_passwordSource) {
            if (auto p = m_passwordSource())
                m_password = *p;
            m_passwordSource = nullptr; // asked once per connection
        }
    }

    QString encodedPath(const QString &path) const
    {
        QStringList parts;
        for (const QString &segment : path.split(u'/'))
            parts << QString::fromLatin1(QUrl::toPercentEncoding(segment, "~"));
        return parts.join(u'/');
    }

    QString fileUrl(const QString &path) const
    {
        QString base = m_target.remoteBase();
        QString url = (m_target.protocol == UploadProtocol::Sftp ? QStringLiteral("sftp://")
                                                                 : QStringLiteral("ftp://"))
            + (m_target.host.contains(u':') ? u'[' + m_target.host + u']'
                                            : QString::fromLatin1(QUrl::toAce(m_target.host)))
            + QStringLiteral(":%1").arg(m_target.effectivePort());
        if (!base.isEmpty())
            url += (base.startsWith(u'/') ? QString() : QStringLiteral("/")) + encodedPath(base);
        if (!path.isEmpty())
            url += u'/' + encodedPath(path);
        return url;
    }

    QString remotePath(const QString &path) const { return m_target.remoteBase() + u'/' + path; }
    static QString quoted(const QString &path) { return u'"' + path + u'"'; }

    void setCommonOptions()
    {
        curl_easy_reset(m_curl);
        m_error[0] = '\0';
        curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, m_error);
        curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT, 20L);
        curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_TIME, 30L);
        curl_easy_setopt(m_curl, CURLOPT_PROTOCOLS_STR,
                         m_target.protocol == UploadProtocol::Sftp ? "sftp" : "ftp");
        m_user = m_target.user.toUtf8();
        if (!m_user.isEmpty())
            curl_easy_setopt(m_curl, CURLOPT_USERNAME, m_user.constData());
        m_passwordBytes = m_password.toUtf8();
        if (!m_passwordBytes.isEmpty())
            curl_easy_setopt(m_curl, CURLOPT_PASSWORD, m_passwordBytes.constData());
        curl_easy_setopt(m_curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(m_curl, CURLOPT_XFERINFOFUNCTION, &CurlConnection::onProgress);
        curl_easy_setopt(m_curl, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(m_curl, CURLOPT_FTP_CREATE_MISSING_DIRS, long(CURLFTP_CREATE_DIR_RETRY));
        if (m_target.protocol == UploadProtocol::Sftp) {
            curl_easy_setopt(m_curl, CURLOPT_SSH_AUTH_TYPES,
                             long(CURLSSH_AUTH_PUBLICKEY | CURLSSH_AUTH_AGENT
                                  | CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
            m_keyFile = QFile::encodeName(m_target.keyFile.isEmpty() ? defaultKeyFile()
                                                                     : m_target.keyFile);
            if (!m_keyFile.isEmpty())
                curl_easy_setopt(m_curl, CURLOPT_SSH_PRIVATE_KEYFILE, m_keyFile.constData());
            m_knownHosts = QFile::encodeName(knownHostsPath());
            QDir().mkpath(QFileInfo(knownHostsPath()).absolutePath());
            curl_easy_setopt(m_curl, CURLOPT_SSH_KNOWNHOSTS, m_knownHosts.constData());
            curl_easy_setopt(m_curl, CURLOPT_SSH_KEYFUNCTION, &CurlConnection::onHostKey);
            curl_easy_setopt(m_curl, CURLOPT_SSH_KEYDATA, this);
        } else {
            curl_easy_setopt(
                m_curl, CURLOPT_USE_SSL,
                long(m_target.protocol == UploadProtocol::Ftps ? CURLUSESSL_ALL : CURLUSESSL_NONE));
            m_caFile = QFile::encodeName(m_target.caFile);
            if (!m_caFile.isEmpty())
                curl_easy_setopt(m_curl, CURLOPT_CAINFO, m_caFile.constData());
        }
    }

    enum class Mode { Upload, List, Commands };

    static curl_slist *commandList(const QStringList &commands)
    {
        curl_slist *list = nullptr;
        for (const QString &c : commands)
            list = curl_slist_append(list, c.toUtf8().constData());
        return list;
    }

    // `before` and `after` are the protocol commands sent around the transfer.
    void perform(const QString &url, const QByteArray *upload, const QStringList &before,
                 const QStringList &after, Mode mode)
    {
        for (int attempt = 0;; ++attempt) {
            curl_slist *quote = commandList(before), *postQuote = commandList(after);
            setCommonOptions();
            if (quote)
                curl_easy_setopt(m_curl, CURLOPT_QUOTE, quote);
            if (postQuote)
                curl_easy_setopt(m_curl, CURLOPT_POSTQUOTE, postQuote);
            const QByteArray urlBytes = url.toUtf8();
            curl_easy_setopt(m_curl, CURLOPT_URL, urlBytes.constData());
            std::pair<const QByteArray *, qsizetype> source {upload, 0};
            if (mode == Mode::Upload) {
                curl_easy_setopt(m_curl, CURLOPT_UPLOAD, 1L);
                curl_easy_setopt(m_curl, CURLOPT_READFUNCTION, &readFromBuffer);
                curl_easy_setopt(m_curl, CURLOPT_READDATA, &source);
                curl_easy_setopt(m_curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(upload->size()));
            } else if (mode == Mode::Commands) {
                curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
            } else {
                curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, &discard);
            }
            const CURLcode code = curl_easy_perform(m_curl);
            curl_slist_free_all(quote);
            curl_slist_free_all(postQuote);
            if (code == CURLE_OK)
                return;
            // SFTP tries the keys first; only a refused key asks for a password.
            if (code == CURLE_LOGIN_DENIED && attempt == 0 && m_password.isEmpty()
                && m_passwordSource) {
                takePassword();
                if (!m_password.isEmpty())
                    continue;
            }
            fail(code);
        }
    }

    [[noreturn]] void fail(CURLcode code)
    {
        QString cause;
        switch (code) {
        case CURLE_ABORTED_BY_CALLBACK:
            throw UploadError {QString(), true};
        case CURLE_COULDNT_RESOLVE_HOST:
            cause = QStringLiteral("ホスト名が見つかりません");
            break;
        case CURLE_COULDNT_CONNECT:
            cause
                = QStringLiteral("接続を拒否されました（ポート %1）").arg(m_target.effectivePort());
            break;
        case CURLE_OPERATION_TIMEDOUT:
            cause = QStringLiteral("サーバーが応答しません（タイムアウト）");
            break;
        case CURLE_LOGIN_DENIED:
            cause = m_target.protocol == UploadProtocol::Sftp && m_password.isEmpty()
                ? QStringLiteral("ログインできません（鍵が受け付けられず、パスワードもありません）")
                : QStringLiteral("ユーザー名またはパスワードが違います");
            break;
        case CURLE_REMOTE_DISK_FULL:
            cause = QStringLiteral("サーバーの空き容量がありません");
            break;
        case CURLE_REMOTE_ACCESS_DENIED:
        case CURLE_UPLOAD_FAILED:
            cause = QStringLiteral("サーバーで書き込みが許可されていません（フォルダを作成でき"
                                   "ないか、権限がありません）");
            break;
        case CURLE_REMOTE_FILE_NOT_FOUND:
            cause = QStringLiteral("サーバーのフォルダ %1 が見つからないか、作成できません")
                        .arg(m_target.folder);
            break;
        case CURLE_QUOTE_ERROR:
            cause = QStringLiteral("サーバーでファイルの名前を変えられないか、削除できません");
            break;
        case CURLE_USE_SSL_FAILED:
            cause = QStringLiteral("サーバーが TLS（FTPS）に対応していません");
            break;
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_CONNECT_ERROR:
            if (m_hostKey == HostKey::Changed)
                cause = QStringLiteral("サーバーのホスト鍵が %1 に記録されたものと違います。"
                                       "なりすましの恐れがあるため接続しません。サーバーの"
                                       "管理者に確かめてください")
                            .arg(QDir::toNativeSeparators(knownHostsPath()));
            else if (m_hostKey == HostKey::Declined)
                cause = QStringLiteral("ホスト鍵が確認されなかったため接続しません");
            else if (m_target.protocol == UploadProtocol::Sftp)
                cause = QStringLiteral("ホスト鍵を確かめられません");
            else
                cause = QStringLiteral("サーバーの証明書を確かめられません（%1）")
                            .arg(QString::fromUtf8(m_error));
            break;
        default:
            cause = QString::fromUtf8(*m_error ? m_error : curl_easy_strerror(code));
            break;
        }
        if (!m_password.isEmpty())
            cause.replace(m_password, QStringLiteral("***"));
        QString message = QStringLiteral("アップロードできませんでした（%1）: %2。")
                              .arg(m_target.place(), cause);
        if (!m_current.isEmpty())
            message += QStringLiteral("（%1 の送信中）").arg(m_current);
        throw UploadError {message};
    }

    static int onProgress(void *self, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
    {
        auto *c = static_cast<CurlConnection *>(self);
        return c->m_progress && c->m_progress->cancelRequested() ? 1 : 0;
    }

    static int onHostKey(CURL *, const curl_khkey *, const curl_khkey *found, curl_khmatch match,
                         void *self)
    {
        auto *c = static_cast<CurlConnection *>(self);
        if (match == CURLKHMATCH_OK)
            return CURLKHSTAT_FINE;
        if (match == CURLKHMATCH_MISMATCH) {
            c->m_hostKey = HostKey::Changed;
            return CURLKHSTAT_REJECT;
        }
        if (c->m_hostKey == HostKey::Accepted && keyBlob(found) == c->m_acceptedKey)
            return CURLKHSTAT_FINE;
        Question q;
        q.title = QStringLiteral("ホスト鍵の確認");
        q.icon = Icon::Warning;
        q.defaultNo = true;
        q.text = QStringLiteral("サーバー %1 のホスト鍵は %2 に記録されていません。\n"
                                "鍵の種類: %3\n指紋: %4\n"
                                "サーバーの管理者から知らされた指紋と同じ場合だけ「はい」を"
                                "選んでください。この鍵を記録して接続しますか？")
                     .arg(c->m_target.host, QDir::toNativeSeparators(knownHostsPath()),
                          keyTypeName(found->keytype), fingerprint(found));
        if (!c->m_prompter.ask(q)) {
            c->m_hostKey = HostKey::Declined;
            return CURLKHSTAT_REJECT;
        }
        c->m_hostKey = HostKey::Accepted;
        c->m_acceptedKey = keyBlob(found);
        c->rememberHostKey(found);
        return CURLKHSTAT_FINE;
    }

    // Appends the key to known_hosts. libcurl would write the whole file anew
    // from what libssh2 made of it; the organiser's other lines stay as they are.
    void rememberHostKey(const curl_khkey *key) const
    {
        const QByteArray blob = keyBlob(key);
        const QByteArray type = keyType(blob);
        if (type.isEmpty())
            return;
        QFile file(knownHostsPath());
        if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
            return;
        const QByteArray last
            = file.size() > 0 && file.seek(file.size() - 1) ? file.read(1) : QByteArray();
        file.seek(file.size());
        if (!last.isEmpty() && last != "\n")
            file.write("\n");
        file.write(knownHostName() + ' ' + type + ' ' + blob.toBase64() + '\n');
    }

    // The name known_hosts files the server under, as ssh writes it.
    QByteArray knownHostName() const
    {
        const QByteArray host = QUrl::toAce(m_target.host);
        const int port = m_target.effectivePort();
        return port == 22 ? host : '[' + host + "]:" + QByteArray::number(port);
    }

    enum class HostKey { Unchecked, Accepted, Declined, Changed };

    UploadTarget m_target;
    PasswordSource m_passwordSource;
    Prompter &m_prompter;
    UploadProgress *m_progress;
    CURL *m_curl = nullptr;
    char m_error[CURL_ERROR_SIZE] = {};
    QString m_password;
    QByteArray m_passwordBytes, m_user, m_keyFile, m_knownHosts, m_caFile;
    QString m_current;
    HostKey m_hostKey = HostKey::Unchecked;
    QByteArray m_acceptedKey;
};

} // namespace

std::unique_ptr<UploadConnection> connectTo(const UploadTarget &target, PasswordSource password,
                                            Prompter &prompter, UploadProgress *progress)
{
    if (target.isFolder())
        return std::make_unique<FolderConnection>(target);
    return std::make_unique<CurlConnection>(target, std::move(password), prompter, progress);
}

} // namespace kc
