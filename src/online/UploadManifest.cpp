#include "online/UploadManifest.h"

#include "store/Contest.h"
#include "store/StoreError.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace kc {

QString uploadManifestPath(const Contest &contest)
{
    return contest.paths().data + QStringLiteral("/Upload.Manifest");
}

UploadManifest UploadManifest::load(const Contest &contest)
{
    const QString path = uploadManifestPath(contest);
    UploadManifest m;
    const auto bytes = contest.files().read(path);
    if (!bytes)
        return m;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(*bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        throw StoreError(
            badDataMessage(path,
                           QStringLiteral("アップロードの記録が読み取れません。削除すると"
                                          "次回はすべてのファイルを送ります")),
            path);
    const QJsonObject targets = doc.object();
    for (auto t = targets.begin(); t != targets.end(); ++t) {
        Files files;
        const QJsonObject o = t.value().toObject();
        for (auto f = o.begin(); f != o.end(); ++f)
            files.insert(f.key(), f.value().toString().toLatin1());
        m.m_targets.insert(t.key(), files);
    }
    return m;
}

void UploadManifest::save(Contest &contest) const
{
    QJsonObject targets;
    for (auto t = m_targets.begin(); t != m_targets.end(); ++t) {
        QJsonObject o;
        for (auto f = t.value().begin(); f != t.value().end(); ++f)
            o.insert(f.key(), QString::fromLatin1(f.value()));
        targets.insert(t.key(), o);
    }
    contest.files().write(uploadManifestPath(contest), QJsonDocument(targets).toJson());
}

} // namespace kc
