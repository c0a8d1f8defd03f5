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
// whole new order to `move`; every other drop is refused. While disabled
// the row is left exactly as it is.
class Reorderable : public QObject
{
    Q_OBJECT
public:
    using Move = std::function<void(const QList<TaskRef> &order)>;

    explicit Reorderable(QWidget *row);

    void set(bool enabled, const TodoItem &item, const QList<TodoItem> &items, Move move);
    bool isEnabled() const { return m_enabled; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startDrag();

    QWidget *m_row;
    bool m_enabled = false;
    TodoItem m_item;
    QList<TodoItem> m_items;
    Move m_move;
    QPoint m_pressAt;
    bool m_pressed = false;
};
