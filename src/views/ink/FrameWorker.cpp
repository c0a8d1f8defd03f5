#include "views/ink/FrameWorker.h"

#include <QCoreApplication>
#include <QMutex>
#include <QSemaphore>
#include <QThreadPool>

namespace {

struct Worker
{
    // Held by whoever hands a frame over, for the whole hand-over, and by
    // the thread while it decides to leave: a frame is never handed to a
    // thread that is leaving.
    QMutex claim;
    QSemaphore request;
    QSemaphore done;
    // The frame to draw; none tells the thread to leave.
    const std::function<void()> *work = nullptr;
    // Under the claim: whether the thread is in the pool, and whether the
    // application's end lets it go.
    bool alive = false;
    bool letGoAtEnd = false;
};

Worker &worker()
{
    static Worker shared;
    return shared;
}

void serve(Worker &w)
{
    for (;;) {
        if (!w.request.tryAcquire(1, FrameWorker::kIdleMs)) {
            // No frame for a while. A frame being handed over holds the
            // claim (and its request is then there to take): wait on.
            if (!w.claim.tryLock())
                continue;
            w.alive = false;
            w.claim.unlock();
            return;
        }
        if (!w.work) {
            w.done.release();
            return;
        }
        (*w.work)();
        w.done.release();
    }
}

void letGoAtEnd()
{
    {
        QMutexLocker lock(&worker().claim);
        worker().letGoAtEnd = false;
    }
    FrameWorker::release();
}

} // namespace

bool FrameWorker::run(const std::function<void()> &work)
{
    Worker &w = worker();
    if (!w.claim.tryLock())
        return false;
    if (!w.alive) {
        QThreadPool *pool = QThreadPool::globalInstance();
        if (!QCoreApplication::instance() || pool->maxThreadCount() < 2 || !pool->tryStart([&w] { serve(w); })) {
            w.claim.unlock();
            return false;
        }
        w.alive = true;
        // The pool waits for its tasks when it ends, after the application.
        if (!w.letGoAtEnd) {
            qAddPostRoutine(&letGoAtEnd);
            w.letGoAtEnd = true;
        }
    }
    w.work = &work;
    w.request.release();
    w.done.acquire();
    w.work = nullptr;
    w.claim.unlock();
    return true;
}

void FrameWorker::release()
{
    Worker &w = worker();
    QMutexLocker lock(&w.claim);
    if (!w.alive)
        return;
    w.work = nullptr;
    w.request.release();
    w.done.acquire();
    w.alive = false;
}
