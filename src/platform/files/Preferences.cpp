#include "platform/files/Preferences.h"

#include "platform/files/AppPaths.h"
#include "platform/files/DataFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <memory>

namespace {
std::unique_ptr<Preferences> g_standard;
}

Preferences::Preferences(const QString &name, QObject *parent)
    : QObject(parent)
    , m_path(AppPaths::configDir() + QStringLiteral("/") + name + QStringLiteral(".json"))
{
    load();
}

Preferences &Preferences::standard()
{
    if (!g_standard)
        g_standard = std::make_unique<Preferences>();
    return *g_standard;
}

void Preferences::resetStandard()
{
    g_standard.reset();
}

bool Preferences::fileExists() const
{
    return QFile::exists(m_path);
}

void Preferences::load()
{
    // A save killed mid-write may have left its temporary file behind.
    DataFile::removeLeftovers(m_path);
    const DataFile::ReadResult result = DataFile::read(m_path);
    if (result.status == DataFile::ReadStatus::Missing)
        return;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(result.bytes, &error);
    if (result.status == DataFile::ReadStatus::Ok && error.error == QJsonParseError::NoError && doc.isObject()) {
        m_values = doc.object();
        return;
    }
    // Never overwrite a file we could not read: keep it beside a fresh one.
    const QString kept = DataFile::setAside(m_path);
    m_keptAsideAs = kept;
    m_lastError = kept.isEmpty() ? QStringLiteral("preferences file unreadable: %1").arg(m_path)
                                 : QStringLiteral("preferences file unreadable, kept as %1").arg(kept);
    qWarning("%s", qPrintable(m_lastError));
}

void Preferences::save()
{
    QString error;
    const QByteArray bytes = QJsonDocument(m_values).toJson(QJsonDocument::Indented);
    if (DataFile::writeAtomically(m_path, bytes, false, &error)) {
        m_lastError.clear();
    } else {
        m_lastError = error;
        emit saveFailed(error);
    }
}

void Preferences::registerDefaults(const QJsonObject &defaults)
{
    for (auto it = defaults.begin(); it != defaults.end(); ++it)
        m_defaults.insert(it.key(), it.value());
}

QJsonValue Preferences::value(const QString &key) const
{
    auto it = m_values.constFind(key);
    if (it != m_values.constEnd())
        return *it;
    auto dit = m_defaults.constFind(key);
    if (dit != m_defaults.constEnd())
        return *dit;
    return QJsonValue(QJsonValue::Undefined);
}

void Preferences::setValue(const QString &key, const QJsonValue &value)
{
    if (value.isUndefined() || value.isNull()) {
        remove(key);
        return;
    }
    auto it = m_values.constFind(key);
    if (it != m_values.constEnd() && *it == value)
        return;
    m_values.insert(key, value);
    save();
    emit changed(key);
}

void Preferences::remove(const QString &key)
{
    if (!m_values.contains(key))
        return;
    m_values.remove(key);
    save();
    emit changed(key);
}

std::optional<QString> Preferences::string(const QString &key) const
{
    const QJsonValue v = value(key);
    if (!v.isString())
        return std::nullopt;
    return v.toString();
}

std::optional<double> Preferences::number(const QString &key) const
{
    const QJsonValue v = value(key);
    if (!v.isDouble())
        return std::nullopt;
    return v.toDouble();
}

std::optional<bool> Preferences::boolean(const QString &key) const
{
    const QJsonValue v = value(key);
    if (!v.isBool())
        return std::nullopt;
    return v.toBool();
}

std::optional<QStringList> Preferences::stringList(const QString &key) const
{
    const QJsonValue v = value(key);
    if (!v.isArray())
        return std::nullopt;
    QStringList out;
    for (const QJsonValue &item : v.toArray()) {
        if (!item.isString())
            return std::nullopt;
        out << item.toString();
    }
    return out;
}
