#pragma once

#include <QString>
#include <functional>

// What the screens of the main window ask of the program's windows: open
// (or bring forward) the single window with an identifier ("history",
// "glossary"), or open the settings window. The shell fills it; a view left
// without one does nothing.
struct WindowActions
{
    std::function<void(const QString &id)> openWindow;
    std::function<void()> openSettings;

    void open(const QString &id) const
    {
        if (openWindow)
            openWindow(id);
    }
    void settings() const
    {
        if (openSettings)
            openSettings();
    }
};
