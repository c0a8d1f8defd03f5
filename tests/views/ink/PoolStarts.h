#pragma once

// How many tasks Qt's own code handed to a thread pool with
// QThreadPool::start, the call through which the raster engine splits a
// large fill. The test program defines that function itself: it is found
// before Qt's at dynamic link time, counts the call and passes it on.
namespace PoolStarts {

int count();
void reset();

} // namespace PoolStarts
