#pragma once

#include "platform/files/AppPaths.h"

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

// Keeps one running copy of the program per data folder. The running copy
// holds a lock file in the data folder and listens on a local socket named
// after the folder; a second launch finds the lock taken, asks the running
// copy to show its main window and is told to exit. A lock left by a copy
// that crashed is taken over.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &dataDir = AppPaths::dataDir(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // True: this is the one running copy (go on). False: another copy runs and
    // has been asked to show its main window (exit). When the lock cannot be
    // made at all (the folder cannot be made or written) and no other copy
    // answers, this copy runs and lastError() says why.
    bool start();
    bool isRunningCopy() const { return m_running; }
    QString lastError() const { return m_lastError; }

    // The local socket name for a data folder: the same folder always gives
    // the same name, different folders different names.
    static QString serverName(const QString &dataDir);
    static QString lockFileName() { return QStringLiteral("quillmere.lock"); }

signals:
    // Another launch asked this copy to show its main window.
    void activationRequested();

private:
    bool askRunningCopy();
    void listen();
    void readRequest(class QLocalSocket *socket);

    QString m_dataDir;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    bool m_running = false;
    QString m_lastError;
};
