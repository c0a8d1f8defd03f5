#include "app/TrayController.h"

#include "app/MenuFill.h"
#include "core/AppSettings.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QSystemTrayIcon>
#include <cmath>

TrayController::TrayController(AppModel &model, ShellActions shell, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_shell(std::move(shell))
{
    m_menu = new QMenu;
    m_menu->setObjectName(QStringLiteral("tray.menu"));
    // A new appearance reaches every window, this menu included: the icon
    // is then drawn again in the other colours.
    m_menu->installEventFilter(this);
    connect(m_menu, &QMenu::aboutToShow, this, &TrayController::fillMenu);
    // The open menu's status line shows the clock's seconds.
    connect(m_menu, &QMenu::aboutToShow, this, [this] {
        m_menuOpen = true;
        m_model.setClockInSight(AppModel::ClockViewer::trayMenu, true);
    });
    connect(m_menu, &QMenu::aboutToHide, this, [this] {
        m_menuOpen = false;
        m_model.setClockInSight(AppModel::ClockViewer::trayMenu, false);
    });
    fillMenu();

    m_toolTip = MenuBarMenu::toolTip(model);
    followIcon(true);

    PomodoroEngine &engine = model.engine();
    for (auto signal : {&PomodoroEngine::modeChanged, &PomodoroEngine::phaseChanged, &PomodoroEngine::stateChanged})
        connect(&engine, signal, this, &TrayController::queueFill);
    connect(&engine, &PomodoroEngine::remainingChanged, this, &TrayController::followClock);
    connect(&engine, &PomodoroEngine::changed, this, [this] { followIcon(false); });
    connect(&model, &AppModel::menuBarTitleChanged, this, &TrayController::followTitle);
    // What else the title shows changes with the run's look or the settings.
    auto restate = [this] {
        m_titleStale = true;
        followTitle();
    };
    connect(&engine, &PomodoroEngine::lookChanged, this, restate);
    connect(&model.settings(), &AppSettings::showSecondsInMenuBarChanged, this, restate);
}

TrayController::~TrayController()
{
    delete m_tray;
    delete m_menu;
}

void TrayController::show()
{
    if (m_tray || !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    // Its title and icon follow the clock's whole seconds.
    m_model.setClockInSight(AppModel::ClockViewer::trayItem, true);
    m_tray = new QSystemTrayIcon(m_icon);
    m_tray->setObjectName(QStringLiteral("tray"));
    m_tray->setToolTip(m_toolTip);
    m_tray->setContextMenu(m_menu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
            if (m_shell.activate)
                m_shell.activate();
            if (m_shell.openWindow)
                m_shell.openWindow(QStringLiteral("timer"));
        }
    });
    m_tray->show();
}

void TrayController::fillMenu()
{
    m_fillQueued = false;
    m_shownSecond = -1;
    MenuFill::fill(m_menu, MenuBarMenu::entries(m_model, m_shell));
    // The status line, found once per filling rather than at every second.
    m_status = m_menu->findChild<QAction *>(QStringLiteral("tray.status"), Qt::FindDirectChildrenOnly);
}

void TrayController::queueFill()
{
    // Queued: the change may come from one of the menu's own actions, which
    // must not be deleted while it is being triggered.
    if (m_fillQueued)
        return;
    m_fillQueued = true;
    QMetaObject::invokeMethod(this, [this] {
        if (m_fillQueued)
            fillMenu();
    }, Qt::QueuedConnection);
}

void TrayController::followTitle()
{
    // The title shows the clock in whole seconds (or minutes): a tick within
    // the same second, with the run as it was, changes nothing.
    const double remaining = m_model.engine().remaining();
    const qint64 second = 2 * qint64(std::floor(remaining)) + (std::ceil(remaining) != std::floor(remaining));
    if (!m_titleStale && second == m_titleSecond)
        return;
    m_titleStale = false;
    m_titleSecond = second;
    const QString text = MenuBarMenu::toolTip(m_model);
    if (text == m_toolTip)
        return;
    m_toolTip = text;
    if (m_tray)
        m_tray->setToolTip(text);
}

void TrayController::followIcon(bool redraw)
{
    const TrayIconPainter::State state = TrayIconPainter::stateOf(m_model.engine());
    if (!redraw && state == m_iconState)
        return;
    m_iconState = state;
    m_icon = TrayIconPainter::icon(state);
    if (m_tray)
        m_tray->setIcon(m_icon);
    emit iconChanged();
}

void TrayController::followClock()
{
    if (m_fillQueued)
        return; // the whole menu is about to be built anew
    // A closed menu's line is seen by nobody, and opening the menu builds
    // it anew: a running round does not write it every second meanwhile.
    if (!m_menuOpen)
        return;
    // The line shows whole seconds (rounded up while counting down, down
    // while counting up): a tick within the same second changes nothing.
    const double remaining = m_model.engine().remaining();
    const qint64 second = 2 * qint64(std::floor(remaining)) + (std::ceil(remaining) != std::floor(remaining));
    if (second == m_shownSecond)
        return;
    m_shownSecond = second;
    if (!m_status)
        return;
    const QString text = MenuBarMenu::statusLine(m_model);
    if (m_status->text() != text)
        m_status->setText(text);
}

bool TrayController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_menu && event->type() == QEvent::PaletteChange)
        followIcon(true);
    return QObject::eventFilter(watched, event);
}
