#pragma once

#include "core/TaskSource.h"
#include "stores/LocalTask.h"
#include "views/ink/ViewContext.h"

#include <QWidget>
#include <optional>

class PlaceDayChips;
class QMenu;

// The action panel of a practice card: its title, the begin button, the
// day chips that place it on days (when it is a local task), and the quiet
// buttons for its note and a new name, with the More menu that
// moves it between the groups, back to the task list, or deletes it.
class DailyCardPanel : public QWidget
{
    Q_OBJECT
public:
    DailyCardPanel(const ViewContext &context, const TodoItem &item, const std::optional<LocalTask> &task,
                   QWidget *parent = nullptr);

    // The More menu's items (move, back to the task list, delete).
    QMenu *moreMenu() const { return m_more; }
    // The day chips; none without a local task.
    PlaceDayChips *dayChips() const { return m_chips; }

signals:
    // Each closes the panel first; the card does the rest.
    void begin();
    void note();
    void rename();
    // The calendar chip (or the chip of several other days): the card
    // opens its month calendar.
    void calendar();

private:
    ViewContext m_context;
    TodoItem m_item;
    std::optional<LocalTask> m_task;
    PlaceDayChips *m_chips = nullptr;
    QMenu *m_more = nullptr;
};
