#pragma once

#include "app/MenuBarMenu.h"
#include "app/TrayIconPainter.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>

class AppModel;
class QAction;
class QMenu;
class QSystemTrayIcon;

// The tray item: its icon drawn from the run, its tooltip (exactly the
// model's menu-bar title) and its menu (MenuBarMenu). All three are kept
// whether or not the desktop has a tray, so they can be checked headless;
// show() puts them into the desktop's tray when there is one.
//
// Nothing here runs a timer: the title and the icon follow the engine's
// changes, which come on the engine's ticks only while a run is under way.
// The tooltip is set when its text changes, the icon when its ring passes a
// step, the menu's status line when its clock changes; the menu is built
// anew when the mode, phase or state changes and each time it opens.
class TrayController : public QObject
{
    Q_OBJECT
public:
    TrayController(AppModel &model, ShellActions shell, QObject *parent = nullptr);
    ~TrayController() override;

    // Shows the item in the desktop's tray; does nothing without one.
    void show();
    // The desktop's tray item once show() made one, else null.
    QSystemTrayIcon *tray() const { return m_tray; }

    QMenu *menu() const { return m_menu; }
    QString toolTip() const { return m_toolTip; }
    TrayIconPainter::State iconState() const { return m_iconState; }
    QIcon icon() const { return m_icon; }

signals:
    void iconChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillMenu();
    void queueFill();
    void followTitle();
    void followIcon(bool redraw);
    void followClock();

    AppModel &m_model;
    ShellActions m_shell;
    QMenu *m_menu = nullptr;
    QSystemTrayIcon *m_tray = nullptr;
    QString m_toolTip;
    TrayIconPainter::State m_iconState;
    QIcon m_icon;
    bool m_fillQueued = false;
    bool m_menuOpen = false; // between the menu's aboutToShow and aboutToHide
    qint64 m_shownSecond = -1; // of the status line's clock
    QPointer<QAction> m_status; // the menu's status line, when it has one
    qint64 m_titleSecond = -1; // of the tooltip's
    bool m_titleStale = true;
};
