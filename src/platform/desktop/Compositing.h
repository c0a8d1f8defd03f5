#pragma once

#include <optional>

// Whether windows of the program can have see-through parts: a popup with
// rounded corners and a soft shadow needs a compositing window manager to
// blend it over what lies beneath. Wayland always composes; on X11 it
// depends on the window manager (a compositing manager owns the screen's
// _NET_WM_CM_Sn selection); the offscreen platform of tests and still
// pictures draws into images, which keep their transparency. Without it a
// see-through pixel would show black, so popups are drawn opaque instead.
namespace Compositing {

bool available();

// Tests pin the answer; nullopt asks the platform again.
void setForTesting(std::optional<bool> available);

} // namespace Compositing
