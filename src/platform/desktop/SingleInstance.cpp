#include "platform/desktop/SingleInstance.h"

#include "platform/files/AppPaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

namespace {

const QByteArray kShowRequest = QByteArrayLiteral("show\n");
constexpr int kConnectAttempts = 10;
constexpr int kConnectWaitMs = 200;
constexpr int kRetryPauseMs = 50;

} // namespace

SingleInstance::SingleInstance(const QString &dataDir, QObject *parent)
    : QObject(parent)
    , m_dataDir(dataDir)
{
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    if (m_lock)
        m_lock->unlock();
}

QString SingleInstance::serverName(const QString &dataDir)
{
    const QString path = QDir::cleanPath(QDir(dataDir).absolutePath());
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("quillmere-") + QString::fromLatin1(hash.left(24));
}

bool SingleInstance::start()
{
    if (m_running)
        return true;
    m_lastError.clear();
    if (!AppPaths::ensureDir(m_dataDir)) {
        m_lastError = QStringLiteral("Cannot make the data folder %1").arg(m_dataDir);
    } else {
        m_lock = std::make_unique<QLockFile>(m_dataDir + QLatin1Char('/') + lockFileName());
        // The running copy holds the lock for as long as it runs: only a lock
        // whose process is gone is stale, never one that is merely old.
        m_lock->setStaleLockTime(0);
        if (m_lock->tryLock(0)) {
            m_running = true;
            listen();
            return true;
        }
        const QLockFile::LockError error = m_lock->error();
        m_lock.reset();
        if (error == QLockFile::LockFailedError) {
            askRunningCopy();
            return false;
        }
        m_lastError = QStringLiteral("Cannot lock the data folder %1").arg(m_dataDir);
    }
    // No lock to be had: still never run beside a copy that answers.
    if (askRunningCopy())
        return false;
    m_running = true;
    listen();
    return true;
}

bool SingleInstance::askRunningCopy()
{
    // The running copy may be starting up and not listen yet: try a few times.
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        if (attempt > 0)
            QThread::msleep(kRetryPauseMs);
        QLocalSocket socket;
        socket.connectToServer(serverName(m_dataDir));
        if (!socket.waitForConnected(kConnectWaitMs))
            continue;
        socket.write(kShowRequest);
        const bool sent = socket.waitForBytesWritten(kConnectWaitMs) || socket.bytesToWrite() == 0;
        socket.disconnectFromServer();
        return sent;
    }
    return false;
}

void SingleInstance::listen()
{
    const QString name = serverName(m_dataDir);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket left under this name is a crashed copy's.
    if (!m_server->listen(name)) {
        QLocalServer::removeServer(name);
        if (!m_server->listen(name))
            m_lastError = QStringLiteral("Cannot listen for other launches: %1").arg(m_server->errorString());
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
            readRequest(socket);
        }
    });
}

void SingleInstance::readRequest(QLocalSocket *socket)
{
    while (socket->canReadLine()) {
        if (socket->readLine() == kShowRequest)
            emit activationRequested();
    }
}
