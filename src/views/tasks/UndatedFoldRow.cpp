#include "views/tasks/UndatedFoldRow.h"

#include "core/L.h"

UndatedFoldRow UndatedFoldRow::of(int count, bool open)
{
    UndatedFoldRow row;
    row.open = open;
    if (count < 1)
        return row;
    row.visible = true;
    row.text = L(QStringLiteral("日を決めない　{0}"), count);
    row.accessibleName =
        open ? L(QStringLiteral("日を決めないものを畳む")) : L(QStringLiteral("日を決めないものを{0}件開く"), count);
    return row;
}
