#include "platform/desktop/SingleInstance.h"

#include "support/ScopedDirs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QEventLoop>
#include <QLocalServer>
#include <QLockFile>
#include <QSysInfo>
#include <QSemaphore>
#include <QThread>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <memory>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct SingleInstanceTest : ::testing::Test
{
    ScopedDirs dirs;
    QString lockPath() const { return dirs.dataDir() + QLatin1Char('/') + SingleInstance::lockFileName(); }

    // Writes the lock file a copy would leave, naming the given process.
    void writeLockOf(qint64 pid)
    {
        ASSERT_TRUE(AppPaths::ensureDir(dirs.dataDir()));
        QFile stale(lockPath());
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray::number(pid) + "\nquillmere\n" + QSysInfo::machineHostName().toUtf8() + '\n');
    }
};

// The running copy, on a thread of its own with an event loop, as another
// process would have: a launch waits for its answer in a blocking loop.
class RunningCopy
{
public:
    explicit RunningCopy(const QString &dataDir)
    {
        m_thread.reset(QThread::create([this, dataDir] {
            SingleInstance instance(dataDir);
            m_started = instance.start();
            QObject::connect(&instance, &SingleInstance::activationRequested, [this] { ++m_activations; });
            m_ready.release();
            QEventLoop loop;
            m_loop = &loop;
            m_ready.release();
            loop.exec();
        }));
        m_thread->start();
        m_ready.acquire(2);
    }
    ~RunningCopy()
    {
        QMetaObject::invokeMethod(m_loop, &QEventLoop::quit);
        m_thread->wait();
    }
    bool started() const { return m_started; }
    int activations() const { return m_activations; }

private:
    std::unique_ptr<QThread> m_thread;
    QSemaphore m_ready;
    QEventLoop *m_loop = nullptr;
    std::atomic<bool> m_started{false};
    std::atomic<int> m_activations{0};
};

// A child process that only waits to be killed; ended (and reaped) with its owner.
struct Sleeper
{
    pid_t pid = fork();
    Sleeper()
    {
        if (pid == 0) {
            for (;;)
                pause();
        }
    }
    void kill()
    {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            pid = 0;
        }
    }
    ~Sleeper() { kill(); }
};

// A child process that holds the lock on a file, as a running copy holds
// its data folder's, until it is killed.
struct LockHolder
{
    pid_t pid = -1;
    explicit LockHolder(const QString &path)
    {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT, 0644);
        // The child's copy of the descriptor shares the lock; the parent's goes.
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            pid = fork();
        if (pid == 0) {
            for (;;)
                pause();
        }
        if (fd >= 0)
            ::close(fd);
    }
    void kill()
    {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            pid = 0;
        }
    }
    ~LockHolder() { kill(); }
};

// The id of a process that has already ended.
qint64 endedProcessId()
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

// A child that has ended but is not reaped yet (a zombie) until reap().
struct Zombie
{
    pid_t pid = fork();
    Zombie()
    {
        if (pid == 0)
            _exit(0);
        // Wait until it has ended, without reaping it.
        siginfo_t info{};
        waitid(P_PID, id_t(pid), &info, WEXITED | WNOWAIT);
    }
    void reap()
    {
        if (pid > 0)
            waitpid(pid, nullptr, 0);
        pid = 0;
    }
    ~Zombie() { reap(); }
};

// Binds a Unix socket at path and closes it without removing the file, as a
// process that died would.
bool leaveSocketBehind(const QByteArray &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd < 0 || size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound && QFile::exists(QFile::decodeName(path));
}

} // namespace

TEST(SingleInstance, TellsWhetherAProcessIsGone)
{
    Sleeper alive;
    Zombie zombie;
    struct Case
    {
        const char *name;
        qint64 pid;
        bool gone;
    };
    const Case cases[] = {
        {"a live process", alive.pid, false},
        {"this process", qint64(getpid()), false},
        {"a zombie", zombie.pid, true},
        {"an ended process", endedProcessId(), true},
        {"no process named", 0, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SingleInstance::processIsGone(c.pid), c.gone) << c.name;
}

TEST_F(SingleInstanceTest, ASecondLaunchExitsOnceTheRunningCopyHasShownItself)
{
    RunningCopy first(dirs.dataDir());
    ASSERT_TRUE(first.started());
    EXPECT_TRUE(QFile::exists(lockPath()));
    // Only this user reaches the running copy.
    struct stat socket = {};
    ASSERT_EQ(::stat(QFile::encodeName(SingleInstance::socketPath(dirs.dataDir())).constData(), &socket), 0);
    EXPECT_TRUE(S_ISSOCK(socket.st_mode));
    EXPECT_EQ(socket.st_mode & 077, 0u);

    for (int launch = 1; launch <= 2; ++launch) {
        SingleInstance again;
        EXPECT_FALSE(again.start());
        EXPECT_FALSE(again.isRunningCopy());
        EXPECT_TRUE(again.lastError().isEmpty()) << again.lastError().toStdString();
        // Answered means shown: the request was handled before start() returned.
        EXPECT_EQ(first.activations(), launch);
    }
    EXPECT_TRUE(QFile::exists(lockPath())) << "the other launches leave the lock alone";
}

TEST_F(SingleInstanceTest, AHeldLockIsNeverTakenOverEvenWhenOldOrSilent)
{
    // A copy that holds the lock but does not answer (still starting, or
    // busy) and whose lock is days old: the launch does not run beside it,
    // and says why it gave up.
    ASSERT_TRUE(AppPaths::ensureDir(dirs.dataDir()));
    QLockFile held(lockPath());
    ASSERT_TRUE(held.tryLock(0));
    QFile lock(lockPath());
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
    lock.close();

    SingleInstance second;
    second.setPatience(300);
    EXPECT_FALSE(second.start());
    EXPECT_FALSE(second.isRunningCopy());
    EXPECT_TRUE(second.lastError().contains(QString::number(getpid()))) << second.lastError().toStdString();
}

// A copy that crashed left its lock file and its socket. The file names a
// process that has ended, or one that is another program now (ids are
// reused): either way nobody holds the lock, and the launch runs at once
// rather than waiting for an answer that never comes.
TEST_F(SingleInstanceTest, ALockWhoseHolderHasEndedIsTakenOver)
{
    enum class Named { reaped, zombie, someoneElse };
    struct Case
    {
        const char *name;
        Named named;
    };
    const Case cases[] = {
        {"ended and reaped", Named::reaped},
        {"ended, not reaped yet", Named::zombie},
        {"its id now another program's", Named::someoneElse},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Zombie zombie;
        Sleeper other;
        writeLockOf(c.named == Named::zombie        ? qint64(zombie.pid)
                    : c.named == Named::someoneElse ? qint64(other.pid)
                                                    : endedProcessId());
        // The crashed copy's socket is still there too, with nobody listening.
        const QByteArray socketPath = QFile::encodeName(SingleInstance::socketPath(dirs.dataDir()));
        QFile::remove(QFile::decodeName(socketPath));
        ASSERT_TRUE(leaveSocketBehind(socketPath));

        {
            SingleInstance first;
            first.setPatience(2000);
            QElapsedTimer took;
            took.start();
            EXPECT_TRUE(first.start());
            EXPECT_LT(took.elapsed(), 1000) << "the launch waited for the process the file names";
            EXPECT_TRUE(first.lastError().isEmpty()) << first.lastError().toStdString();
        }
        // It answers launches as the running copy.
        RunningCopy running(dirs.dataDir());
        ASSERT_TRUE(running.started());
        SingleInstance second;
        EXPECT_FALSE(second.start());
        EXPECT_EQ(running.activations(), 1);
    }
}

// The copy that holds the lock was just killed: its socket still takes the
// request, but no answer ever comes. The launch runs once that copy is gone.
TEST_F(SingleInstanceTest, ACopyThatTakesTheRequestAndDiesIsTakenOver)
{
    ASSERT_TRUE(AppPaths::ensureDir(dirs.dataDir()));
    LockHolder holder(lockPath());
    ASSERT_GT(holder.pid, 0);
    writeLockOf(holder.pid);
    QLocalServer silent; // accepts into its backlog, never answers
    QLocalServer::removeServer(SingleInstance::serverName(dirs.dataDir()));
    ASSERT_TRUE(silent.listen(SingleInstance::serverName(dirs.dataDir())));

    bool started = false;
    std::unique_ptr<QThread> launch(QThread::create([&] {
        SingleInstance instance;
        started = instance.start();
    }));
    launch->start();
    QThread::msleep(400);
    EXPECT_FALSE(launch->isFinished()) << "a written request is not an answer";
    holder.kill();
    ASSERT_TRUE(launch->wait(5000));
    EXPECT_TRUE(started);
}

TEST_F(SingleInstanceTest, CopiesOnDifferentDataFoldersRunSideBySide)
{
    const QString other = dirs.root() + QStringLiteral("/other-data");
    EXPECT_NE(SingleInstance::serverName(dirs.dataDir()), SingleInstance::serverName(other));
    EXPECT_EQ(SingleInstance::serverName(dirs.dataDir()), SingleInstance::serverName(dirs.dataDir() + QStringLiteral("/")));
    SingleInstance first;
    SingleInstance second(other);
    EXPECT_TRUE(first.start());
    EXPECT_TRUE(second.start());
}

TEST_F(SingleInstanceTest, AFolderThatCannotBeMadeStillLetsTheProgramRun)
{
    QFile blocker(dirs.root() + QStringLiteral("/file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SingleInstance instance(blocker.fileName() + QStringLiteral("/Quillmere"));
    EXPECT_TRUE(instance.start());
    EXPECT_FALSE(instance.lastError().isEmpty());
}
