#pragma once

#include "core/TaskSource.h"
#include "views/ink/ViewContext.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>

class EditingTask;
class TodoRow;
class QWidget;

// The task rows of a list, one per task reference, kept across reloads:
// a row asked for again gets its fresh item and keeps its view state (open
// popovers, a rename under way). Rows whose task left the list are hidden
// and deleted on a later turn of the event loop, so a row whose own action
// removed its task is never deleted inside that action.
class TodoRowPool : public QObject
{
    Q_OBJECT
public:
    // Rows are made as children of `host`.
    TodoRowPool(const ViewContext &context, QWidget *host, QObject *parent = nullptr);

    EditingTask &editing() const { return *m_editing; }

    // The row of the item (made when new), given its fresh state.
    TodoRow *row(const TodoItem &item, bool overdue, bool justWritten);
    TodoRow *find(const TaskRef &ref) const { return m_rows.value(ref); }
    // Retires every row whose reference is not in `keep`.
    void keepOnly(const QSet<TaskRef> &keep);
    int size() const { return int(m_rows.size()); }

private:
    ViewContext m_context;
    QWidget *m_host;
    EditingTask *m_editing;
    QHash<TaskRef, TodoRow *> m_rows;
};
