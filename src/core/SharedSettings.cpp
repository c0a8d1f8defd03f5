#include "core/SharedSettings.h"

#include "core/KivJSON.h"

#include <QJsonArray>
#include <algorithm>
#include <limits>

namespace {

int requireSmallInt(const QJsonObject &o, const QString &key)
{
    // Whole numbers beyond the range of int saturate; the setters clamp them.
    const qint64 v = KivJSON::requireInt(o, key);
    return int(std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::optional<QStringList> optStringList(const QJsonObject &o, const QString &key)
{
    const std::optional<QJsonArray> array = KivJSON::optArray(o, key);
    if (!array)
        return std::nullopt;
    QStringList out;
    for (const QJsonValue &item : *array) {
        if (!item.isString())
            throw KivJSON::DecodeError{QStringLiteral("「{0}」の型が違います（{1}）"), {key, QStringLiteral("string array")}};
        out << item.toString();
    }
    return out;
}

} // namespace

QJsonObject SharedSettings::toJson() const
{
    QJsonObject o{
        {QStringLiteral("updatedAt"), KivJSON::dateString(updatedAt)},
        {QStringLiteral("focusMinutes"), focusMinutes},
        {QStringLiteral("shortBreakMinutes"), shortBreakMinutes},
        {QStringLiteral("longBreakMinutes"), longBreakMinutes},
        {QStringLiteral("choreMinutes"), choreMinutes},
        {QStringLiteral("sessionsUntilLongBreak"), sessionsUntilLongBreak},
        {QStringLiteral("autoStartBreak"), autoStartBreak},
        {QStringLiteral("autoStartFocus"), autoStartFocus},
        {QStringLiteral("prepares"), prepares},
        {QStringLiteral("soundEnabled"), soundEnabled},
        {QStringLiteral("ambienceScene"), ambienceScene},
        {QStringLiteral("ambienceVolume"), ambienceVolume},
        {QStringLiteral("bell"), bell},
        {QStringLiteral("dayPrompts"), dayPrompts},
        {QStringLiteral("morningHour"), morningHour},
        {QStringLiteral("eveningHour"), eveningHour},
        {QStringLiteral("planNotices"), planNotices},
        {QStringLiteral("recordBreaks"), recordBreaks},
        {QStringLiteral("calendarShowsTitle"), calendarShowsTitle},
        {QStringLiteral("externalTaskMode"), externalTaskMode},
        {QStringLiteral("writeBackToExternal"), writeBackToExternal},
        {QStringLiteral("focusVisual"), focusVisual},
    };
    KivJSON::putOptional(o, QStringLiteral("recordsToCalendar"), recordsToCalendar);
    KivJSON::putOptional(o, QStringLiteral("planCalendarName"), planCalendarName);
    KivJSON::putOptional(o, QStringLiteral("recordCalendarName"), recordCalendarName);
    KivJSON::putOptional(o, QStringLiteral("visibleCalendarNames"), visibleCalendarNames,
                         [](const QStringList &names) { return QJsonArray::fromStringList(names); });
    return o;
}

SharedSettings SharedSettings::fromJson(const QJsonObject &json)
{
    using namespace KivJSON;
    SharedSettings s;
    s.updatedAt = requireDate(json, QStringLiteral("updatedAt"));
    s.focusMinutes = requireSmallInt(json, QStringLiteral("focusMinutes"));
    s.shortBreakMinutes = requireSmallInt(json, QStringLiteral("shortBreakMinutes"));
    s.longBreakMinutes = requireSmallInt(json, QStringLiteral("longBreakMinutes"));
    s.choreMinutes = requireSmallInt(json, QStringLiteral("choreMinutes"));
    s.sessionsUntilLongBreak = requireSmallInt(json, QStringLiteral("sessionsUntilLongBreak"));
    s.autoStartBreak = requireBool(json, QStringLiteral("autoStartBreak"));
    s.autoStartFocus = requireBool(json, QStringLiteral("autoStartFocus"));
    s.prepares = requireBool(json, QStringLiteral("prepares"));
    s.soundEnabled = requireBool(json, QStringLiteral("soundEnabled"));
    s.ambienceScene = requireString(json, QStringLiteral("ambienceScene"));
    s.ambienceVolume = requireNumber(json, QStringLiteral("ambienceVolume"));
    s.bell = requireString(json, QStringLiteral("bell"));
    s.dayPrompts = requireBool(json, QStringLiteral("dayPrompts"));
    s.morningHour = requireSmallInt(json, QStringLiteral("morningHour"));
    s.eveningHour = requireSmallInt(json, QStringLiteral("eveningHour"));
    s.planNotices = requireBool(json, QStringLiteral("planNotices"));
    s.recordBreaks = requireBool(json, QStringLiteral("recordBreaks"));
    s.calendarShowsTitle = requireBool(json, QStringLiteral("calendarShowsTitle"));
    s.externalTaskMode = requireString(json, QStringLiteral("externalTaskMode"));
    s.writeBackToExternal = requireBool(json, QStringLiteral("writeBackToExternal"));
    s.focusVisual = requireString(json, QStringLiteral("focusVisual"));
    s.recordsToCalendar = optBool(json, QStringLiteral("recordsToCalendar"));
    s.planCalendarName = optString(json, QStringLiteral("planCalendarName"));
    s.recordCalendarName = optString(json, QStringLiteral("recordCalendarName"));
    s.visibleCalendarNames = optStringList(json, QStringLiteral("visibleCalendarNames"));
    return s;
}

std::optional<SharedSettings> SharedSettings::pick(const std::optional<SharedSettings> &a,
                                                   const std::optional<SharedSettings> &b)
{
    if (!a)
        return b;
    if (!b)
        return a;
    return a->updatedAt >= b->updatedAt ? a : b;
}
