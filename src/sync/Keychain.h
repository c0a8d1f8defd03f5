#pragma once

#include <QObject>
#include <QString>
#include <optional>

// Tells whoever shows the user what went wrong that a secret could not be
// saved (one shared instance, Keychain::notifier()).
class KeychainNotifier : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // error says why, in the words of the file system.
    void saveFailed(const QString &error);
};

// The few secret strings of the Google sign-in (the refresh token and the
// OAuth client), kept in "secrets.json" in the data folder: one compact JSON
// object of strings, readable by the user only (file 0600, folder 0700 from
// the first byte on). Read whole and rewritten whole on every change.
//
// A file that exists but cannot be read or is not an object of strings reads
// as empty; before anything is written over it, it is renamed aside
// ("secrets.json.unreadable-<stamp>") so that it is never lost. When it
// cannot be set aside, nothing is written.
//
// A change that could not be saved is not lost for this run: the secrets are
// then kept in memory, read from there, and written whole with the next
// change; the failure is told through notifier().
namespace Keychain {

// The stored value for the key, or nothing.
std::optional<QString> get(const QString &key);

// Stores value under key, or removes the key when value is empty
// (std::nullopt). Returns whether the file now holds the change.
bool set(const std::optional<QString> &value, const QString &key);

QString filePath();

KeychainNotifier &notifier();

} // namespace Keychain
