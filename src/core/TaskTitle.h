#pragma once

#include <QString>

// Task titles as the program matches them. A title typed into the round's
// field, a round title of a rounds run (kept trimmed) and a task's own title
// (as its source wrote it, blanks and all) name the same task when they
// agree once blanks and line breaks at both ends are taken off; letter case
// and every inner character still count.
namespace TaskTitle {

inline bool same(const QString &a, const QString &b)
{
    return a.trimmed() == b.trimmed();
}

} // namespace TaskTitle
