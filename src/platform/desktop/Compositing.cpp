#include "platform/desktop/Compositing.h"

#include "platform/desktop/XConnection.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

namespace {

std::optional<bool> g_pinned;

bool x11Composes()
{
#if QT_CONFIG(xcb)
    xcb_connection_t *connection = XConnection::current();
    if (!connection)
        return false;
    // The default screen's number: DISPLAY ":0.1" means screen 1.
    int screen = 0;
    const QString display = qEnvironmentVariable("DISPLAY");
    const qsizetype dot = display.lastIndexOf(QLatin1Char('.'));
    if (dot > display.lastIndexOf(QLatin1Char(':')))
        screen = display.mid(dot + 1).toInt();
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, uint16_t(name.size()), name.constData()), nullptr);
    if (!atom)
        return false;
    const xcb_atom_t selection = atom->atom;
    free(atom);
    if (selection == XCB_ATOM_NONE)
        return false;
    xcb_get_selection_owner_reply_t *owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr);
    if (!owner)
        return false;
    const bool composes = owner->owner != XCB_WINDOW_NONE;
    free(owner);
    return composes;
#else
    return false;
#endif
}

} // namespace

namespace Compositing {

bool available()
{
    if (g_pinned)
        return *g_pinned;
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb"))
        return x11Composes();
    if (platform.startsWith(QLatin1String("wayland")) || platform == QLatin1String("offscreen"))
        return true;
    return false;
}

void setForTesting(std::optional<bool> available)
{
    g_pinned = available;
}

} // namespace Compositing
