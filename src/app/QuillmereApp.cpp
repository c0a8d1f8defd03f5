#include "app/QuillmereApp.h"

#include "app/CommandActions.h"
#include "app/Pages.h"
#include "app/PaperWindow.h"
#include "app/RootView.h"
#include "app/TrayController.h"
#include "app/WindowPlacement.h"
#include "core/AppSettings.h"
#include "core/Kiv.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "views/ink/FocusRing.h"
#include "views/ink/WheelGuard.h"
#include "views/settings/SettingsView.h"

#include <QApplication>
#include <QScreen>
#include <QSystemTrayIcon>

QuillmereApp::QuillmereApp(const ViewContext &context, QObject *parent)
    : QObject(parent)
    , m_context(context)
{
    Q_ASSERT(context.model);
    // The wheel scrolls pages; values change only under the focus. Focus
    // rings show while the user works with the keyboard.
    WheelGuard::install();
    FocusRing::watch();
    m_commands = new CommandActions(*context.model, [] { QApplication::quit(); }, this);
    m_main = makeMain();
    // The root view rebuilds the main window at a new text scale; the other
    // windows are rebuilt here (after it, so the theme has the scale).
    connect(&context.model->settings(), &AppSettings::textScaleChanged, this, &QuillmereApp::rescaleWindows);
}

QWidget *QuillmereApp::makePage(const QString &id) const
{
    if (id == QLatin1String("history"))
        return Pages::history(m_context, nullptr);
    if (id == QLatin1String("glossary")) {
        ViewContext glossaryContext = m_context;
        glossaryContext.model = nullptr; // the glossary shows no model
        return Pages::glossary(glossaryContext, nullptr);
    }
    return new SettingsView(m_context);
}

void QuillmereApp::rescaleWindows()
{
    Kiv::setScale(m_context.model->settings().textScale());
    const std::pair<QString, QPointer<PaperWindow> *> windows[] = {
        {QStringLiteral("history"), &m_history},
        {QStringLiteral("glossary"), &m_glossary},
        {QStringLiteral("settings"), &m_settings},
    };
    for (const auto &[id, slot] : windows) {
        if (!*slot)
            continue;
        // A closed window is made anew when it opens again.
        if ((*slot)->isVisible()) {
            (*slot)->replaceContent(makePage(id));
            keepOnScreen(*slot);
        } else {
            PaperWindow *closed = *slot;
            *slot = nullptr;
            closed->deleteLater();
        }
    }
}

QuillmereApp::~QuillmereApp()
{
    delete m_trayController;
    delete m_history.data();
    delete m_glossary.data();
    delete m_settings.data();
    delete m_main;
}

PaperWindow *QuillmereApp::makeMain()
{
    m_root = new RootView(m_context, windowActions());
    auto *window = new PaperWindow(QStringLiteral("timer"), kTitle, m_root, PaperWindow::Paper::ownedByPage);
    m_commands->attach(window);
    // The smallest size follows the root's content (through the window's layout).
    window->resize(m_root->sizeHint());
    // Centred on the screen it opens on.
    if (QScreen *screen = window->screen()) {
        QRect frame(QPoint(0, 0), RootView::kIdealSize);
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    return window;
}

void QuillmereApp::openWindow(const QString &id)
{
    if (id == QLatin1String("timer")) {
        m_main->bringForward();
        return;
    }
    QPointer<PaperWindow> *slot = nullptr;
    if (id == QLatin1String("history"))
        slot = &m_history;
    else if (id == QLatin1String("glossary"))
        slot = &m_glossary;
    else
        return;
    if (!*slot) {
        PaperWindow *window = nullptr;
        if (slot == &m_history) {
            window = new PaperWindow(id, L("記録"), makePage(id), PaperWindow::Paper::ownedByPage);
            window->resize(kHistorySize);
        } else {
            window = new PaperWindow(id, L("言葉のしおり"), makePage(id), PaperWindow::Paper::ownedByPage);
            window->resize(kGlossarySize);
        }
        m_commands->attach(window);
        *slot = window;
    }
    if (!(*slot)->isVisible())
        placeBesideMain(*slot);
    (*slot)->bringForward();
}

void QuillmereApp::keepOnScreen(QWidget *window)
{
    // A page at a larger text scale may ask for a larger window than it
    // had: grown towards the screen's edge, it is moved back within it.
    QScreen *screen = window->screen();
    if (!screen)
        return;
    const QRect frame = window->frameGeometry();
    const QPoint at = WindowPlacement::within(frame.topLeft(), frame.size(), screen->availableGeometry());
    if (at != frame.topLeft())
        window->move(at);
}

void QuillmereApp::placeBesideMain(QWidget *window) const
{
    QScreen *screen = m_main->isVisible() ? m_main->screen() : window->screen();
    if (!screen)
        return;
    // The frame the window will have: its size and the main window's
    // decorations (the same window manager draws both).
    const QRect main = m_main->frameGeometry();
    const QSize decorations = m_main->isVisible() ? main.size() - m_main->size() : QSize(0, 0);
    const QSize frame = window->size().expandedTo(window->minimumSizeHint()) + decorations;
    window->move(WindowPlacement::beside(main, frame, screen->availableGeometry()));
}

void QuillmereApp::openSettings()
{
    if (!m_settings) {
        m_settings = new PaperWindow(QStringLiteral("settings"), L("設定"), makePage(QStringLiteral("settings")));
        m_settings->setFixedSize(SettingsView::kWidth, SettingsView::kHeight);
        m_commands->attach(m_settings);
    }
    if (!m_settings->isVisible())
        placeBesideMain(m_settings);
    m_settings->bringForward();
}

PaperWindow *QuillmereApp::window(const QString &id) const
{
    if (id == QLatin1String("timer"))
        return m_main;
    if (id == QLatin1String("history"))
        return m_history;
    if (id == QLatin1String("glossary"))
        return m_glossary;
    if (id == QLatin1String("settings"))
        return m_settings;
    return nullptr;
}

WindowActions QuillmereApp::windowActions()
{
    WindowActions actions;
    actions.openWindow = [this](const QString &id) { openWindow(id); };
    actions.openSettings = [this] { openSettings(); };
    return actions;
}

ShellActions QuillmereApp::shellActions()
{
    ShellActions actions;
    actions.activate = [this] {
        if (!m_main->isVisible())
            m_main->bringForward();
        QApplication::setActiveWindow(m_main);
    };
    actions.openWindow = [this](const QString &id) { openWindow(id); };
    actions.quit = [] { QApplication::quit(); };
    return actions;
}

QSystemTrayIcon *QuillmereApp::tray() const
{
    return m_trayController ? m_trayController->tray() : nullptr;
}

void QuillmereApp::showTray()
{
    if (!m_trayController)
        m_trayController = new TrayController(*m_context.model, shellActions());
    m_trayController->show();
}
