#include "sync/Keychain.h"

#include "platform/files/AppPaths.h"
#include "platform/files/DataFile.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct Contents
{
    QJsonObject object;
    bool damaged = false; // the file exists but could not be read as an object of strings
};

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

std::optional<QString> get(const QString &key)
{
    const QJsonValue value = readContents().object.value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

void set(const std::optional<QString> &value, const QString &key)
{
    Contents contents = readContents();
    if (contents.damaged && DataFile::setAside(filePath()).isEmpty())
        return; // never write over a file we could not read
    if (value)
        contents.object.insert(key, *value);
    else
        contents.object.remove(key);
    DataFile::writeAtomically(filePath(), QJsonDocument(contents.object).toJson(QJsonDocument::Compact),
                              /*secret=*/true);
}

} // namespace Keychain
