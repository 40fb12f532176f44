#include "store/Paths.h"

#include <QStandardPaths>

namespace kc {

QString defaultContestDir()
{
    const QString env = qEnvironmentVariable("KACHIKOSHI_DIR");
    if (!env.isEmpty())
        return env;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace kc
