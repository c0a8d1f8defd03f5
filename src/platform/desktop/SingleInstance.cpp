#include "platform/desktop/SingleInstance.h"

#include "platform/files/AppPaths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray kShowRequest = QByteArrayLiteral("show\n");
const QByteArray kShownAnswer = QByteArrayLiteral("shown\n");
constexpr int kRetryPauseMs = 50;
// How often a launch waiting for an answer looks whether the holder still lives.
constexpr int kLivenessCheckMs = 100;
// With no lock to be had at all: how long to look for a copy that answers.
constexpr int kUnlockedAskMs = 2500;
// A request line is a few bytes; a connection that sends more without one is dropped.
constexpr qsizetype kMostPending = 256;

bool addressOf(const QByteArray &path, sockaddr_un *address)
{
    *address = {};
    address->sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof(address->sun_path))
        return false;
    memcpy(address->sun_path, path.constData(), size_t(path.size()));
    return true;
}

void closeQuietly(int fd)
{
    if (fd >= 0)
        ::close(fd);
}

// The process a lock file names on its first line (0 when it names none).
qint64 holderNamedIn(int fd)
{
    char text[64] = {};
    const ssize_t read = ::pread(fd, text, sizeof(text) - 1, 0);
    if (read <= 0)
        return 0;
    const QByteArray first = QByteArray(text, int(read)).split('\n').value(0);
    bool ok = false;
    const qint64 pid = first.trimmed().toLongLong(&ok);
    return ok && pid > 0 ? pid : 0;
}

} // namespace

SingleInstance::SingleInstance(const QString &dataDir, QObject *parent)
    : QObject(parent)
    , m_dataDir(dataDir)
{
}

SingleInstance::~SingleInstance()
{
    for (auto &[fd, connection] : m_connections) {
        delete connection.notifier;
        ::close(fd);
    }
    m_connections.clear();
    if (m_serverFd >= 0) {
        delete m_server;
        m_server = nullptr;
        ::close(m_serverFd);
        ::unlink(QFile::encodeName(socketPath(m_dataDir)).constData());
    }
    unlock();
}

QString SingleInstance::serverName(const QString &dataDir)
{
    const QString path = QDir::cleanPath(QDir(dataDir).absolutePath());
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("quillmere-") + QString::fromLatin1(hash.left(24));
}

QString SingleInstance::socketPath(const QString &dataDir)
{
    return QDir::tempPath() + QLatin1Char('/') + serverName(dataDir);
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

SingleInstance::Lock SingleInstance::lock(qint64 *holder)
{
    *holder = 0;
    const QByteArray path = QFile::encodeName(m_dataDir + QLatin1Char('/') + lockFileName());
    // A copy that ends removes its file while it still holds the lock; one
    // that opened the file before that holds a lock on a file that is no
    // longer there, and opens the new one.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return Lock::failed;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool held = errno == EWOULDBLOCK;
            if (held)
                *holder = holderNamedIn(fd);
            ::close(fd);
            return held ? Lock::held : Lock::failed;
        }
        struct stat opened = {}, named = {};
        if (::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 && opened.st_dev == named.st_dev
            && opened.st_ino == named.st_ino) {
            // Who holds it, as Qt's lock files say it: process, program, host.
            const QByteArray content = QByteArray::number(QCoreApplication::applicationPid()) + '\n'
                                       + QCoreApplication::applicationName().toUtf8() + '\n'
                                       + QSysInfo::machineHostName().toUtf8() + '\n';
            if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, content.constData(), size_t(content.size()), 0) < 0) {
                // The lock holds all the same; only the name of its holder is missing.
            }
            m_lockFd = fd;
            return Lock::taken;
        }
        ::close(fd);
    }
    return Lock::failed;
}

void SingleInstance::unlock()
{
    if (m_lockFd < 0)
        return;
    // Removed while still held, so no launch takes a lock on it afterwards.
    ::unlink(QFile::encodeName(m_dataDir + QLatin1Char('/') + lockFileName()).constData());
    ::close(m_lockFd);
    m_lockFd = -1;
}

bool SingleInstance::start()
{
    if (m_running)
        return true;
    m_lastError.clear();
    if (!AppPaths::ensureDir(m_dataDir)) {
        m_lastError = QStringLiteral("Cannot make the data folder %1").arg(m_dataDir);
    } else {
        const QDeadlineTimer patience(m_patienceMs);
        for (;;) {
            qint64 holder = 0;
            const Lock got = lock(&holder);
            if (got == Lock::taken) {
                m_running = true;
                listen();
                return true;
            }
            if (got == Lock::failed)
                break;
            if (askRunningCopy(holder, patience))
                return false;
            if (patience.hasExpired()) {
                m_lastError = QStringLiteral("Another copy of Quillmere runs (process %1) but does not answer")
                                  .arg(holder);
                return false;
            }
            // No answer yet: the holder is starting, busy or going. Try the
            // lock again; a holder that has gone leaves it free.
            QThread::msleep(kRetryPauseMs);
        }
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
    sockaddr_un address;
    if (!addressOf(QFile::encodeName(socketPath(m_dataDir)), &address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // A local connection is made at once, or refused (nobody listens, or
    // the listener's queue is full: try again later).
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0
        || ::send(fd, kShowRequest.constData(), size_t(kShowRequest.size()), MSG_NOSIGNAL) != kShowRequest.size()) {
        ::close(fd);
        return false;
    }
    // Written is not answered: a copy that is going may take the request and
    // never reply. Wait for the answer while the holder lives.
    QByteArray answer;
    bool answered = false;
    while (!deadline.hasExpired()) {
        pollfd readable{fd, POLLIN, 0};
        const int wait = int(std::min<qint64>(kLivenessCheckMs, std::max<qint64>(deadline.remainingTime(), 0)));
        const int ready = ::poll(&readable, 1, wait);
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0) {
            if (processIsGone(holder))
                break;
            continue;
        }
        char bytes[64];
        const ssize_t got = ::recv(fd, bytes, sizeof(bytes), 0);
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (got <= 0)
            break; // closed without an answer
        answer.append(bytes, qsizetype(got));
        const qsizetype end = answer.indexOf('\n');
        if (end >= 0) {
            answered = answer.left(end + 1) == kShownAnswer;
            break;
        }
        if (answer.size() > kMostPending)
            break;
    }
    ::close(fd);
    return answered;
}

void SingleInstance::listen()
{
    const QByteArray path = QFile::encodeName(socketPath(m_dataDir));
    auto fail = [this](const QString &why) {
        m_lastError = QStringLiteral("Cannot listen for other launches: %1").arg(why);
    };
    // The socket is made in a folder of this user's alone, given the
    // user's own rights there and only then moved to its name, so no other
    // user can reach it at any moment. We hold the lock: a socket left under
    // the name is a crashed copy's.
    QByteArray folder = QFile::encodeName(QDir::tempPath()) + "/quillmere-XXXXXX";
    if (!::mkdtemp(folder.data())) {
        fail(QString::fromLocal8Bit(strerror(errno)));
        return;
    }
    const QByteArray made = folder + "/s";
    sockaddr_un address, named;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    bool ok = fd >= 0 && addressOf(path, &named) && addressOf(made, &address)
              && ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) == 0
              && ::listen(fd, 50) == 0 && ::chmod(made.constData(), 0600) == 0;
    if (ok) {
        ::unlink(path.constData());
        ok = ::rename(made.constData(), path.constData()) == 0;
    }
    const int error = errno;
    ::unlink(made.constData());
    ::rmdir(folder.constData());
    if (!ok) {
        closeQuietly(fd);
        fail(QString::fromLocal8Bit(strerror(error)));
        return;
    }
    m_serverFd = fd;
    m_server = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_server, &QSocketNotifier::activated, this, &SingleInstance::accept);
}

void SingleInstance::accept()
{
    for (;;) {
        const int fd = ::accept4(m_serverFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        m_connections[fd] = Connection{notifier, {}};
        connect(notifier, &QSocketNotifier::activated, this, [this, fd] { readRequest(fd); });
        readRequest(fd);
    }
}

void SingleInstance::readRequest(int fd)
{
    for (;;) {
        auto found = m_connections.find(fd);
        if (found == m_connections.end())
            return;
        char bytes[64];
        const ssize_t got = ::recv(fd, bytes, sizeof(bytes), 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN)
            return;
        if (got <= 0) {
            drop(fd);
            return;
        }
        QByteArray &pending = found->second.pending;
        pending.append(bytes, qsizetype(got));
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QByteArray line = pending.left(end + 1);
            pending.remove(0, end + 1);
            if (line == kShowRequest) {
                // The window is forward once the connected slots return: say so.
                emit activationRequested();
                ::send(fd, kShownAnswer.constData(), size_t(kShownAnswer.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
            }
        }
        if (pending.size() > kMostPending) {
            drop(fd);
            return;
        }
    }
}

void SingleInstance::drop(int fd)
{
    auto found = m_connections.find(fd);
    if (found == m_connections.end())
        return;
    found->second.notifier->setEnabled(false);
    found->second.notifier->deleteLater();
    m_connections.erase(found);
    ::close(fd);
}
