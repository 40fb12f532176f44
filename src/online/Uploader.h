#pragma once

#include "online/UploadManifest.h"
#include "online/UploadTarget.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kc {

class Contest;
class Prompter;

// One file of html/ as it will be sent: read once, hashed, sent from memory,
// so what arrives is what the manifest records.
struct LocalFile
{
    QString path; // below html/, with '/'
    QByteArray bytes;
    QByteArray hash; // SHA-256, hex
};

struct LocalTree
{
    std::vector<LocalFile> files;
    // Links that lead out of html/ and names no server can take safely:
    // never sent.
    QStringList refused;
};

// Reads html/ without following a link out of it.
LocalTree scanPages(const QString &htmlDir);

struct UploadPlan
{
    // Participant pages and assets first, the list pages next, index.html last.
    std::vector<LocalFile> send;
    QStringList remove; // sent before, gone from html/ now
    int unchanged = 0;
    QStringList refused;
    qint64 bytes() const;
    bool isEmpty() const { return send.empty() && remove.isEmpty(); }
};

UploadPlan planUpload(LocalTree tree, const UploadManifest::Files &sent, bool all);

// A failure with its one message, naming the host (or folder) and the cause.
struct UploadError
{
    QString message;
    bool cancelled = false;
};

// How an upload shows its progress and learns of 中止.
class UploadProgress
{
public:
    virtual ~UploadProgress() = default;
    virtual void begin(int files, qint64 bytes)
    {
        Q_UNUSED(files);
        Q_UNUSED(bytes);
    }
    virtual void fileDone(const QString &path, int files, qint64 bytes)
    {
        Q_UNUSED(path);
        Q_UNUSED(files);
        Q_UNUSED(bytes);
    }
    // Polled while sending; true stops the upload after what has arrived.
    virtual bool cancelRequested() { return false; }
};

// Where the password comes from when the server wants one; nullopt: none given.
using PasswordSource = std::function<std::optional<QString>()>;

// One session with the target. Every method throws UploadError.
class UploadConnection
{
public:
    virtual ~UploadConnection() = default;
    // Logs in and looks at the folder; returns what the organiser is told.
    virtual QString test() = 0;
    // Puts the file in place whole, under a temporary name first where the
    // protocol can rename; creates missing folders.
    virtual void put(const QString &path, const QByteArray &bytes) = 0;
    virtual void remove(const QString &path) = 0;
};

// The connection for a target. The prompter asks about an unknown host key.
std::unique_ptr<UploadConnection> connectTo(const UploadTarget &target, PasswordSource password,
                                            Prompter &prompter, UploadProgress *progress = nullptr);

struct UploadOutcome
{
    int sent = 0;
    int removed = 0;
    int unchanged = 0;
    qint64 bytes = 0;
    QStringList refused;
    std::optional<UploadError> error; // also a cancellation
    bool ok() const { return !error; }
    // One line for the organiser: what arrived, or the failure and what arrived.
    QString summary(const UploadTarget &target) const;
};

// Sends the plan, recording each arrived file in the manifest, which is
// saved along the way and at the end, also after a failure.
UploadOutcome runUpload(Contest &contest, const UploadTarget &target, const UploadPlan &plan,
                        UploadConnection &connection, UploadProgress *progress = nullptr);

// Why nothing may be sent from this tree to this target: no pages at all
// (which would empty the site), or a folder target inside the contest folder.
QString uploadRefusal(const Contest &contest, const UploadTarget &target, const LocalTree &tree);

// The whole upload from html/: plan, connect when there is anything to do, send.
UploadOutcome uploadPages(Contest &contest, const UploadTarget &target, bool all,
                          PasswordSource password, UploadProgress *progress = nullptr);

// The known_hosts file checked for SFTP: $KACHIKOSHI_KNOWN_HOSTS, else ~/.ssh/known_hosts.
QString knownHostsPath();

} // namespace kc
