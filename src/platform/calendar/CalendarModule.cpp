#include "platform/calendar/CalendarModule.h"

#include "platform/modules/ModuleLibrary.h"

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
    if (const auto found = ModuleLibrary::load(QStringLiteral("libquillmere_calendar.so"),
                                               {"quillmere_calendar_module"}, "calendar",
                                               "calendar files are not read")) {
        if (const auto *entry = reinterpret_cast<EntryOf>(found->symbols.constFirst())())
            loaded = {true, found->path, entry};
    }
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
