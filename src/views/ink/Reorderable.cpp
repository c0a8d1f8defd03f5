#include "views/ink/Reorderable.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

namespace {

// The picture of the dragged row, following the pointer over its window.
class Ghost : public QWidget
{
public:
    Ghost(QWidget *window, const QPixmap &picture)
        : QWidget(window)
        , m_picture(picture)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        resize(picture.deviceIndependentSize().toSize());
        raise();
        show();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setOpacity(0.95);
        painter.drawPixmap(0, 0, m_picture);
    }

private:
    QPixmap m_picture;
};

bool takesTextPresses(const QWidget *widget)
{
    for (const QWidget *w = widget; w && !w->isWindow(); w = w->parentWidget())
        if (qobject_cast<const QLineEdit *>(w) || qobject_cast<const QTextEdit *>(w)
            || qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w))
            return true;
    return false;
}

} // namespace

// The one drag of the program: it watches the application's mouse from a
// press on a reorderable row to the release.
class Reorderable::Drag : public QObject
{
public:
    static Drag &instance()
    {
        static Drag *drag = [] {
            auto *d = new Drag(qApp);
            qApp->installEventFilter(d);
            return d;
        }();
        return *drag;
    }

    bool dragging() const { return m_ghost != nullptr; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            return press(watched, static_cast<QMouseEvent *>(event));
        case QEvent::MouseMove:
            return move(static_cast<QMouseEvent *>(event));
        case QEvent::MouseButtonRelease:
            return release(static_cast<QMouseEvent *>(event));
        case QEvent::KeyPress:
            if (dragging() && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
                cancel();
                return true;
            }
            return dragging();
        case QEvent::ApplicationStateChange:
        case QEvent::WindowDeactivate:
            if (dragging() || m_source)
                cancel();
            return false;
        default:
            return false;
        }
    }

private:
    using QObject::QObject;

    bool press(QObject *watched, QMouseEvent *e)
    {
        // A press passed on from a child to its parent is the same press.
        if (m_source && e->globalPosition().toPoint() == m_pressAt)
            return false;
        cancel();
        auto *widget = qobject_cast<QWidget *>(watched);
        if (e->button() != Qt::LeftButton || !widget || takesTextPresses(widget))
            return false;
        Reorderable *source = Reorderable::of(widget);
        if (!source)
            return false;
        m_source = source;
        m_pressed = widget;
        m_pressAt = e->globalPosition().toPoint();
        m_hotSpot = source->m_row->mapFromGlobal(m_pressAt);
        return false;
    }

    bool move(QMouseEvent *e)
    {
        if (!m_source)
            return false;
        if (!(e->buttons() & Qt::LeftButton)) {
            cancel();
            return false;
        }
        const QPoint at = e->globalPosition().toPoint();
        if (!dragging()) {
            if ((at - m_pressAt).manhattanLength() < QApplication::startDragDistance())
                return false;
            begin();
        }
        follow(at);
        return true;
    }

    bool release(QMouseEvent *e)
    {
        if (!dragging()) {
            m_source = nullptr;
            return false;
        }
        const QPoint at = e->globalPosition().toPoint();
        QPointer<Reorderable> source = m_source;
        QWidget *window = m_ghost->parentWidget();
        finish();
        if (!source || !window)
            return true;
        QWidget *under = window->childAt(window->mapFromGlobal(at));
        Reorderable *target = under ? Reorderable::of(under) : nullptr;
        if (target) {
            if (const auto order = target->dropped(source->m_item.ref))
                target->takeDrop(*order);
        }
        return true;
    }

    void begin()
    {
        QWidget *row = m_source->m_row;
        // The press is the drag's now: the button under it is no longer
        // held, so letting go clicks nothing.
        if (auto *button = qobject_cast<QAbstractButton *>(m_pressed.data()))
            button->setDown(false);
        m_ghost = new Ghost(row->window(), row->grab());
    }

    void follow(const QPoint &global)
    {
        QWidget *window = m_ghost->parentWidget();
        m_ghost->move(window->mapFromGlobal(global) - m_hotSpot);
        // Near the top or the bottom of its list, the list scrolls.
        for (QWidget *w = m_source ? m_source->m_row->parentWidget() : nullptr; w; w = w->parentWidget()) {
            auto *area = qobject_cast<QAbstractScrollArea *>(w);
            if (!area)
                continue;
            const QPoint inView = area->viewport()->mapFromGlobal(global);
            const int edge = 24;
            QScrollBar *bar = area->verticalScrollBar();
            if (inView.y() < edge)
                bar->setValue(bar->value() - bar->singleStep());
            else if (inView.y() > area->viewport()->height() - edge)
                bar->setValue(bar->value() + bar->singleStep());
            break;
        }
    }

    void finish()
    {
        delete m_ghost.data();
        m_ghost = nullptr;
        m_source = nullptr;
        m_pressed = nullptr;
    }

    void cancel() { finish(); }

    QPointer<Reorderable> m_source;
    QPointer<QWidget> m_pressed;
    QPointer<QWidget> m_ghost;
    QPoint m_pressAt;
    QPoint m_hotSpot;
};

Reorderable::Reorderable(QWidget *row)
    : QObject(row)
    , m_row(row)
{
    row->installEventFilter(this);
    Drag::instance();
}

void Reorderable::set(bool enabled, const TodoItem &item, const QList<TodoItem> &items, Move move)
{
    m_enabled = enabled;
    m_item = item;
    m_items = items;
    m_move = std::move(move);
    m_row->setAcceptDrops(enabled);
}

Reorderable *Reorderable::of(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (auto *r = w->findChild<Reorderable *>(QString(), Qt::FindDirectChildrenOnly); r && r->m_enabled)
            return r;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

bool Reorderable::isDragging()
{
    return Drag::instance().dragging();
}

std::optional<QList<TaskRef>> Reorderable::dropped(const TaskRef &dragged) const
{
    if (!m_enabled)
        return std::nullopt;
    return Reorder::moved(m_items, dragged, m_item.ref);
}

void Reorderable::takeDrop(const QList<TaskRef> &order)
{
    // On the next turn: the new order may rebuild the list and this row.
    if (m_move)
        QTimer::singleShot(0, qApp, [move = m_move, order] { move(order); });
}

bool Reorderable::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_row || !m_enabled)
        return false;
    switch (event->type()) {
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
        const auto order = dragged ? dropped(*dragged) : std::nullopt;
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
