#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

class IcalDocument;

// The reading and writing of calendar files (over libical) lives in a module
// of its own (libquillmere_calendar.so) that is loaded when a calendar file
// is first read or made, not at start: a user who never looks at a calendar
// never loads it. Without the module no file reads and none is made, so no
// file is ever written over.
namespace CalendarModule {

// What the module offers: documents it makes, owned by the caller.
struct Entry
{
    // form: 0 whole, 1 to be read only, 2 for the index (see IcalDocument).
    IcalDocument *(*parse)(const QByteArray &bytes, int form);
    // kind: 0 an event, 1 a to-do.
    IcalDocument *(*create)(int kind, const QString &uid, const QDateTime &now);
};

// The module's entry, loading it if need be; null when it cannot be loaded.
const Entry *entry();

// Where the module was found (empty when it was not, or not yet looked for).
QString loadedFrom();

} // namespace CalendarModule
