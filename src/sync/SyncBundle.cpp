#include "sync/SyncBundle.h"

#include "core/KivJSON.h"

#include <QHostInfo>
#include <QSysInfo>
#include <cmath>

namespace {
const QString kVersion = QStringLiteral("version");
const QString kDevice = QStringLiteral("device");
const QString kSavedAt = QStringLiteral("savedAt");
const QString kRecords = QStringLiteral("records");
const QString kTasks = QStringLiteral("tasks");
const QString kDays = QStringLiteral("days");
const QString kSettings = QStringLiteral("settings");
} // namespace

QJsonObject SyncBundle::toJson() const
{
    QJsonObject o{
        {kVersion, version},
        {kDevice, device},
        {kSavedAt, KivJSON::dateString(savedAt)},
        {kRecords, KivJSON::encodeList(records)},
        {kTasks, KivJSON::encodeList(tasks)},
        {kDays, KivJSON::encodeList(days)},
    };
    if (settings)
        o.insert(kSettings, settings->toJson());
    return o;
}

SyncBundle SyncBundle::fromJson(const QJsonObject &json)
{
    using namespace KivJSON;
    SyncBundle b;
    b.version = optInt(json, kVersion).value_or(currentVersion);
    b.device = requireString(json, kDevice);
    b.savedAt = requireDate(json, kSavedAt);
    b.records = decodeList<SessionRecord>(requireArray(json, kRecords), &SessionRecord::fromJson);
    b.tasks = decodeList<LocalTask>(requireArray(json, kTasks), &LocalTask::fromJson);
    if (auto days = optArray(json, kDays))
        b.days = decodeList<DayNote>(*days, &DayNote::fromJson);
    if (auto settings = optObject(json, kSettings))
        b.settings = SharedSettings::fromJson(*settings);
    return b;
}

std::optional<QByteArray> SyncBundle::encode(QString *error) const
{
    // JSON has no form for an infinite or undefined number; writing one as
    // null would quietly turn it into "absent" on every other device.
    auto refuse = [error](const QString &what) -> std::optional<QByteArray> {
        if (error)
            *error = QStringLiteral("JSON で書けない数があります（%1）").arg(what);
        return std::nullopt;
    };
    for (const LocalTask &task : tasks)
        if (task.order && !std::isfinite(*task.order))
            return refuse(QStringLiteral("order"));
    if (settings && !std::isfinite(settings->ambienceVolume))
        return refuse(QStringLiteral("ambienceVolume"));
    return KivJSON::encode(toJson());
}

SyncBundle SyncBundle::decode(const QByteArray &bytes)
{
    const QJsonDocument doc = KivJSON::parse(bytes);
    if (!doc.isObject())
        throw KivJSON::DecodeError{QStringLiteral("控えの形がオブジェクトではありません")};
    return fromJson(doc.object());
}

std::optional<double> SyncBundle::declaredVersion(const QJsonObject &json)
{
    const QJsonValue v = json.value(kVersion);
    if (v.isUndefined() || v.isNull())
        return double(currentVersion);
    if (!v.isDouble())
        return std::nullopt;
    return v.toDouble();
}

QString SyncBundle::deviceName()
{
    QString name = QHostInfo::localHostName().trimmed();
    if (name.isEmpty())
        name = QSysInfo::machineHostName().trimmed();
    return name.isEmpty() ? QStringLiteral("この端末") : name;
}
