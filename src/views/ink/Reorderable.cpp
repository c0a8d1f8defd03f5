#include "views/ink/Reorderable.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <QWidget>

Reorderable::Reorderable(QWidget *row)
    : QObject(row)
    , m_row(row)
{
    row->installEventFilter(this);
}

void Reorderable::set(bool enabled, const TodoItem &item, const QList<TodoItem> &items, Move move)
{
    m_enabled = enabled;
    m_item = item;
    m_items = items;
    m_move = std::move(move);
    m_row->setAcceptDrops(enabled);
}

void Reorderable::startDrag()
{
    auto *drag = new QDrag(m_row);
    drag->setMimeData(Reorder::mimeData(m_item.ref));
    // The row itself is the drag image.
    drag->setPixmap(m_row->grab());
    drag->setHotSpot(m_pressAt);
    drag->exec(Qt::MoveAction);
}

bool Reorderable::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_row || !m_enabled)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *e = static_cast<QMouseEvent *>(event);
        m_pressed = e->button() == Qt::LeftButton;
        m_pressAt = e->position().toPoint();
        return false;
    }
    case QEvent::MouseMove: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (m_pressed && (e->buttons() & Qt::LeftButton)
            && (e->position().toPoint() - m_pressAt).manhattanLength() >= QApplication::startDragDistance()) {
            m_pressed = false;
            startDrag();
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonRelease:
        m_pressed = false;
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *e = static_cast<QDropEvent *>(event);
        if (Reorder::draggedRef(e->mimeData()))
            e->acceptProposedAction();
        else
            e->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto *e = static_cast<QDropEvent *>(event);
        const auto dragged = Reorder::draggedRef(e->mimeData());
        const auto order = dragged ? Reorder::moved(m_items, *dragged, m_item.ref) : std::nullopt;
        if (!order) {
            e->ignore();
            return true;
        }
        e->acceptProposedAction();
        if (m_move)
            m_move(*order);
        return true;
    }
    default:
        return false;
    }
}
