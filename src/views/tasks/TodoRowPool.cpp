#include "views/tasks/TodoRowPool.h"

#include "views/tasks/EditingTask.h"
#include "views/tasks/TodoRow.h"

TodoRowPool::TodoRowPool(const ViewContext &context, QWidget *host, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_host(host)
    , m_editing(new EditingTask(this))
{
}

TodoRow *TodoRowPool::row(const TodoItem &item, bool overdue, bool justWritten)
{
    TodoRow *row = m_rows.value(item.ref);
    if (!row) {
        row = new TodoRow(m_context, m_editing, m_host);
        m_rows.insert(item.ref, row);
    }
    row->set(item, overdue, justWritten);
    return row;
}

void TodoRowPool::keepOnly(const QSet<TaskRef> &keep)
{
    for (auto it = m_rows.begin(); it != m_rows.end();) {
        if (keep.contains(it.key())) {
            ++it;
            continue;
        }
        TodoRow *row = it.value();
        if (m_editing->is(it.key()))
            m_editing->set(std::nullopt);
        row->hide();
        row->deleteLater();
        it = m_rows.erase(it);
    }
}
