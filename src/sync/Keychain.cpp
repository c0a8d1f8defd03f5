#include "sync/Keychain.h"

#include "platform/files/AppPaths.h"
#include "platform/files/DataFile.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {

struct Contents
{
    QJsonObject object;
    bool damaged = false; // the file exists but could not be read as an object of strings
};

// Secrets whose last save failed, by file path (the data folder may change
// in tests); used only from the main thread.
QHash<QString, QJsonObject> &unsaved()
{
    static QHash<QString, QJsonObject> table;
    return table;
}

// Clears what saves killed mid-write left, once per file and run, at its
// first reading (the sign-in reads it at start-up).
void sweepLeftovers(const QString &path)
{
    static QSet<QString> swept;
    if (!swept.contains(path)) {
        swept.insert(path);
        DataFile::removeLeftovers(path);
    }
}

Contents readContents()
{
    const DataFile::ReadResult file = DataFile::read(Keychain::filePath());
    if (file.status == DataFile::ReadStatus::Missing)
        return {};
    if (file.status == DataFile::ReadStatus::Unreadable)
        return {{}, true};
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return {{}, true};
    const QJsonObject object = doc.object();
    for (auto it = object.begin(); it != object.end(); ++it)
        if (!it.value().isString())
            return {{}, true};
    return {object, false};
}

} // namespace

namespace Keychain {

QString filePath()
{
    return AppPaths::dataDir() + QStringLiteral("/secrets.json");
}

KeychainNotifier &notifier()
{
    static KeychainNotifier instance;
    return instance;
}

std::optional<QString> get(const QString &key)
{
    sweepLeftovers(filePath());
    const auto held = unsaved().constFind(filePath());
    const QJsonValue value = held != unsaved().cend() ? held->value(key) : readContents().object.value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

bool set(const std::optional<QString> &value, const QString &key)
{
    const QString path = filePath();
    sweepLeftovers(path);
    const Contents contents = readContents();
    QJsonObject object = unsaved().value(path, contents.object);
    if (value)
        object.insert(key, *value);
    else
        object.remove(key);

    QString error;
    bool saved = false;
    if (contents.damaged && DataFile::setAside(path).isEmpty())
        error = QStringLiteral("the unreadable file could not be moved aside"); // never write over it
    else
        saved = DataFile::writeAtomically(path, QJsonDocument(object).toJson(QJsonDocument::Compact),
                                          /*secret=*/true, &error);
    if (saved) {
        unsaved().remove(path);
    } else {
        unsaved().insert(path, object);
        emit notifier().saveFailed(error);
    }
    return saved;
}

} // namespace Keychain
