#pragma once

struct xcb_connection_t;

// The application's connection to the X server, for the few calls Qt does
// not make itself; nothing off X11 (Wayland, the offscreen platform).
namespace XConnection {

xcb_connection_t *current();

} // namespace XConnection
