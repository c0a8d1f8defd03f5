#include "platform/desktop/XConnection.h"

#include <QGuiApplication>

namespace XConnection {

xcb_connection_t *current()
{
#if QT_CONFIG(xcb)
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
#else
    return nullptr;
#endif
}

} // namespace XConnection
