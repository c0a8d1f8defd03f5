#include "model/RootTab.h"

QString rawValue(RootTab tab)
{
    switch (tab) {
    case RootTab::pomodoro:
        return QStringLiteral("pomodoro");
    case RootTab::day:
        return QStringLiteral("day");
    case RootTab::tasks:
        return QStringLiteral("tasks");
    case RootTab::daily:
        return QStringLiteral("daily");
    }
    return {};
}

std::optional<RootTab> rootTabFromRaw(const QString &raw)
{
    for (RootTab tab : {RootTab::pomodoro, RootTab::day, RootTab::tasks, RootTab::daily})
        if (rawValue(tab) == raw)
            return tab;
    return std::nullopt;
}
