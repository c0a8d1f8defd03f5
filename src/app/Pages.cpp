#include "app/Pages.h"

#include "app/AmbiencePicker.h"
#include "views/daily/DailyView.h"
#include "views/daily/SweepView.h"
#include "views/day/DayView.h"
#include "views/reading/GlossaryView.h"
#include "views/reading/HistoryView.h"
#include "views/reading/TodaySanshinLine.h"
#include "views/tasks/TodoListView.h"
#include "views/timer/ModeSelectionView.h"
#include "views/timer/PreparationView.h"
#include "views/timer/TimerView.h"

namespace Pages {

QWidget *preparation(const ViewContext &context, QWidget *parent)
{
    return new PreparationView(context, parent);
}

QWidget *modeSelection(const ViewContext &context, QWidget *parent)
{
    return new ModeSelectionView(context, parent);
}

QWidget *timer(const ViewContext &context, QWidget *parent)
{
    auto *view = new TimerView(context, parent);
    view->setAmbiencePicker(new AmbiencePicker(context));
    return view;
}

QWidget *day(const ViewContext &context, const WindowActions &actions, QWidget *parent)
{
    auto *day = new DayView(context, parent);
    QObject::connect(day, &DayView::calendarSettingsRequested, day, [actions] { actions.settings(); });
    return day;
}

QWidget *tasks(const ViewContext &context, const WindowActions &actions, QWidget *parent)
{
    auto *list = new TodoListView(context, parent);
    QObject::connect(list, &TodoListView::settingsRequested, list, [actions] { actions.settings(); });
    return list;
}

QWidget *sweep(const ViewContext &context, QWidget *parent)
{
    return new SweepView(context, parent);
}

QWidget *daily(const ViewContext &context, QWidget *parent)
{
    return new DailyView(context, parent);
}

QWidget *history(const ViewContext &context, QWidget *parent)
{
    return new HistoryView(context, parent);
}

QWidget *glossary(const ViewContext &context, QWidget *parent)
{
    return new GlossaryView(context, parent);
}

QWidget *sanshinLine(const ViewContext &context, Isshin mind, QWidget *parent)
{
    auto *line = new TodaySanshinLine(context, parent);
    line->setIsshin(mind);
    return line;
}

} // namespace Pages
