#pragma once

#include <QString>
#include <optional>

// The few secret strings of the Google sign-in (the refresh token and the
// OAuth client), kept in "secrets.json" in the data folder: one compact JSON
// object of strings, readable by the user only (file 0600, folder 0700 from
// the first byte on). Read whole and rewritten whole on every change; it
// holds nothing in memory.
//
// A file that exists but cannot be read or is not an object of strings reads
// as empty; before anything is written over it, it is renamed aside
// ("secrets.json.unreadable-<stamp>") so that it is never lost. When it
// cannot be set aside, nothing is written.
namespace Keychain {

// The stored value for the key, or nothing.
std::optional<QString> get(const QString &key);

// Stores value under key, or removes the key when value is empty
// (std::nullopt). Failures are not reported.
void set(const std::optional<QString> &value, const QString &key);

QString filePath();

} // namespace Keychain
