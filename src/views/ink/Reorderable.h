#pragma once

#include "views/ink/Reorder.h"

#include <QObject>
#include <QPoint>
#include <functional>

class QWidget;

// Makes a task row draggable onto the other rows of its list, and a place
// to drop them. Attach one to the row (it lives as the row's child) and
// call set() from the row's refresh with the row's task and its list's
// tasks in their current order. A drop that changes the order hands the
// whole new order to the target row's `move` (after a drag within the
// window, on the next turn of the event loop, as the list may rebuild its
// rows while the release is still being delivered); every other drop is
// refused.
// While disabled the row is left exactly as it is.
//
// The drag starts from anywhere on the row, its buttons and labels too,
// once a press moves past the desktop's drag distance; a press that does
// not move that far is still the click it was. A text field on the row
// keeps its presses for selecting text. The row's picture follows the
// pointer inside the window; Escape, or the window losing the focus,
// cancels. The program's own drag payload dropped from elsewhere
// (Reorder::mimeData) is taken as well.
class Reorderable : public QObject
{
    Q_OBJECT
public:
    using Move = std::function<void(const QList<TaskRef> &order)>;

    explicit Reorderable(QWidget *row);

    void set(bool enabled, const TodoItem &item, const QList<TodoItem> &items, Move move);
    bool isEnabled() const { return m_enabled; }

    // The enabled reorderable row that holds this widget, if any.
    static Reorderable *of(QWidget *widget);
    // Whether a drag of a row is under way.
    static bool isDragging();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class Drag;
    friend class Drag;

    // The new order when `dragged` is dropped on this row, or none.
    std::optional<QList<TaskRef>> dropped(const TaskRef &dragged) const;
    void takeDrop(const QList<TaskRef> &order);

    QWidget *m_row;
    bool m_enabled = false;
    TodoItem m_item;
    QList<TodoItem> m_items;
    Move m_move;
};
