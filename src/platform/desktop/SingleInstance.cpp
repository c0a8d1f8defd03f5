#include "platform/desktop/SingleInstance.h"

#include "platform/files/AppPaths.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

#include <cerrno>
#include <csignal>

namespace {

const QByteArray kShowRequest = QByteArrayLiteral("show\n");
const QByteArray kShownAnswer = QByteArrayLiteral("shown\n");
constexpr int kConnectWaitMs = 200;
constexpr int kRetryPauseMs = 50;
// How often a launch waiting for an answer looks whether the holder still lives.
constexpr int kLivenessCheckMs = 100;
// With no lock to be had at all: how long to look for a copy that answers.
constexpr int kUnlockedAskMs = 2500;

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

bool SingleInstance::processIsGone(qint64 pid)
{
    if (pid <= 0)
        return false;
    if (::kill(pid_t(pid), 0) == -1 && errno == ESRCH)
        return true;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false; // cannot tell: take it to be alive
    // "pid (name) state ...": the name may hold spaces and parentheses, so the
    // state is the field after the last ')'.
    const QByteArray line = stat.read(512);
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0 || close + 2 >= line.size())
        return false;
    const char state = line.at(close + 2);
    return state == 'Z' || state == 'X';
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
        const QDeadlineTimer patience(m_patienceMs);
        for (;;) {
            if (m_lock->tryLock(0)) {
                m_running = true;
                listen();
                return true;
            }
            if (m_lock->error() != QLockFile::LockFailedError)
                break;
            qint64 holder = 0;
            m_lock->getLockInfo(&holder, nullptr, nullptr);
            if (processIsGone(holder)) {
                // A zombie still has its id, so the lock file does not look
                // stale yet; it holds nothing any more.
                m_lock->removeStaleLockFile();
                continue;
            }
            if (askRunningCopy(holder, patience))
                return false;
            if (patience.hasExpired()) {
                m_lock.reset();
                m_lastError = QStringLiteral("Another copy of Quillmere runs (process %1) but does not answer")
                                  .arg(holder);
                return false;
            }
            // No answer yet: the holder is starting, busy or going. Try the
            // lock again; a holder that has gone leaves it free.
            QThread::msleep(kRetryPauseMs);
        }
        m_lock.reset();
        m_lastError = QStringLiteral("Cannot lock the data folder %1").arg(m_dataDir);
    }
    // No lock to be had: still never run beside a copy that answers.
    const QDeadlineTimer looking(kUnlockedAskMs);
    while (!looking.hasExpired()) {
        if (askRunningCopy(0, looking))
            return false;
        QThread::msleep(kRetryPauseMs);
    }
    m_running = true;
    listen();
    return true;
}

bool SingleInstance::askRunningCopy(qint64 holder, const QDeadlineTimer &deadline)
{
    QLocalSocket socket;
    socket.connectToServer(serverName(m_dataDir));
    if (!socket.waitForConnected(kConnectWaitMs))
        return false;
    socket.write(kShowRequest);
    // Written is not answered: a copy that is going may take the request and
    // never reply. Wait for the answer while the holder lives.
    while (!deadline.hasExpired()) {
        if (socket.canReadLine())
            return socket.readLine() == kShownAnswer;
        if (socket.state() != QLocalSocket::ConnectedState)
            return false;
        if (!socket.waitForReadyRead(kLivenessCheckMs)) {
            if (socket.state() != QLocalSocket::ConnectedState || processIsGone(holder))
                return false;
        }
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
        if (socket->readLine() == kShowRequest) {
            // The window is forward once the connected slots return: say so.
            emit activationRequested();
            socket->write(kShownAnswer);
            socket->flush();
        }
    }
}
