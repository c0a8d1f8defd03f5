#pragma once

#include "platform/files/AppPaths.h"

#include <QObject>
#include <QString>
#include <QByteArray>
#include <map>

class QDeadlineTimer;
class QSocketNotifier;

// Keeps one running copy of the program per data folder. The running copy
// holds a lock on a file in the data folder (an advisory lock, which the
// system lets go when the process ends, however it ends) and listens on a
// local socket named after the folder; a second launch finds the lock taken,
// asks the running copy to show its main window and exits once that copy
// answers that it has ("shown"). A request that was written is not an
// answer: a copy that was just killed may still accept it and never reply.
// While the copy holding the lock does not answer, the launch keeps trying;
// once that copy's process is gone (ended, or a zombie), its lock is free
// and this copy runs. A lock file left by a copy that crashed long ago is
// taken over the same way.
//
// Plain system calls with Qt's socket notifiers: starting needs neither Qt
// Network nor a write to the disk that waits for the disk.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &dataDir = AppPaths::dataDir(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // True: this is the one running copy (go on). False: another copy runs
    // (exit): it has shown its main window, or, when lastError() is not
    // empty, it is alive but has not answered within kPatienceMs. When the
    // lock cannot be made at all (the folder cannot be made or written) and
    // no other copy answers, this copy runs and lastError() says why.
    bool start();
    bool isRunningCopy() const { return m_running; }
    QString lastError() const { return m_lastError; }

    // The local socket name for a data folder: the same folder always gives
    // the same name, different folders different names.
    static QString serverName(const QString &dataDir);
    static QString lockFileName() { return QStringLiteral("quillmere.lock"); }

    // How long a launch waits for a running copy that is alive but silent
    // (starting up, or busy) before it gives up.
    static constexpr int kPatienceMs = 20000;
    // The path of the local socket for a data folder.
    static QString socketPath(const QString &dataDir);
    // Whether the process is gone for good: it does not exist, or it has
    // ended and only waits to be reaped (a zombie holds no lock and answers
    // nothing).
    static bool processIsGone(qint64 pid);
    // Tests wait less.
    void setPatience(int ms) { m_patienceMs = ms; }

signals:
    // Another launch asked this copy to show its main window.
    void activationRequested();

private:
    enum class Lock { taken, held, failed };
    // Takes the lock file's lock; when another process holds it, *holder is
    // the process the file names (0 when it names none).
    Lock lock(qint64 *holder);
    void unlock();
    // Sends the show request and waits for the answer, for as long as the
    // deadline allows and the holder (when known, 0 otherwise) lives.
    bool askRunningCopy(qint64 holder, const QDeadlineTimer &deadline);
    void listen();
    void accept();
    void readRequest(int fd);
    void drop(int fd);

    QString m_dataDir;
    int m_lockFd = -1;
    int m_serverFd = -1;
    QSocketNotifier *m_server = nullptr;
    struct Connection
    {
        QSocketNotifier *notifier;
        QByteArray pending;
    };
    std::map<int, Connection> m_connections;
    bool m_running = false;
    QString m_lastError;
    int m_patienceMs = kPatienceMs;
};
