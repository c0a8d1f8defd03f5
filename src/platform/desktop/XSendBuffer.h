#pragma once

// Room in the X connection's socket for a few frames of a running face.
//
// The windows' pictures go to the X server over the connection itself (no
// shared memory, see main.cpp). A breathing ring sends some 140 KB a frame;
// the socket's default send buffer (about 208 KB, counted with the kernel's
// own overhead for each piece) fills before the server has read the frame,
// and the painting thread then sleeps in poll until the server has caught
// up, about twice a frame. With room for a few frames a frame goes out in
// one go. The kernel caps what is asked at net.core.wmem_max.
namespace XSendBuffer {

// What is asked for: room for about seven frames of the ring.
constexpr int kBytes = 1 << 20;

// Asks for kBytes of send buffer on the socket `fd`; returns the size the
// kernel then reports (twice what it granted, for its overhead), or -1.
int widen(int fd);

// The same for the application's X connection; nothing on other platforms.
void widenForDisplay();

} // namespace XSendBuffer
