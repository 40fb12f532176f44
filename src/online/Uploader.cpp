#include "online/Uploader.h"

#include "store/Contest.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace kc {

namespace {

// A name a server can take as it is: no control characters (an FTP command
// ends at a line break) and no quote that would end a quoted path.
bool safeName(const QString &path)
{
    return std::none_of(path.begin(), path.end(), [](QChar c) {
        return c.unicode() < 0x20 || c == u'\x7f' || c == u'"' || c == u'\\';
    });
}

void scanFolder(const QString &root, const QString &dir, const QString &prefix, LocalTree &tree)
{
    const QFileInfoList entries = QDir(dir).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &info : entries) {
        const QString path = prefix + info.fileName();
        const QString real = info.canonicalFilePath();
        const bool inside = !real.isEmpty() && real.startsWith(root + u'/');
        if (info.isSymLink() && !inside) {
            tree.refused << path;
            continue;
        }
        if (info.isDir()) {
            // A link to a folder inside would send its files twice.
            if (!info.isSymLink())
                scanFolder(root, info.filePath(), path + u'/', tree);
            continue;
        }
        if (!info.isFile() || !safeName(path)) {
            tree.refused << path;
            continue;
        }
        QFile f(real);
        if (!f.open(QIODevice::ReadOnly)) {
            tree.refused << path;
            continue;
        }
        LocalFile file {path, f.readAll(), {}};
        file.hash = QCryptographicHash::hash(file.bytes, QCryptographicHash::Sha256).toHex();
        tree.files.push_back(std::move(file));
    }
}

// Readers must never meet a link to a page that has not arrived yet.
int sendOrder(const QString &path)
{
    if (path == u"index.html")
        return 2;
    const bool topPage = !path.contains(u'/') && path.endsWith(QStringLiteral(".html"));
    return topPage && !path.startsWith(u'z') ? 1 : 0;
}

} // namespace

LocalTree scanPages(const QString &htmlDir)
{
    LocalTree tree;
    const QString root = QFileInfo(htmlDir).canonicalFilePath();
    if (!root.isEmpty())
        scanFolder(root, root, QString(), tree);
    return tree;
}

qint64 UploadPlan::bytes() const
{
    qint64 total = 0;
    for (const LocalFile &f : send)
        total += f.bytes.size();
    return total;
}

UploadPlan planUpload(LocalTree tree, const UploadManifest::Files &sent, bool all)
{
    UploadPlan plan;
    plan.refused = tree.refused;
    QSet<QString> present;
    for (LocalFile &f : tree.files) {
        present.insert(f.path);
        if (!all && sent.value(f.path) == f.hash)
            ++plan.unchanged;
        else
            plan.send.push_back(std::move(f));
    }
    std::stable_sort(plan.send.begin(), plan.send.end(),
                     [](const LocalFile &a, const LocalFile &b) {
                         return sendOrder(a.path) < sendOrder(b.path);
                     });
    for (auto it = sent.begin(); it != sent.end(); ++it)
        if (!present.contains(it.key()))
            plan.remove << it.key();
    return plan;
}

QString UploadOutcome::summary(const UploadTarget &target) const
{
    QStringList lines;
    if (error)
        lines << (error->cancelled
                      ? QStringLiteral("アップロードを中止しました（%1）。").arg(target.place())
                      : error->message);
    // After a failure before anything arrived the message says it all.
    if (!error || sent + removed > 0)
        lines << QStringLiteral("%1 に %2 ファイル（%3 バイト）を送り、%4 ファイルを削除しました。"
                                "変更のないファイル %5。")
                     .arg(target.place())
                     .arg(sent)
                     .arg(bytes)
                     .arg(removed)
                     .arg(unchanged);
    if (error && sent + removed > 0)
        lines.last() += QStringLiteral("残りは次回のアップロードで送ります。");
    for (const QString &path : refused)
        lines << QStringLiteral("html/ の外を指すリンクや送れない名前のため送りませんでした: %1")
                     .arg(path);
    return lines.join(u'\n');
}

UploadOutcome runUpload(Contest &contest, const UploadTarget &target, const UploadPlan &plan,
                        UploadConnection &connection, UploadProgress *progress)
{
    UploadOutcome outcome;
    outcome.unchanged = plan.unchanged;
    outcome.refused = plan.refused;
    if (plan.isEmpty())
        return outcome;
    UploadManifest manifest = UploadManifest::load(contest);
    const QString address = target.address();
    UploadManifest::Files files = manifest.files(address);
    auto checkpoint = [&] {
        manifest.setFiles(address, files);
        manifest.save(contest);
    };
    if (progress)
        progress->begin(int(plan.send.size() + plan.remove.size()), plan.bytes());
    // A killed upload re-sends at most what arrived since the last save.
    QDeadlineTimer nextSave(2000);
    try {
        for (const LocalFile &f : plan.send) {
            if (progress && progress->cancelRequested())
                throw UploadError {QString(), true};
            // Until it is in place the server may hold neither version.
            if (files.contains(f.path))
                files[f.path] = QByteArray();
            connection.put(f.path, f.bytes);
            files[f.path] = f.hash;
            ++outcome.sent;
            outcome.bytes += f.bytes.size();
            if (progress)
                progress->fileDone(f.path, outcome.sent, outcome.bytes);
            if (nextSave.hasExpired()) {
                checkpoint();
                nextSave.setRemainingTime(2000);
            }
        }
        for (const QString &path : plan.remove) {
            if (progress && progress->cancelRequested())
                throw UploadError {QString(), true};
            connection.remove(path);
            files.remove(path);
            ++outcome.removed;
            if (progress)
                progress->fileDone(path, outcome.sent + outcome.removed, outcome.bytes);
        }
    } catch (const UploadError &e) {
        outcome.error = e;
    }
    checkpoint();
    return outcome;
}

QString uploadRefusal(const Contest &contest, const UploadTarget &target, const LocalTree &tree)
{
    const QString place = target.place();
    if (tree.files.empty())
        return QStringLiteral("html/ にページがありません。先に集計結果出力（HTML) を行って"
                              "ください。%1 には何も送らず、何も削除していません。")
            .arg(place);
    if (target.isFolder()) {
        const QString root = QFileInfo(contest.paths().root).canonicalFilePath();
        QString folder = QFileInfo(target.folder).canonicalFilePath();
        if (folder.isEmpty())
            folder = QDir::cleanPath(target.folder);
        if (folder == root || folder.startsWith(root + u'/'))
            return QStringLiteral("アップロード先のフォルダ %1 がコンテストフォルダの中にあります。"
                                  "別のフォルダを指定してください。")
                .arg(place);
    }
    return QString();
}

UploadOutcome uploadPages(Contest &contest, const UploadTarget &target, bool all,
                          PasswordSource password, UploadProgress *progress)
{
    const UploadManifest manifest = UploadManifest::load(contest);
    LocalTree tree = scanPages(contest.paths().html);
    UploadOutcome outcome;
    if (const QString why = uploadRefusal(contest, target, tree); !why.isEmpty()) {
        outcome.error = UploadError {why};
        return outcome;
    }
    const UploadPlan plan = planUpload(std::move(tree), manifest.files(target.address()), all);
    outcome.unchanged = plan.unchanged;
    outcome.refused = plan.refused;
    if (plan.isEmpty())
        return outcome;
    try {
        const auto connection
            = connectTo(target, std::move(password), contest.prompter(), progress);
        return runUpload(contest, target, plan, *connection, progress);
    } catch (const UploadError &e) {
        outcome.error = e;
        return outcome;
    }
}

QString knownHostsPath()
{
    const QString env = qEnvironmentVariable("KACHIKOSHI_KNOWN_HOSTS");
    return env.isEmpty() ? QDir::homePath() + QStringLiteral("/.ssh/known_hosts") : env;
}

} // namespace kc
