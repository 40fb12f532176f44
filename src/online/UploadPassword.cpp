#include "online/UploadPassword.h"

#include <QEventLoop>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace kc::uploadPassword {

namespace {

const QString Service = QStringLiteral("Kachikoshi Cup upload");

// Runs a keyring job to its end; a keyring that does not answer in 15 s is
// taken as none.
bool finish(QKeychain::Job &job, QString *why)
{
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    if (job.error() == QKeychain::NoError)
        return true;
    if (why)
        *why = job.error() == QKeychain::EntryNotFound
            ? QStringLiteral("キーリングにパスワードがありません")
            : QStringLiteral("キーリングを使えません（%1）").arg(job.errorString());
    return false;
}

bool disabled(QString *why)
{
    // Tests and headless jobs: no desktop session to ask.
    if (qEnvironmentVariableIsSet("KACHIKOSHI_NO_KEYRING")) {
        if (why)
            *why = QStringLiteral("キーリングを使わない設定です（KACHIKOSHI_NO_KEYRING）");
        return true;
    }
    return false;
}

} // namespace

std::optional<QString> fromKeyring(const QString &address, QString *why)
{
    if (disabled(why))
        return std::nullopt;
    QKeychain::ReadPasswordJob job(Service);
    job.setKey(address);
    if (!finish(job, why))
        return std::nullopt;
    return job.textData();
}

bool saveToKeyring(const QString &address, const QString &password, QString &why)
{
    if (disabled(&why))
        return false;
    QKeychain::WritePasswordJob job(Service);
    job.setKey(address);
    job.setTextData(password);
    return finish(job, &why);
}

void removeFromKeyring(const QString &address)
{
    if (disabled(nullptr))
        return;
    QKeychain::DeletePasswordJob job(Service);
    job.setKey(address);
    finish(job, nullptr);
}

std::optional<QString> fromEnvironment()
{
    if (!qEnvironmentVariableIsSet(EnvironmentVariable))
        return std::nullopt;
    return qEnvironmentVariable(EnvironmentVariable);
}

} // namespace kc::uploadPassword
