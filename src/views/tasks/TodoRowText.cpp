#include "views/tasks/TodoRowText.h"

#include "core/L.h"
#include "views/tasks/PlaceDay.h"

namespace TodoRowText {

bool isLocal(const TaskRef &ref)
{
    return ref.source == QStringLiteral("local");
}

QString subtitle(const TodoItem &item, const QList<QDateTime> &placedDays, const QDateTime &now)
{
    QStringList parts;
    if (!item.listName.isEmpty())
        parts << item.listName;
    if (item.due)
        parts << L(QStringLiteral("{0}まで"), PlaceDay::monthDay(*item.due));
    if (!placedDays.isEmpty())
        parts << L(QStringLiteral("{0}に置いた"), PlaceDay::dayLabel(placedDays.first(), now));
    return parts.join(QStringLiteral(" ・ "));
}

bool hasUserNote(const TodoItem &item)
{
    return !ProgressNote::userText(item.notes).isEmpty();
}

QString helpText(const TodoItem &item)
{
    const QString base = isLocal(item.ref) ? L(QStringLiteral("押すと、始める・いつまでに・置く"))
                                           : L(QStringLiteral("押すと、始める・覚え書き（名前と期限は向こうで）"));
    const QString note = ProgressNote::userText(item.notes);
    if (note.isEmpty())
        return base;
    return L(QStringLiteral("{0}\n\n覚え書き: {1}"), base, note);
}

QString noteHelp(const TodoItem &item)
{
    return hasUserNote(item) ? L(QStringLiteral("覚え書きを直す")) : L(QStringLiteral("覚え書きを書く"));
}

} // namespace TodoRowText
