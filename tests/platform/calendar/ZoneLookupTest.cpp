#include "platform/calendar/module/ZoneLookup.h"

#include <gtest/gtest.h>

TEST(ZoneLookup, FindsOnlyZonesTheSystemHas)
{
    struct Case
    {
        const char *tzid;
        const char *zone; // the IANA name found; "" for none
    };
    const Case cases[] = {
        {"Europe/Berlin", "Europe/Berlin"},
        {"US/Eastern", "US/Eastern"},
        {"Asia/Calcutta", "Asia/Calcutta"},
        {"\"Asia/Tokyo\"", "Asia/Tokyo"},
        {"/mozilla.org/20050126_1/America/New_York", "America/New_York"},
        {"/freeassociation.sourceforge.net/Tzfile/Europe/London", "Europe/London"},
        {"W. Europe Standard Time", "Europe/Berlin"},
        {"Tokyo Standard Time", "Asia/Tokyo"},
        // Names Qt would read as POSIX rules at offset zero.
        {"FOO", ""},
        {"LOLOLOL", ""},
        {"IndianReunion", ""},
        {"Customized Time Zone", ""},
        {"../../etc/passwd", ""},
        {"", ""},
    };
    for (const Case &c : cases) {
        const QTimeZone zone = ZoneLookup::systemZone(c.tzid);
        EXPECT_EQ(zone.isValid(), *c.zone != 0) << c.tzid;
        if (zone.isValid()) {
            EXPECT_EQ(zone.id().toStdString(), c.zone) << c.tzid;
        }
    }
}
