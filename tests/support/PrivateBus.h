#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A private session bus: a dbus-daemon that only this test uses. Its
// configuration names no service folders, so it starts nothing on demand: a
// call to a name that nobody owns fails at once with ServiceUnknown, even on a
// machine with a notification server installed as an activatable service.
class PrivateBus
{
public:
    PrivateBus();
    ~PrivateBus();

    bool isUp() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }
    // A connection of its own to the bus, under a name unique in the test.
    QDBusConnection connect(const QString &name);

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QStringList m_names;
};
