#pragma once

#include <QString>

// The fold row in front of the undated tasks of a task chooser: the count
// behind it and a chevron that points down while open. Its host owns the
// open flag (closed when the host is first shown) and lists the undated
// tasks under the row while it is open.
struct UndatedFoldRow
{
    bool visible = false; // nothing at all (no row, no space) below a count of 1
    bool open = false;
    QString text;           // "No date  {count}"
    QString accessibleName; // "Fold away undated items" open; "Show {count} undated items" closed

    static UndatedFoldRow of(int count, bool open);

    bool operator==(const UndatedFoldRow &) const = default;
};
