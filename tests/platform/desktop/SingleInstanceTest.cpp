#include "platform/desktop/SingleInstance.h"

#include "support/ScopedDirs.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
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

TEST_F(SingleInstanceTest, ASecondLaunchAsksTheRunningCopyToShowItselfAndExits)
{
    SingleInstance first;
    ASSERT_TRUE(first.start());
    EXPECT_TRUE(first.isRunningCopy());
    EXPECT_TRUE(QFile::exists(lockPath()));
    QSignalSpy activations(&first, &SingleInstance::activationRequested);

    for (int launch = 1; launch <= 2; ++launch) {
        SingleInstance again;
        EXPECT_FALSE(again.start());
        EXPECT_FALSE(again.isRunningCopy());
        ASSERT_TRUE(QTest::qWaitFor([&] { return activations.size() == launch; })) << launch;
    }
    EXPECT_TRUE(QFile::exists(lockPath())) << "the other launches leave the lock alone";
}

TEST_F(SingleInstanceTest, AHeldLockIsNeverTakenOverEvenWhenOldOrSilent)
{
    // A copy that holds the lock but does not answer (still starting, or
    // busy) and whose lock is days old: the launch still exits.
    ASSERT_TRUE(AppPaths::ensureDir(dirs.dataDir()));
    QLockFile held(lockPath());
    ASSERT_TRUE(held.tryLock(0));
    QFile lock(lockPath());
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
    lock.close();

    SingleInstance second;
    EXPECT_FALSE(second.start());
    EXPECT_FALSE(second.isRunningCopy());
}

TEST_F(SingleInstanceTest, ACrashedCopysLockAndSocketAreTakenOver)
{
    ASSERT_TRUE(AppPaths::ensureDir(dirs.dataDir()));
    // Write the lock a copy would hold, then give it the id of an ended process.
    QByteArray content;
    {
        QLockFile lock(lockPath());
        ASSERT_TRUE(lock.tryLock(0));
        QFile file(lockPath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        content = file.readAll();
        lock.unlock();
    }
    content = QByteArray::number(endedProcessId()) + content.mid(content.indexOf('\n'));
    QFile stale(lockPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(content);
    stale.close();
    // The crashed copy's socket is still there too, with nobody listening.
    const QByteArray socketPath =
        QFile::encodeName(QDir::tempPath() + QLatin1Char('/') + SingleInstance::serverName(dirs.dataDir()));
    ASSERT_TRUE(leaveSocketBehind(socketPath));

    SingleInstance first;
    ASSERT_TRUE(first.start());
    EXPECT_TRUE(first.lastError().isEmpty()) << first.lastError().toStdString();
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    SingleInstance second;
    EXPECT_FALSE(second.start());
    EXPECT_TRUE(QTest::qWaitFor([&] { return activations.size() == 1; }));
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
