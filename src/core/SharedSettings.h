#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>

// The settings that travel between the user's machines, with the time of
// their last local change. The scene, bell, task mode and picture travel as
// plain texts, so a snapshot naming cases this build does not know still
// decodes; applying it deals with them.
struct SharedSettings
{
    QDateTime updatedAt;
    int focusMinutes = 25;
    int shortBreakMinutes = 5;
    int longBreakMinutes = 15;
    int choreMinutes = 10;
    int sessionsUntilLongBreak = 4;
    bool autoStartBreak = true;
    bool autoStartFocus = false;
    bool prepares = true;
    bool soundEnabled = true;
    QString ambienceScene;
    double ambienceVolume = 0.35;
    QString bell;
    bool dayPrompts = false;
    int morningHour = 8;
    int eveningHour = 21;
    bool planNotices = true;
    bool recordBreaks = false;
    bool calendarShowsTitle = true;
    QString externalTaskMode;
    bool writeBackToExternal = true;
    QString focusVisual;
    std::optional<bool> recordsToCalendar;
    std::optional<QString> planCalendarName;
    std::optional<QString> recordCalendarName;
    std::optional<QStringList> visibleCalendarNames;

    bool operator==(const SharedSettings &) const = default;

    // Absent optional fields are left out, never written as null.
    QJsonObject toJson() const;
    // Throws KivJSON::DecodeError for a missing required key or a wrong type;
    // unknown keys are ignored.
    static SharedSettings fromJson(const QJsonObject &json);

    // The newer of two snapshots; a tie goes to the first.
    static std::optional<SharedSettings> pick(const std::optional<SharedSettings> &a,
                                              const std::optional<SharedSettings> &b);
};
