#pragma once

#include "app/MenuEntry.h"

#include <gtest/gtest.h>

namespace MenuTests {

// One line per entry: "id|text|shortcut|enabled" (dividers "-"), so a whole
// menu compares against a table at once.
inline QStringList lines(const QList<MenuEntry> &entries)
{
    QStringList out;
    for (const MenuEntry &e : entries) {
        if (e.kind == MenuEntry::Kind::divider) {
            out << QStringLiteral("-");
            continue;
        }
        QString line = e.id + QLatin1Char('|') + e.text;
        if (!e.shortcut.isEmpty())
            line += QLatin1Char('|') + e.shortcut.toString(QKeySequence::PortableText);
        if (!e.enabled)
            line += QStringLiteral("|off");
        if (e.checked)
            line += QStringLiteral("|checked");
        out << line;
    }
    return out;
}

inline void trigger(const QList<MenuEntry> &entries, const QString &id)
{
    const MenuEntry *e = MenuEntry::find(entries, id);
    ASSERT_TRUE(e) << id.toStdString();
    ASSERT_EQ(e->kind, MenuEntry::Kind::action);
    ASSERT_TRUE(e->trigger);
    e->trigger();
}

} // namespace MenuTests
