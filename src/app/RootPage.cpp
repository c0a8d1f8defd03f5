#include "app/RootPage.h"

#include "core/PomodoroEngine.h"
#include "model/AppModel.h"

namespace RootPage {

Kind of(RootTab tab, bool preparing, bool hasMode, bool sweeping)
{
    switch (tab) {
    case RootTab::pomodoro:
        if (preparing)
            return Kind::preparation;
        return hasMode ? Kind::running : Kind::modeSelection;
    case RootTab::day:
        return Kind::day;
    case RootTab::tasks:
        return sweeping ? Kind::sweep : Kind::tasks;
    case RootTab::daily:
        return Kind::daily;
    }
    return Kind::modeSelection;
}

Kind of(const AppModel &model)
{
    return of(model.tab(), model.preparing().has_value(), model.engine().mode().has_value(),
              model.sweeping().has_value());
}

QString objectName(Kind kind)
{
    switch (kind) {
    case Kind::preparation:
        return QStringLiteral("page.preparation");
    case Kind::modeSelection:
        return QStringLiteral("page.modeSelection");
    case Kind::running:
        return QStringLiteral("page.timer");
    case Kind::day:
        return QStringLiteral("page.day");
    case Kind::tasks:
        return QStringLiteral("page.tasks");
    case Kind::sweep:
        return QStringLiteral("page.sweep");
    case Kind::daily:
        return QStringLiteral("page.daily");
    }
    return {};
}

bool showsIntro(bool hasSeenIntro, bool snapshot)
{
    return !hasSeenIntro && !snapshot;
}

} // namespace RootPage
