#include "views/ink/Reorder.h"

#include "core/KivJSON.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>

namespace Reorder {

std::optional<QList<TaskRef>> moved(const QList<TodoItem> &items, const TaskRef &dragged, const TaskRef &onto)
{
    if (items.isEmpty())
        return std::nullopt;
    qsizetype from = -1, to = -1;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (from < 0 && items[i].ref == dragged)
            from = i;
        if (to < 0 && items[i].ref == onto)
            to = i;
    }
    if (from < 0 || to < 0 || from == to)
        return std::nullopt;
    QList<TaskRef> order;
    order.reserve(items.size());
    for (const TodoItem &item : items)
        order.append(item.ref);
    order.move(from, to);
    return order;
}

QString mimeType()
{
    return QStringLiteral("application/x-quillmere-task-ref");
}

QMimeData *mimeData(const TaskRef &ref)
{
    auto *data = new QMimeData;
    data->setData(mimeType(), QJsonDocument(ref.toJson()).toJson(QJsonDocument::Compact));
    return data;
}

std::optional<TaskRef> draggedRef(const QMimeData *data)
{
    if (!data || !data->hasFormat(mimeType()))
        return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(data->data(mimeType()));
    if (!doc.isObject())
        return std::nullopt;
    try {
        return TaskRef::fromJson(doc.object());
    } catch (const KivJSON::DecodeError &) {
        return std::nullopt;
    }
}

} // namespace Reorder
