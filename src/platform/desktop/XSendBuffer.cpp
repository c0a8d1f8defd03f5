#include "platform/desktop/XSendBuffer.h"

#include "platform/desktop/XConnection.h"

#include <sys/socket.h>
#include <xcb/xcb.h>

namespace XSendBuffer {

int widen(int fd)
{
    int size = kBytes;
    if (setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &size, sizeof size) != 0)
        return -1;
    socklen_t length = sizeof size;
    if (getsockopt(fd, SOL_SOCKET, SO_SNDBUF, &size, &length) != 0)
        return -1;
    return size;
}

void widenForDisplay()
{
    if (xcb_connection_t *connection = XConnection::current())
        widen(xcb_get_file_descriptor(connection));
}

} // namespace XSendBuffer
