// The X connection's socket gets room for a few frames; the kernel grants
// what its cap allows, and a socket it cannot set is told, not hidden.
#include "platform/desktop/XSendBuffer.h"

#include <QGuiApplication>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

TEST(XSendBuffer, WidensAStreamSocketAndToldWhenItCannot)
{
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    int before = 0;
    socklen_t length = sizeof before;
    ASSERT_EQ(getsockopt(pair[0], SOL_SOCKET, SO_SNDBUF, &before, &length), 0);
    const int after = XSendBuffer::widen(pair[0]);
    // Linux reports twice what it grants; it grants what was asked up to
    // net.core.wmem_max, which is never below the default.
    EXPECT_GT(after, before);
    close(pair[0]);
    close(pair[1]);

    EXPECT_EQ(XSendBuffer::widen(-1), -1);
    // Off X (the tests' offscreen platform) there is nothing to widen.
    XSendBuffer::widenForDisplay();
}
