#include "platform/desktop/TerminationSignals.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

TEST(TerminationSignals, EachSignalArrivesInTheEventLoopAndTheProcessLives)
{
    // Ignored before, as a shell may leave SIGHUP: ignored again afterwards.
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction before = {};
    ASSERT_EQ(::sigaction(SIGHUP, &ignore, &before), 0);
    {
        TerminationSignals caught;
        ASSERT_TRUE(caught.isListening());
        QSignalSpy received(&caught, &TerminationSignals::received);
        for (int s : TerminationSignals::caught())
            ASSERT_EQ(::raise(s), 0);
        ::raise(SIGTERM); // a second one of a kind is delivered too
        EXPECT_TRUE(received.isEmpty()) << "nothing runs inside the handler";
        ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 4; }));
        QList<int> numbers;
        for (const QList<QVariant> &args : received)
            numbers << args.at(0).toInt();
        EXPECT_EQ(numbers, (QList<int>{SIGTERM, SIGHUP, SIGINT, SIGTERM}));

        TerminationSignals second;
        EXPECT_FALSE(second.isListening()) << "one listener at a time";
    }
    struct sigaction after = {};
    ASSERT_EQ(::sigaction(SIGHUP, nullptr, &after), 0);
    EXPECT_EQ(after.sa_handler, SIG_IGN);
    ::sigaction(SIGHUP, &before, nullptr);
}
