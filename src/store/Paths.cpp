#include "store/Paths.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace kc {

QString defaultContestDir()
{
    const QString env = qEnvironmentVariable("KACHIKOSHI_DIR");
    if (!env.isEmpty())
        return env;
    // Without a home folder the per-user folder would land under the root.
    if (qEnvironmentVariableIsEmpty("HOME"))
        return QString();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString shownFolder(const QString &path)
{
    static const QString prefix = QStringLiteral("/proc/self/fd/");
    if (!path.startsWith(prefix))
        return QDir::toNativeSeparators(path);
    const qsizetype end = path.indexOf(u'/', prefix.size());
    const QString rest = end < 0 ? QString() : path.mid(end);
    return QDir::toNativeSeparators(QFileInfo(path.left(end)).symLinkTarget() + rest);
}

QString noContestDirMessage()
{
    return QStringLiteral("ホームフォルダ（HOME）が設定されていないため、コンテストフォルダが"
                          "決まりません。--dir DIR か環境変数 KACHIKOSHI_DIR で指定してください。");
}

} // namespace kc
