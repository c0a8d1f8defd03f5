#include "app/AppDelegate.h"
#include "app/AppIcon.h"
#include "app/PaperWindow.h"
#include "app/CommandLine.h"
#include "app/ProgramEnd.h"
#include "app/QuillmereApp.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "platform/desktop/PortalAppearance.h"
#include "platform/desktop/SingleInstance.h"
#include "platform/desktop/StartHeap.h"
#include "platform/desktop/ToolkitTexts.h"
#include "platform/desktop/XSendBuffer.h"
#include "platform/notify/FreedesktopNotificationCenter.h"
#include "sound/Chime.h"
#include "sources/NoticeRoute.h"
#include "sources/Notifier.h"
#include "views/ink/AfterFirstPaint.h"
#include "views/ink/InkStyle.h"
#include "views/ink/ThemeBinding.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <cstdio>

int main(int argc, char **argv)
{
    // --help and --version answer before a display is opened or a running
    // copy is asked; any other argument Qt does not take exits with status 2.
    if (const auto answer = CommandLine::early(CommandLine::arguments(argc, argv)))
        return CommandLine::print(*answer);
    // The heap the first window needs, mapped at once (see StartHeap.h).
    StartHeap::reserve();
    // On X11 the windows' pictures go to the server over the connection, not
    // through shared memory: with shared memory Qt waits for the server
    // whenever it paints over what it last sent, a round trip and two
    // wake-ups for every frame of a running face. The user's choice stands.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    XSendBuffer::widenForDisplay();
    if (const auto answer = CommandLine::check(QApplication::arguments()))
        return CommandLine::print(*answer);
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMERE_VERSION));
    // The windows belong to the installed desktop entry (quillmere.desktop).
    QGuiApplication::setDesktopFileName(QStringLiteral("quillmere"));
    // Qt's own texts (a field's edit menu, a file panel, a dialog's standard
    // buttons) in the interface language.
    ToolkitTexts::install(Lang::isJapanese());
    // The toolkit's own controls (scroll bars, menus, drop-downs, fields)
    // drawn from the theme, and its default font the theme's.
    InkStyle::install();

    // One running copy per data folder: a second launch brings the first
    // copy's main window forward and leaves (or says why it could not).
    SingleInstance instance;
    if (!instance.start()) {
        if (instance.lastError().isEmpty())
            return 0;
        fprintf(stderr, "quillmere: %s\n", qPrintable(instance.lastError()));
        return 1;
    }

    // With no audio device, a bell falls back to the desktop's beep.
    Chime::setFallbackSound([] { QApplication::beep(); });

    // Notices through the desktop's notification service; taps come back
    // through the notice route.
    FreedesktopNotificationCenter notifications;
    AppDelegate::launch(notifications, Notifier::shared(), NoticeRoute::shared());

    // Light or dark as the desktop says, live.
    PortalAppearance appearance;
    ThemeBinding theme(&appearance);

    // The one coordinator, with every collaborator its own or the shared one.
    AppModel::Parts parts;
    parts.version = QStringLiteral(QUILLMERE_VERSION);
    // The calendar folders are first read on a worker: the window does not
    // wait for them, and their events and reminders follow when read.
    parts.readCalendarsInBackground = true;
    AppModel model(parts);

    ViewContext context;
    context.model = &model;
    QuillmereApp shell(context);
    QObject::connect(&instance, &SingleInstance::activationRequested, &shell,
                     [&shell] { shell.openWindow(QStringLiteral("timer")); });
    shell.openWindow(QStringLiteral("timer"));
    // What the first picture does not need follows it: the desktop's later
    // changes of light and dark, the icon, drawn at each size the windows
    // offer the desktop, and the tray (following the portal and asking the
    // desktop for a tray each take a round trip); without a tray, closing
    // the last window quits.
    AfterFirstPaint::run(shell.mainWindow(), [&app, &shell, &appearance] {
        appearance.follow();
        QApplication::setWindowIcon(AppIcon::icon());
        AppDelegate::trayKnown(app, QSystemTrayIcon::isSystemTrayAvailable());
        shell.showTray();
    });
    // However the program is asked to end (Quit, the last window, a signal,
    // the end of the session), a round under way is recorded and saved first.
    ProgramEnd end(app, [&model](bool atExit) {
        model.endForQuit(atExit ? AppModel::Ending::quietly : AppModel::Ending::withScreens);
    });
    return app.exec();
}
