// What the program loads to start: the network module, and with it Qt
// Network and the system's Kerberos, proxy and resolver libraries, waits
// until the network is first wanted.
#include "support/RealProgram.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>

namespace {

TEST(ProgramStart, LoadsNoNetworkLibraryBeforeTheNetworkIsWanted)
{
    RealProgram program(QJsonObject{{QStringLiteral("hasSeenIntro"), true}});
    ASSERT_TRUE(program.isReady());
    const qint64 pid = program.spawn();
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(program.waitUntilAnswering()) << "the copy did not come up";
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    EXPECT_TRUE(mapped.contains("libQt6Widgets")) << "the map is the program's";
    for (const char *library : {"libQt6Network", "libquillmere_net", "libgssapi_krb5", "libproxy"})
        EXPECT_FALSE(mapped.contains(library)) << library;

    ::kill(pid_t(pid), SIGTERM);
    QDeadlineTimer deadline(10000);
    while (waitpid(pid_t(pid), nullptr, WNOHANG) == 0 && !deadline.hasExpired())
        QThread::msleep(5);
}

} // namespace
