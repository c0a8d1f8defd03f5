#include "support/RealProgram.h"

#include "platform/desktop/SingleInstance.h"

#include <QDate>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

#include <fcntl.h>
#include <spawn.h>
#include <vector>

RealProgram::RealProgram(const QJsonObject &preferences)
    : m_home(QDir::tempPath() + QStringLiteral("/quillmere-program-XXXXXX"))
{
    if (!m_home.isValid())
        return;
    const QString runtime = m_home.path() + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_preferences = preferences;
    m_preferences.insert(QStringLiteral("lastLookedForVersionAt"), double(QDateTime::currentSecsSinceEpoch()));
    writePreferences();
}

bool RealProgram::writePreferences() const
{
    const QString config = m_home.path() + QStringLiteral("/config/Quillmere");
    QDir().mkpath(config);
    QFile file(config + QStringLiteral("/preferences.json"));
    return file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(m_preferences).toJson()) > 0;
}

bool RealProgram::addCalendars(int calendars, int eventsEach)
{
    const QString account = dataDir() + QStringLiteral("/calendars");
    for (int c = 0; c < calendars; ++c) {
        const QString folder = account + QStringLiteral("/calendar-%1").arg(c + 1);
        if (!QDir().mkpath(folder))
            return false;
        QFile name(folder + QStringLiteral("/displayname"));
        if (!name.open(QIODevice::WriteOnly) || name.write(QStringLiteral("Calendar %1").arg(c + 1).toUtf8()) < 0)
            return false;
        for (int e = 0; e < eventsEach; ++e) {
            const QString uid = QStringLiteral("C%1-E%2").arg(c).arg(e);
            const QDate day = QDate(2026, 1, 1).addDays(e % 365);
            const QString stamp = day.toString(QStringLiteral("yyyyMMdd"));
            QFile file(folder + QLatin1Char('/') + uid + QStringLiteral(".ics"));
            if (!file.open(QIODevice::WriteOnly))
                return false;
            file.write(QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//test//EN\r\n"
                                      "BEGIN:VEVENT\r\nUID:%1\r\nDTSTAMP:20260101T000000Z\r\n"
                                      "SUMMARY:Meeting %2\r\nDTSTART:%3T090000Z\r\nDTEND:%3T100000Z\r\n"
                                      "END:VEVENT\r\nEND:VCALENDAR\r\n")
                           .arg(uid)
                           .arg(e)
                           .arg(stamp)
                           .toUtf8());
        }
    }
    m_preferences.insert(QStringLiteral("calendarAccountFolders"), QJsonArray{account});
    m_preferences.insert(QStringLiteral("calendarEnabled"), true);
    return writePreferences();
}

RealProgram::~RealProgram() = default;

QString RealProgram::executable()
{
    return QStringLiteral(QUILLMERE_BUILD_DIR "/quillmere");
}

QProcessEnvironment RealProgram::environment(const QString &display) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString root = m_home.path();
    env.insert(QStringLiteral("HOME"), root);
    env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), root + QStringLiteral("/cache"));
    env.insert(QStringLiteral("XDG_STATE_HOME"), root + QStringLiteral("/state"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/runtime"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=") + root + QStringLiteral("/no-bus"));
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + root + QStringLiteral("/no-sound"));
    if (display.isEmpty()) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.remove(QStringLiteral("DISPLAY"));
    } else {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), display);
    }
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

void RealProgram::launch(QProcess &process, const QString &display) const
{
    process.setProcessEnvironment(environment(display));
    // What the copies say goes to a file in the home, for a failing test to show.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(m_home.path() + QStringLiteral("/program.log"), QIODevice::Append);
    process.start(executable(), {});
}

qint64 RealProgram::spawn() const
{
    QList<QByteArray> env;
    for (const QString &entry : environment().toStringList())
        env << entry.toLocal8Bit();
    std::vector<char *> envp;
    for (QByteArray &entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    QByteArray program = QFile::encodeName(executable());
    char *argv[] = {program.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray log = QFile::encodeName(m_home.path() + QStringLiteral("/program.log"));
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, log.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.constData(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : 0;
}

bool RealProgram::answers(int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(SingleInstance::serverName(dataDir()));
    if (!socket.waitForConnected(200))
        return false;
    socket.write("show\n");
    QDeadlineTimer deadline(timeoutMs);
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || socket.state() != QLocalSocket::ConnectedState)
            return false;
        socket.waitForReadyRead(50);
    }
    return socket.readLine() == "shown\n";
}

bool RealProgram::waitUntilAnswering(int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    while (!answers(int(qMax<qint64>(deadline.remainingTime(), 1)))) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

qint64 RealProgram::lockHolder() const
{
    QLockFile lock(dataDir() + QLatin1Char('/') + SingleInstance::lockFileName());
    qint64 pid = 0;
    if (!lock.getLockInfo(&pid, nullptr, nullptr))
        return 0;
    return pid;
}

QList<QJsonObject> RealProgram::sessionRecords() const
{
    QFile file(dataDir() + QStringLiteral("/sessions.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QJsonObject> records;
    for (const QJsonValue &v : QJsonDocument::fromJson(file.readAll()).array())
        records << v.toObject();
    return records;
}
