// A relaunch right after a crash: the copy that ran is killed (SIGKILL, which
// nothing can catch) and the program is started again at once, while the
// killed copy is still going: busy reading 20 calendars when it is killed, it
// takes a while to go, and its process is not reaped until the relaunch is
// over, as under a launcher that is slow to. Every time, one copy must end up
// running with its window, never none.
#include "support/RealProgram.h"

#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>

namespace {

constexpr int kCycles = 100;

// Waits for a child to end and reaps it; false when it still runs at the deadline.
bool reap(qint64 pid, int timeoutMs, int *status = nullptr)
{
    QDeadlineTimer deadline(timeoutMs);
    int s = 0;
    while (waitpid(pid_t(pid), &s, WNOHANG) == 0) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    if (status)
        *status = s;
    return true;
}

// The child has ended (it is a zombie or reaped) without being waited for.
bool hasEnded(qint64 pid)
{
    siginfo_t info{};
    return waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid_t(pid);
}

TEST(ProgramRelaunch, AfterEachKillAndImmediateRelaunchOneCopyRuns)
{
    RealProgram program(QJsonObject{{QStringLiteral("hasSeenIntro"), true}});
    ASSERT_TRUE(program.isReady());
    ASSERT_TRUE(program.addCalendars(20, 500));

    qint64 running = program.spawn();
    ASSERT_GT(running, 0);
    ASSERT_TRUE(program.waitUntilAnswering()) << "the first copy did not come up";
    int failures = 0;
    for (int cycle = 1; cycle <= kCycles && failures < 3; ++cycle) {
        SCOPED_TRACE(cycle);
        ::kill(pid_t(running), SIGKILL);
        const qint64 next = program.spawn(); // at once, the killed copy not reaped
        ASSERT_GT(next, 0);
        const bool up = program.waitUntilAnswering(10000);
        EXPECT_TRUE(up) << "no copy answers after the relaunch";
        const bool nextRuns = !hasEnded(next);
        EXPECT_TRUE(nextRuns) << "the relaunched copy left";
        EXPECT_EQ(program.lockHolder(), next) << "the relaunched copy holds the lock";
        int status = 0;
        ASSERT_TRUE(reap(running, 10000, &status));
        EXPECT_TRUE(WIFSIGNALED(status));
        if (!nextRuns) {
            ++failures;
            reap(next, 10000);
            // Carry on from a copy that runs.
            running = program.spawn();
            ASSERT_TRUE(program.waitUntilAnswering());
        } else {
            running = next;
        }
    }
    EXPECT_EQ(failures, 0);

    // A launch beside the running copy shows that copy's window and leaves.
    const qint64 second = program.spawn();
    int status = -1;
    ASSERT_TRUE(reap(second, 10000, &status));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(hasEnded(running));
    EXPECT_EQ(program.lockHolder(), running);

    ::kill(pid_t(running), SIGTERM);
    ASSERT_TRUE(reap(running, 10000, &status));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
