#pragma once

#include <QString>
#include <optional>

namespace kc {

// The upload password in the desktop's keyring, filed under the target's
// address. Nothing here ever writes it to a file: without a keyring the
// front ends ask for it each session.
namespace uploadPassword {

// The environment variable scripts give the password in.
inline constexpr char EnvironmentVariable[] = "KACHIKOSHI_UPLOAD_PASSWORD";

// nullopt when there is none, or no keyring (then `why` says so).
std::optional<QString> fromKeyring(const QString &address, QString *why = nullptr);
// false with the reason when no keyring could keep it.
bool saveToKeyring(const QString &address, const QString &password, QString &why);
void removeFromKeyring(const QString &address);
// The environment's password, if set.
std::optional<QString> fromEnvironment();

} // namespace uploadPassword
} // namespace kc
