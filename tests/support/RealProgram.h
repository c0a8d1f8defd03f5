#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// The built program (build/quillmere), run as a user runs it, in a
// throw-away home of its own: its own data, config and runtime folders, no
// session bus, no update check. Tests start it, use it from outside (signals,
// a second launch) and read the files it leaves.
class RealProgram
{
public:
    // preferences: what preferences.json holds before the first launch (the
    // update check is always marked as just done, so nothing reaches the
    // network).
    explicit RealProgram(const QJsonObject &preferences = {});
    ~RealProgram();
    RealProgram(const RealProgram &) = delete;
    RealProgram &operator=(const RealProgram &) = delete;

    static QString executable();
    bool isReady() const { return m_home.isValid(); }
    QString home() const { return m_home.path(); }
    QString dataDir() const { return m_home.path() + QStringLiteral("/data/Quillmere"); }

    // The environment a launch runs in: the home above, the offscreen
    // platform unless display names an X display (then xcb on it).
    QProcessEnvironment environment(const QString &display = QString()) const;

    // Gives the home a calendar account of `calendars` calendars with
    // `eventsEach` one-hour events each (plain files, as a sync tool leaves
    // them), shown by the program. Before the first launch.
    bool addCalendars(int calendars, int eventsEach);

    // Starts one copy of the program; the process is owned by the caller.
    void launch(QProcess &process, const QString &display = QString()) const;
    // Starts one copy as a plain child process, offscreen, which nothing
    // reaps until the caller does (waitpid): as under a launcher that is slow
    // to, a killed copy stays a zombie meanwhile. 0 when it could not start.
    qint64 spawn() const;

    // Whether a running copy of this home answers a show request: it is up,
    // past its start-up, and has its main window forward.
    bool answers(int timeoutMs = 2000) const;
    // Waits until a copy answers.
    bool waitUntilAnswering(int timeoutMs = 30000) const;

    // The lock file's process id, 0 when there is no lock.
    qint64 lockHolder() const;

    // The records of sessions.json (empty when there is none).
    QList<QJsonObject> sessionRecords() const;

private:
    bool writePreferences() const;

    QTemporaryDir m_home;
    QJsonObject m_preferences;
};
