#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace kc {

class Contest;

// What was last uploaded to each target: the content hash of every file, by
// its path below html/. Kept in Data/Upload.Manifest, replaced atomically; it
// only ever names files that arrived whole and in place.
class UploadManifest
{
public:
    using Files = QMap<QString, QByteArray>; // relative path -> SHA-256 (hex)

    // Throws StoreError naming the file when it is damaged.
    static UploadManifest load(const Contest &contest);
    void save(Contest &contest) const;

    Files files(const QString &address) const { return m_targets.value(address); }
    void setFiles(const QString &address, const Files &files) { m_targets[address] = files; }

private:
    QMap<QString, Files> m_targets;
};

QString uploadManifestPath(const Contest &contest);

} // namespace kc
