#pragma once

#include <QByteArray>
#include <ctime>

// Runs the local clock in the given zone (a TZ name such as "Europe/Berlin")
// for the life of the object, then restores the zone that was set before.
class ScopedTimeZone
{
public:
    explicit ScopedTimeZone(const char *zone)
        : m_old(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_old.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", m_old);
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone &) = delete;
    ScopedTimeZone &operator=(const ScopedTimeZone &) = delete;

private:
    QByteArray m_old;
};
