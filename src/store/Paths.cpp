#include "store/Paths.h"

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

QString noContestDirMessage()
{
    return QStringLiteral("ホームフォルダ（HOME）が設定されていないため、コンテストフォルダが"
                          "決まりません。--dir DIR か環境変数 KACHIKOSHI_DIR で指定してください。");
}

} // namespace kc
