#pragma once

#include "core/TaskSource.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The texts of a task row: the facts line under the name, the help of the
// name area, and what the row's buttons say.
namespace TodoRowText {

// List name, due day and the first placed day (from today on), joined by
// " ・ "; empty when there is none of them. A due date is always written as
// its month and day, a placed day as today, tomorrow or its month and day.
QString subtitle(const TodoItem &item, const QList<QDateTime> &placedDays, const QDateTime &now);
// What a click on the name offers, and the user's note under it.
QString helpText(const TodoItem &item);
// The hover help of the note button: write a note, or edit the one there.
QString noteHelp(const TodoItem &item);
bool hasUserNote(const TodoItem &item);
bool isLocal(const TaskRef &ref);

} // namespace TodoRowText
