#include "sync/SyncBundle.h"

#include "core/JsonWriter.h"
#include "core/KivJSON.h"
#include "core/L.h"

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
    // Written member by member in sorted key order, the records straight from
    // their fields: the same text as KivJSON::encode(toJson()), much faster
    // for a long history.
    QByteArray out;
    JsonWriter w(out);
    auto list = [&w](const auto &items) { KivJSON::writeItems(w, items, 1); };
    w.beginObject();
    w.key("days", 1);
    list(days);
    w.key("device", 1);
    w.string(device);
    w.key("records", 1);
    list(records);
    w.key("savedAt", 1);
    w.string(KivJSON::dateString(savedAt));
    if (settings) {
        w.key("settings", 1);
        w.object(settings->toJson(), 1);
    }
    w.key("tasks", 1);
    list(tasks);
    w.key("version", 1);
    w.integer(version);
    w.endObject(0);
    out.append('\n');
    return out;
}

namespace {
bool isList(const QString &key)
{
    return key == kRecords || key == kTasks || key == kDays;
}

// The document split at its top level: the members other than the three long
// lists, parsed, with each list that is there left as an empty array, and the
// byte ranges of the lists. Nothing when the quick scan cannot split it.
struct Split
{
    QJsonObject top;
    QList<KivJSON::Member> lists;
};

std::optional<Split> split(const QByteArray &bytes)
{
    const auto members = KivJSON::objectMembers(bytes);
    if (!members)
        return std::nullopt;
    Split out;
    QByteArray rest("{");
    for (const KivJSON::Member &m : *members) {
        if (isList(m.key) && bytes.at(m.from) == '[') {
            out.lists.append(m);
            continue;
        }
        if (rest.size() > 1)
            rest.append(',');
        rest.append('"').append(m.key.toUtf8()).append("\":").append(bytes.constData() + m.from, m.to - m.from);
    }
    rest.append('}');
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(rest, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    out.top = doc.object();
    for (const KivJSON::Member &m : out.lists)
        out.top.insert(m.key, QJsonArray());
    return out;
}

// The bundle read list by list, the long lists on a few threads; nothing on
// any doubt, so that the plain reading below gives the failure.
std::optional<SyncBundle> decodeQuickly(const QByteArray &bytes)
{
    const auto parts = split(bytes);
    if (!parts || parts->lists.isEmpty())
        return std::nullopt;
    try {
        SyncBundle b = SyncBundle::fromJson(parts->top);
        for (const KivJSON::Member &m : parts->lists) {
            const QByteArray list = QByteArray::fromRawData(bytes.constData() + m.from, m.to - m.from);
            if (m.key == kRecords)
                b.records = KivJSON::decodeArray<SessionRecord>(list, &SessionRecord::fromJson);
            else if (m.key == kTasks)
                b.tasks = KivJSON::decodeArray<LocalTask>(list, &LocalTask::fromJson);
            else
                b.days = KivJSON::decodeArray<DayNote>(list, &DayNote::fromJson);
        }
        return b;
    } catch (const KivJSON::DecodeError &) {
        return std::nullopt;
    }
}
} // namespace

std::optional<QJsonObject> SyncBundle::topLevel(const QByteArray &bytes)
{
    if (auto parts = split(bytes))
        return parts->top;
    try {
        const QJsonDocument doc = KivJSON::parse(bytes);
        if (doc.isObject())
            return doc.object();
    } catch (const KivJSON::DecodeError &) {
    }
    return std::nullopt;
}

SyncBundle SyncBundle::decode(const QByteArray &bytes)
{
    if (auto quick = decodeQuickly(bytes))
        return *quick;
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

bool SyncBundle::isNewerFormat(const QJsonObject &json)
{
    const std::optional<double> version = declaredVersion(json);
    return version && *version >= 2;
}

QString SyncBundle::newerFormatRefusal()
{
    return L("向こうの控えが新しい形式です。アプリを更新してください。");
}

QString SyncBundle::deviceName()
{
    const QString name = QSysInfo::machineHostName().trimmed();
    return name.isEmpty() ? QStringLiteral("この端末") : name;
}
