#include "views/reading/HistoryList.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "sources/CalendarService.h"
#include "views/reading/HistoryDelegate.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

HistoryList::HistoryList(HistoryModel *rows, AppModel *model, bool still, QWidget *parent)
    : QListView(parent)
    , m_rows(rows)
    , m_model(model)
    , m_delegate(new HistoryDelegate(this))
    , m_still(still)
{
    setObjectName(QStringLiteral("history.list"));
    setAccessibleName(L(QStringLiteral("記録")));
    setFrameShape(QFrame::NoFrame);
    setItemDelegate(m_delegate);
    setModel(rows);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(still ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalScrollBar()->setSingleStep(24);
    // Rows are laid out in batches between events, so a long history never
    // holds the window up while it is (re)grouped.
    setLayoutMode(QListView::Batched);
    setBatchSize(2000);
    setUniformItemSizes(false);
    setMouseTracking(true);
    setFocusPolicy(still ? Qt::NoFocus : Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);

    if (m_model) {
        CalendarService &calendar = m_model->calendarService();
        m_delegate->setAccess(calendar.authorization());
        connect(&calendar, &CalendarService::authorizationChanged, this, [this] {
            m_delegate->setAccess(m_model->calendarService().authorization());
            viewport()->update();
        });
    }
    // Rows move under a still pointer when the history changes.
    auto forgetPointer = [this] { setHover(-1); };
    connect(rows, &QAbstractItemModel::rowsInserted, this, forgetPointer);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, forgetPointer);
    connect(rows, &QAbstractItemModel::modelReset, this, forgetPointer);
}

int HistoryList::hoverRow() const
{
    return m_pointerRow;
}

int HistoryList::takePaintedRows()
{
    return m_delegate->takePainted();
}

int HistoryList::contentHeight() const
{
    int height = 0;
    for (int row = 0; row < m_rows->rowCount(); ++row)
        height += m_rows->kind(row) == HistoryModel::RowKind::dayHeader ? HistoryDelegate::headerHeight()
                                                                         : HistoryDelegate::recordHeight();
    return height;
}

void HistoryList::setHover(int row)
{
    m_pointerRow = row;
    // Without the pointer the keyboard's row stands in for it.
    int shown = row;
    if (shown < 0 && hasFocus() && currentIndex().isValid())
        shown = currentIndex().row();
    if (shown == m_delegate->hoverRow())
        return;
    m_delegate->setHoverRow(shown);
    viewport()->update();
}

int HistoryList::pinnedHeader(QRect *rect) const
{
    if (m_still || m_rows->rowCount() == 0)
        return -1;
    const QModelIndex top = QListView::indexAt(QPoint(1, 0));
    if (!top.isValid())
        return -1;
    const int header = m_rows->headerRow(top.row());
    QRect r(0, 0, viewport()->width(), HistoryDelegate::headerHeight());
    // The next day's header pushes the pinned one up as it arrives.
    const int nextHeader = header + 1 + [&] {
        int n = 0;
        while (header + 1 + n < m_rows->rowCount() && m_rows->kind(header + 1 + n) == HistoryModel::RowKind::record)
            ++n;
        return n;
    }();
    if (nextHeader < m_rows->rowCount()) {
        const QRect next = visualRect(m_rows->index(nextHeader));
        if (next.isValid() && next.top() < r.height())
            r.moveTop(next.top() - r.height());
    }
    if (rect)
        *rect = r;
    return header;
}

QModelIndex HistoryList::indexAt(const QPoint &point) const
{
    QRect pinned;
    const int header = pinnedHeader(&pinned);
    if (header >= 0 && pinned.contains(point))
        return m_rows->index(header);
    return QListView::indexAt(point);
}

void HistoryList::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    QRect pinned;
    const int header = pinnedHeader(&pinned);
    if (header < 0)
        return;
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QModelIndex index = m_rows->index(header);
    HistoryDelegate::paintHeader(painter, pinned, index.data(HistoryModel::DateTextRole).toString(),
                                 index.data(HistoryModel::TotalsTextRole).toString());
}

void HistoryList::mouseMoveEvent(QMouseEvent *event)
{
    QListView::mouseMoveEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    setHover(index.isValid() && m_rows->kind(index.row()) == HistoryModel::RowKind::record ? index.row() : -1);
}

void HistoryList::leaveEvent(QEvent *event)
{
    QListView::leaveEvent(event);
    setHover(-1);
}

void HistoryList::focusOutEvent(QFocusEvent *event)
{
    QListView::focusOutEvent(event);
    setHover(m_pointerRow);
}

void HistoryList::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListView::currentChanged(current, previous);
    setHover(m_pointerRow);
}

void HistoryList::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    const QModelIndex index = indexAt(point);
    if (event->button() == Qt::LeftButton && index.isValid()
        && m_delegate->calendarElement(index) == HistoryModel::CalendarElement::exportButton
        && HistoryDelegate::exportButtonRect(visualRect(index)).adjusted(-4, -4, 4, 4).contains(point)) {
        exportRow(index.row());
        event->accept();
        return;
    }
    QListView::mouseReleaseEvent(event);
}

void HistoryList::keyPressEvent(QKeyEvent *event)
{
    const QModelIndex current = currentIndex();
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space)
        && current.isValid() && m_delegate->calendarElement(current) == HistoryModel::CalendarElement::exportButton) {
        exportRow(current.row());
        return;
    }
    // The menu key and Shift+F10 open the row's menu wherever the desktop
    // does not turn them into a context menu event itself.
    if ((event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier))
        && current.isValid()) {
        openMenu(current.row(), viewport()->mapToGlobal(visualRect(current).center()));
        return;
    }
    QListView::keyPressEvent(event);
}

void HistoryList::exportRow(int row)
{
    if (!m_model || m_still)
        return;
    if (const std::optional<SessionRecord> record = m_rows->record(row))
        m_model->exportToCalendar(*record);
}

void HistoryList::contextMenuEvent(QContextMenuEvent *event)
{
    QModelIndex index;
    if (event->reason() == QContextMenuEvent::Keyboard) {
        index = currentIndex();
        if (index.isValid())
            openMenu(index.row(), viewport()->mapToGlobal(visualRect(index).center()));
    } else {
        index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
        if (index.isValid())
            openMenu(index.row(), event->globalPos());
    }
    event->accept();
}

void HistoryList::openMenu(int row, const QPoint &globalPos)
{
    if (m_still || !m_model)
        return;
    const std::optional<SessionRecord> record = m_rows->record(row);
    if (!record)
        return;
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("history.rowMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *remove = menu->addAction(HistoryModel::removeActionText());
    remove->setObjectName(QStringLiteral("history.remove"));
    const QUuid id = record->id;
    // The rows change once the menu has closed, never under its own handler.
    connect(remove, &QAction::triggered, this, [this, id] {
        QMetaObject::invokeMethod(
            this, [this, id] { m_model->removeDeed(id); }, Qt::QueuedConnection);
    });
    menu->popup(globalPos);
}
