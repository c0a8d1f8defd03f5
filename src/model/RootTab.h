#pragma once

#include <QString>
#include <optional>

// The pages of the main window. Stored ("startTab") as the case name.
enum class RootTab { pomodoro, day, tasks, daily };

QString rawValue(RootTab tab);
std::optional<RootTab> rootTabFromRaw(const QString &raw);
