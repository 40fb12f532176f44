#include "online/UploadTarget.h"

#include "store/Contest.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace kc {

QString protocolScheme(UploadProtocol protocol)
{
    switch (protocol) {
    case UploadProtocol::Sftp:
        return QStringLiteral("sftp");
    case UploadProtocol::Ftps:
        return QStringLiteral("ftps");
    case UploadProtocol::Ftp:
        return QStringLiteral("ftp");
    case UploadProtocol::Folder:
        break;
    }
    return QStringLiteral("file");
}

std::optional<UploadTarget> UploadTarget::fromText(const QString &text, QString &refusal)
{
    const QString trimmed = text.trimmed();
    UploadTarget t;
    if (trimmed.isEmpty()) {
        refusal = QStringLiteral("アップロード先が指定されていません。");
        return std::nullopt;
    }
    const qsizetype schemeEnd = trimmed.indexOf(QStringLiteral("://"));
    if (schemeEnd < 0 || trimmed.startsWith(QStringLiteral("file://"), Qt::CaseInsensitive)) {
        const QString path
            = schemeEnd < 0 ? trimmed : QUrl(trimmed, QUrl::StrictMode).toLocalFile();
        if (path.isEmpty()) {
            refusal = QStringLiteral("フォルダのアドレスが正しくありません: %1").arg(trimmed);
            return std::nullopt;
        }
        t.protocol = UploadProtocol::Folder;
        t.folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        return t;
    }
    const QUrl url(trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (scheme == u"sftp")
        t.protocol = UploadProtocol::Sftp;
    else if (scheme == u"ftps")
        t.protocol = UploadProtocol::Ftps;
    else if (scheme == u"ftp")
        t.protocol = UploadProtocol::Ftp;
    else {
        refusal = QStringLiteral("sftp://、ftps://、ftp:// またはフォルダを指定してください: %1")
                      .arg(trimmed.left(schemeEnd + 3));
        return std::nullopt;
    }
    if (!url.isValid() || url.host().isEmpty()) {
        refusal = QStringLiteral("アップロード先のアドレスが正しくありません（ホスト名がありませ"
                                 "ん）。");
        return std::nullopt;
    }
    if (!url.password().isEmpty()) {
        refusal = QStringLiteral("パスワードはアドレスに書かないでください。パスワードは "
                                 "KACHIKOSHI_UPLOAD_PASSWORD、キーリング、または端末から"
                                 "入力します。");
        return std::nullopt;
    }
    t.host = url.host();
    t.port = std::max(url.port(), 0);
    t.user = url.userName();
    QString path = url.path(QUrl::FullyDecoded);
    if (t.protocol == UploadProtocol::Sftp) {
        if (path == u"/~" || path.startsWith(QStringLiteral("/~/")))
            path = path.mid(1);
        t.folder = path.isEmpty() ? QStringLiteral("~") : path;
    } else {
        while (path.startsWith(u'/'))
            path = path.mid(1);
        t.folder = path;
    }
    while (t.folder.size() > 1 && t.folder.endsWith(u'/'))
        t.folder.chop(1);
    return t;
}

QString UploadTarget::refusal() const
{
    if (isFolder())
        return folder.isEmpty() || QDir::isRelativePath(folder)
            ? QStringLiteral("アップロード先のフォルダを絶対パスで指定してください。")
            : QString();
    if (host.trimmed().isEmpty() || host.contains(u' ') || host.contains(u'/'))
        return QStringLiteral("ホスト名を正しく入力してください。");
    if (port < 0 || port > 65535)
        return QStringLiteral("ポート番号は 1 から 65535 までです。");
    if (!keyFile.isEmpty() && !QFileInfo(keyFile).isFile())
        return QStringLiteral("鍵ファイル %1 がありません。")
            .arg(QDir::toNativeSeparators(keyFile));
    if (!caFile.isEmpty() && !QFileInfo(caFile).isFile())
        return QStringLiteral("証明書ファイル %1 がありません。")
            .arg(QDir::toNativeSeparators(caFile));
    return QString();
}

int UploadTarget::effectivePort() const
{
    if (port > 0)
        return port;
    return protocol == UploadProtocol::Sftp ? 22 : 21;
}

QString UploadTarget::remoteBase() const
{
    if (protocol == UploadProtocol::Sftp) {
        if (folder.startsWith(u'/'))
            return folder;
        if (folder == u"~")
            return QStringLiteral("/~");
        if (folder.startsWith(QStringLiteral("~/")))
            return u'/' + folder;
        return QStringLiteral("/~/") + folder;
    }
    return folder;
}

QString UploadTarget::address() const
{
    if (isFolder())
        return QUrl::fromLocalFile(folder).toString();
    QUrl url;
    url.setScheme(protocolScheme(protocol));
    url.setHost(host);
    if (!user.isEmpty())
        url.setUserName(user);
    if (port > 0)
        url.setPort(port);
    QString path = remoteBase();
    if (!path.startsWith(u'/'))
        path.prepend(u'/');
    url.setPath(path);
    return url.toString();
}

QString UploadTarget::place() const
{
    return isFolder() ? QDir::toNativeSeparators(folder) : host;
}

bool UploadTarget::needsPassword() const
{
    return (protocol == UploadProtocol::Ftp || protocol == UploadProtocol::Ftps) && !user.isEmpty();
}

QString uploadSettingsPath(const Contest &contest)
{
    return contest.paths().data + QStringLiteral("/Upload.json");
}

UploadSettings loadUploadSettings(const Contest &contest)
{
    const QString path = uploadSettingsPath(contest);
    const auto bytes = contest.files().read(path);
    UploadSettings s;
    if (!bytes)
        return s;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(*bytes, &error);
    const QJsonObject o = doc.object();
    auto damaged = [&](const QString &why) { return StoreError(badDataMessage(path, why), path); };
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        throw damaged(QStringLiteral("公開設定が読み取れません"));
    s.uploadAfterPublish = o.value(QStringLiteral("uploadAfterPublish")).toBool();
    const QString address = o.value(QStringLiteral("address")).toString();
    if (!address.isEmpty()) {
        QString refusal;
        auto target = UploadTarget::fromText(address, refusal);
        if (!target)
            throw damaged(refusal);
        target->keyFile = o.value(QStringLiteral("keyFile")).toString();
        target->caFile = o.value(QStringLiteral("caFile")).toString();
        s.target = target;
    }
    return s;
}

void saveUploadSettings(Contest &contest, const UploadSettings &settings)
{
    QJsonObject o;
    if (settings.target) {
        o.insert(QStringLiteral("address"), settings.target->address());
        o.insert(QStringLiteral("keyFile"), settings.target->keyFile);
        o.insert(QStringLiteral("caFile"), settings.target->caFile);
    }
    o.insert(QStringLiteral("uploadAfterPublish"), settings.uploadAfterPublish);
    contest.files().write(uploadSettingsPath(contest), QJsonDocument(o).toJson());
}

} // namespace kc
