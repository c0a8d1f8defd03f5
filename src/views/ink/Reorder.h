#pragma once

#include "core/Models.h"
#include "core/TaskSource.h"

#include <QList>
#include <QString>
#include <optional>

class QMimeData;

// Putting tasks in order by dragging one row onto another.
namespace Reorder {

// The new order of `items` when the task `dragged` is dropped onto the
// task `onto`: the dragged one takes the index the target had (dragged
// down it lands just after the target, dragged up just before it). None
// when nothing is to change: an empty list, a task not in the list (a row
// of another list), or a drop onto itself.
std::optional<QList<TaskRef>> moved(const QList<TodoItem> &items, const TaskRef &dragged, const TaskRef &onto);

// The drag payload: the whole task reference under the program's own
// type, so a drop names exactly one task and text dragged in from another
// program is never taken for one.
QString mimeType();
QMimeData *mimeData(const TaskRef &ref);
// The reference a drag carries; none for any other payload.
std::optional<TaskRef> draggedRef(const QMimeData *data);

} // namespace Reorder
