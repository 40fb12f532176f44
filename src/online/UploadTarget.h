#pragma once

#include <QString>
#include <optional>

namespace kc {

class Contest;

enum class UploadProtocol { Sftp, Ftps, Ftp, Folder };

// Where the pages go: a server (SFTP, FTP with explicit TLS, plain FTP) or a
// local or mounted folder. Never holds a password.
struct UploadTarget
{
    UploadProtocol protocol = UploadProtocol::Sftp;
    QString host;
    int port = 0; // 0: the protocol's own
    // On a server: "/var/www", "~/public_html" (SFTP; a bare name is under the
    // home folder) or the folder below the FTP login folder. A folder target:
    // its absolute path.
    QString folder;
    QString user;
    QString keyFile; // SFTP: private key; empty for ~/.ssh's keys or the agent
    QString caFile; // FTPS: certificates to trust instead of the system's

    // "sftp://user@host:port/path", "ftps://…", "ftp://…", "file:///path" or a
    // plain folder path. A password in the address is refused: it would stand
    // in the command line and the settings.
    static std::optional<UploadTarget> fromText(const QString &text, QString &refusal);

    // Why the target cannot be used as filled in (a window's fields); empty when it can.
    QString refusal() const;

    bool isFolder() const { return protocol == UploadProtocol::Folder; }
    int effectivePort() const;
    // The address without a password; it names the target in the manifest.
    QString address() const;
    // What messages name: the host, or the folder.
    QString place() const;
    bool needsPassword() const;
    // Only FTP without TLS sends the password unencrypted.
    bool sendsPasswordInClear() const { return protocol == UploadProtocol::Ftp; }
    // The folder as libcurl's URL path and as its quote commands' path.
    QString remoteBase() const;
};

QString protocolScheme(UploadProtocol protocol);

// The target and the options saved with the contest (Data/Upload.json).
struct UploadSettings
{
    std::optional<UploadTarget> target;
    bool uploadAfterPublish = false;
};

QString uploadSettingsPath(const Contest &contest);
// Throws StoreError naming the file when it is damaged.
UploadSettings loadUploadSettings(const Contest &contest);
// Atomic, through the contest's file store.
void saveUploadSettings(Contest &contest, const UploadSettings &settings);

// Warning shown whenever plain FTP is used.
inline const QString PlainFtpWarning
    = QStringLiteral("警告: FTP（暗号化なし）ではパスワードとページが暗号化されずに送られます。"
                     "できれば SFTP か FTPS を使ってください。");

} // namespace kc
