#include "platform/calendar/CalendarModule.h"

#include "platform/modules/ModuleLibrary.h"

namespace {

// Files are read on workers too: the first look is made once (a local
// static is set up once, whichever thread comes first).
const ModuleLibrary::Table<CalendarModule::Entry> &module()
{
    static const auto loaded = ModuleLibrary::table<CalendarModule::Entry>(
        QStringLiteral("libquillmere_calendar.so"), "quillmere_calendar_module", "calendar",
        "calendar files are not read");
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
