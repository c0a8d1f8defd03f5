#pragma once

#include <functional>

// The thread that draws the faces' larger frames: one task of Qt's global
// pool that stays while frames keep coming (a breathing ring, a walker).
//
// A frame handed to the pool as a task of its own woke a pool thread three
// times (the pool wakes it while holding its lock, and the thread then
// waits for that lock, twice), four or more times a second while a face
// moves. The frame thread waits on a semaphore instead: a frame is one wake
// of it and one of the caller waiting for it. Fills drawn on it are not
// split among the pool's other threads, as on any pool thread.
//
// It leaves the pool after kIdleMs without a frame and when the application
// ends. Where the pool has a single thread it is never held: the raster
// engine's pieces of a fill drawn on the main thread would wait behind it.
namespace FrameWorker {

constexpr int kIdleMs = 10'000;

// Runs `work` on the frame thread and returns once it has run: true. False,
// with `work` not run, when no thread can be had: the pool has a single
// thread or none free, another thread is drawing a frame, or the caller is
// the frame thread itself.
bool run(const std::function<void()> &work);

// Lets the frame thread go now (it is made again for the next frame).
void release();

} // namespace FrameWorker
