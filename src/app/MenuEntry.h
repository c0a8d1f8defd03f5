#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>

// One entry of a menu, described before any widget exists: the menu
// commands, the tray menu and the ambience menu are lists of these, worked
// out from the model, which the shell turns into QActions (object name from
// id). Describing them plainly keeps every title, shortcut, enabled state
// and check testable without a tray or a window.
struct MenuEntry
{
    enum class Kind {
        action,  // a clickable item; trigger runs its work
        divider, // a separator line
        label,   // plain text that cannot be clicked (a status line, a heading)
        section, // the heading of a group of items
    };

    Kind kind = Kind::action;
    QString id; // stable name, e.g. "commands.next"; empty for dividers
    QString text;
    QKeySequence shortcut;
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
    std::function<void()> trigger;

    static MenuEntry action(const QString &id, const QString &text, std::function<void()> trigger)
    {
        MenuEntry e;
        e.id = id;
        e.text = text;
        e.trigger = std::move(trigger);
        return e;
    }
    static MenuEntry divider()
    {
        MenuEntry e;
        e.kind = Kind::divider;
        return e;
    }
    static MenuEntry label(const QString &id, const QString &text)
    {
        MenuEntry e;
        e.kind = Kind::label;
        e.id = id;
        e.text = text;
        e.enabled = false;
        return e;
    }
    static MenuEntry section(const QString &id, const QString &text)
    {
        MenuEntry e = label(id, text);
        e.kind = Kind::section;
        return e;
    }

    // The entry with that id in a list, or nullptr.
    static const MenuEntry *find(const QList<MenuEntry> &entries, const QString &id)
    {
        for (const MenuEntry &e : entries)
            if (e.id == id)
                return &e;
        return nullptr;
    }
};
