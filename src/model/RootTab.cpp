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

QList<RootTab> allRootTabs()
{
    return {RootTab::pomodoro, RootTab::day, RootTab::tasks, RootTab::daily};
}

QString titleKey(RootTab tab)
{
    switch (tab) {
    case RootTab::pomodoro:
        return QStringLiteral("只管");
    case RootTab::day:
        return QStringLiteral("一日");
    case RootTab::tasks:
        return QStringLiteral("作務");
    case RootTab::daily:
        return QStringLiteral("行持");
    }
    return {};
}

QString hintKey(RootTab tab)
{
    switch (tab) {
    case RootTab::pomodoro:
        return QStringLiteral("しかん ・ ただ、これひとつ");
    case RootTab::day:
        return QStringLiteral("いちじつ ・ 朝に願い、暮れに省みる");
    case RootTab::tasks:
        return QStringLiteral("さむ ・ 日々の手仕事。なすべきこと");
    case RootTab::daily:
        return QStringLiteral("ぎょうじ ・ 日々くり返すことが、そのまま道");
    }
    return {};
}
