#include "platform/desktop/PortalAppearance.h"
#include "platform/desktop/SingleInstance.h"
#include "sound/Chime.h"
#include "views/ink/KivBackground.h"
#include "views/ink/ThemeBinding.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMERE_VERSION));

    // One running copy per data folder: a second launch brings the first
    // copy's window forward and leaves.
    SingleInstance instance;
    if (!instance.start())
        return 0;

    // With no audio device, a bell falls back to the desktop's beep.
    Chime::setFallbackSound([] { QApplication::beep(); });

    // Light or dark as the desktop says, live.
    PortalAppearance appearance;
    ThemeBinding theme(&appearance);

    QMainWindow window;
    window.setCentralWidget(new KivBackground);
    window.setWindowTitle(QStringLiteral("Quillmere"));
    window.resize(480, 640);
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, [&window] {
        window.show();
        window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        window.raise();
        window.activateWindow();
    });
    window.show();
    return app.exec();
}
