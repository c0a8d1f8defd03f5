#include "platform/desktop/XSendBuffer.h"

#include <QGuiApplication>

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
#if QT_CONFIG(xcb)
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (xcb_connection_t *connection = x11 ? x11->connection() : nullptr)
        widen(xcb_get_file_descriptor(connection));
#endif
}

} // namespace XSendBuffer
