#pragma once

#include "app/MenuBarMenu.h"
#include "app/WindowActions.h"
#include "views/ink/ViewContext.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>

class AppModel;
class CommandActions;
class PaperWindow;
class TrayController;
class QMenu;
class QSystemTrayIcon;
class RootView;

// The program's windows around the one application model: the main window
// "timer" (the root view), the history window "history", the glossary
// window "glossary", the settings window and the tray item. Each window
// exists once: asking for one that is open brings it forward. The main
// window opens at launch; the others when asked, beside the main window.
class QuillmereApp : public QObject
{
    Q_OBJECT
public:
    // The main window's title, the same in every language.
    static inline const QString kTitle = QStringLiteral("Quillmere");
    static constexpr QSize kHistorySize{460, 520};
    static constexpr QSize kGlossarySize{440, 560};

    explicit QuillmereApp(const ViewContext &context, QObject *parent = nullptr);
    ~QuillmereApp() override;

    // Opens (or brings forward) the window with this identifier: "timer",
    // "history" or "glossary". Other identifiers do nothing.
    void openWindow(const QString &id);
    void openSettings();
    // The window with this identifier ("timer", "history", "glossary",
    // "settings") once it exists.
    PaperWindow *window(const QString &id) const;
    PaperWindow *mainWindow() const { return m_main; }
    RootView *rootView() const { return m_root; }

    WindowActions windowActions();
    ShellActions shellActions();

    // The timer's commands, on every window.
    CommandActions *commands() const { return m_commands; }
    // The tray item's icon, tooltip and menu (kept even without a tray).
    TrayController *trayController() const { return m_trayController; }
    // The tray item, when the desktop has a tray and showTray() made it.
    QSystemTrayIcon *tray() const;
    void showTray();

private:
    PaperWindow *makeMain();
    // The page of the history, glossary or settings window ("settings").
    QWidget *makePage(const QString &id) const;
    // Builds the open windows' pages anew at the new text scale.
    void rescaleWindows();
    // Moves a window about to open beside the main window (WindowPlacement).
    void placeBesideMain(QWidget *window) const;
    // Moves a window that reaches past its screen's edge back within it.
    static void keepOnScreen(QWidget *window);

    ViewContext m_context;
    PaperWindow *m_main = nullptr;
    RootView *m_root = nullptr;
    QPointer<PaperWindow> m_history;
    QPointer<PaperWindow> m_glossary;
    QPointer<PaperWindow> m_settings;
    CommandActions *m_commands = nullptr;
    TrayController *m_trayController = nullptr;
};
