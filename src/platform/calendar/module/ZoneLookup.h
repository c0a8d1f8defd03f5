#pragma once

#include <QByteArray>
#include <QTimeZone>

// The system's time zone a calendar file means by a zone name (a TZID): an
// IANA name ("Europe/Berlin", also the older links such as "US/Eastern"),
// the same behind a globally unique prefix ("/mozilla.org/20050126_1/
// Europe/Berlin"), or a common Windows name ("W. Europe Standard Time").
// Any other name finds no zone. Qt alone would take any all-letter name
// ("FOO") as a POSIX rule at offset zero, so a name is only asked of Qt once
// the system's zone data is known to hold it.
class ZoneLookup
{
public:
    // An invalid zone when the name names none of the system's zones.
    static QTimeZone systemZone(const QByteArray &tzid);
};
