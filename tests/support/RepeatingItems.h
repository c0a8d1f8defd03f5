#pragma once

#include <QByteArray>

// A calendar file a careless tool (or a hostile one) may leave: `items`
// events in one VCALENDAR, each repeating every minute since the first of
// January of year 1. 200 items make about 46 KB; read naively, one day of it
// is 288,000 occurrences.
inline QByteArray everyMinuteSinceYearOne(int items)
{
    QByteArray out = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Careless//EN\r\n";
    for (int i = 0; i < items; ++i)
        out += "BEGIN:VEVENT\r\nUID:minute-" + QByteArray::number(i)
               + "@careless.example\r\nDTSTAMP:20250101T000000Z\r\nSUMMARY:Every minute "
               + QByteArray::number(i) + "\r\nDTSTART:00010101T000000\r\nDURATION:PT1M\r\nRRULE:FREQ=MINUTELY\r\n"
                                         "END:VEVENT\r\n";
    out += "END:VCALENDAR\r\n";
    return out;
}
