#include "platform/calendar/CalendarModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QMutex>

namespace {

using EntryOf = const CalendarModule::Entry *(*)();

struct Loaded
{
    bool tried = false;
    QString path;
    const CalendarModule::Entry *entry = nullptr;
};

// Files are read on workers too: the first look is made once, under a lock.
Loaded &module()
{
    static QMutex lock;
    static Loaded loaded;
    const QMutexLocker locked(&lock);
    if (loaded.tried)
        return loaded;
    loaded.tried = true;
    // Beside the program (the build folder), where it is installed
    // (<prefix>/lib/quillmere beside <prefix>/bin), then the build folder of
    // this build, for the tests and tools in its subfolders.
    const QString here = QCoreApplication::applicationDirPath();
    const QStringList folders = {here, QDir::cleanPath(here + QStringLiteral("/../" QUILLMERE_CALENDAR_MODULE_INSTALL_DIR)),
                                 QStringLiteral(QUILLMERE_CALENDAR_MODULE_BUILD_DIR)};
    for (const QString &folder : folders) {
        const QString path = folder + QStringLiteral("/libquillmere_calendar.so");
        if (!QFile::exists(path))
            continue;
        QLibrary library(path);
        auto entryOf = reinterpret_cast<EntryOf>(library.resolve("quillmere_calendar_module"));
        if (const CalendarModule::Entry *entry = entryOf ? entryOf() : nullptr) {
            // Loaded for the rest of the run: the library is never unloaded.
            loaded = {true, path, entry};
            return loaded;
        }
        qWarning("calendar module not usable: %s", qPrintable(library.errorString()));
    }
    qWarning("no calendar module (libquillmere_calendar.so) found: calendar files are not read");
    return loaded;
}

} // namespace

namespace CalendarModule {

const Entry *entry()
{
    return module().entry;
}

QString loadedFrom()
{
    return module().path;
}

} // namespace CalendarModule
