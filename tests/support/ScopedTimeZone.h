#pragma once

#include <QByteArray>
#include <ctime>

// Sets the process's local time zone (TZ) for the life of the object and
// restores the previous setting afterwards.
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
