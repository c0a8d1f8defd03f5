#include "views/ink/PoolStarts.h"

#include <QThreadPool>
#include <atomic>
#include <dlfcn.h>
#include <functional>

namespace {
std::atomic<int> g_starts{0};
}

int PoolStarts::count()
{
    return g_starts.load();
}

void PoolStarts::reset()
{
    g_starts.store(0);
}

void QThreadPool::start(std::function<void()> functionToRun, int priority)
{
    using Start = void (*)(QThreadPool *, std::function<void()>, int);
    static const auto qtStart = reinterpret_cast<Start>(dlsym(RTLD_NEXT, "_ZN11QThreadPool5startESt8functionIFvvEEi"));
    ++g_starts;
    qtStart(this, std::move(functionToRun), priority);
}
