#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A private session bus: a dbus-daemon that only this test uses and that
// starts no services of its own.
class PrivateBus
{
public:
    PrivateBus();
    ~PrivateBus();

    bool isUp() const { return !m_address.isEmpty(); }
    // A connection of its own to the bus, under a name unique in the test.
    QDBusConnection connect(const QString &name);

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QStringList m_names;
};
