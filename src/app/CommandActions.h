#pragma once

#include <QList>
#include <QObject>
#include <functional>

class AppModel;
class QAction;
class QWidget;

// The timer's menu commands as actions, one set for the whole program and
// added to every window, so that their shortcuts work wherever the user is
// (the main window, history, glossary, settings) and a right click on a
// window's paper (or the menu key) offers them as its menu. Titles and
// enabled states follow the engine's mode and state and the "alwaysOnTop"
// setting; nothing is recomputed on the engine's ticks.
//
// After the commands' own entries comes Quit (Ctrl+Q), since the program
// keeps running in the tray once its windows are closed.
class CommandActions : public QObject
{
    Q_OBJECT
public:
    CommandActions(AppModel &model, std::function<void()> quit, QObject *parent = nullptr);

    // Adds every action to the window and makes them its context menu.
    void attach(QWidget *window);

    const QList<QAction *> &actions() const { return m_actions; }
    // The action with that object name ("commands.startPause"), or null.
    QAction *action(const QString &id) const;

private:
    void refresh();

    AppModel &m_model;
    QList<QAction *> m_actions;
};
