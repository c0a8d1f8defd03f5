// The pool thread that draws the faces' frames: frames run there, one after
// another on the same thread without a new pool task each; it is never held
// where the pool has a single thread, refuses a frame asked for from inside
// a frame, and lets the pool go when released.
#include "views/ViewTest.h"
#include "views/ink/FrameWorker.h"

#include <QThread>
#include <QThreadPool>
#include <gtest/gtest.h>

namespace {

struct FrameWorkerTest : ViewTest
{
    void TearDown() override
    {
        FrameWorker::release();
        QThreadPool::globalInstance()->setMaxThreadCount(QThread::idealThreadCount());
        ViewTest::TearDown();
    }
};

TEST_F(FrameWorkerTest, FramesRunOnOnePoolThreadThatStaysBetweenThem)
{
    QThreadPool &pool = *QThreadPool::globalInstance();
    pool.setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
    FrameWorker::release();
    ASSERT_TRUE(pool.waitForDone(5000));

    QList<QThread *> threads;
    for (int i = 0; i < 4; ++i) {
        const bool ran = FrameWorker::run([&] {
            EXPECT_TRUE(pool.contains(QThread::currentThread())) << "a pool thread, where no fill is split";
            threads.append(QThread::currentThread());
        });
        ASSERT_TRUE(ran);
        // The thread stays in the pool between frames, waiting for the next.
        EXPECT_EQ(pool.activeThreadCount(), 1);
    }
    ASSERT_EQ(threads.size(), 4);
    EXPECT_EQ(threads.count(threads.first()), 4) << "every frame on the same thread";
    EXPECT_NE(threads.first(), QThread::currentThread());

    // A frame asked for from inside a frame is refused, not waited for.
    bool inner = true;
    ASSERT_TRUE(FrameWorker::run([&] { inner = FrameWorker::run([] {}); }));
    EXPECT_FALSE(inner);

    // Released, it leaves the pool; the next frame makes it again.
    FrameWorker::release();
    EXPECT_TRUE(pool.waitForDone(5000));
    EXPECT_TRUE(FrameWorker::run([] {}));
}

// With a single pool thread, holding it would leave the raster engine's
// pieces of a fill drawn on the main thread waiting behind it: the frame is
// refused (and drawn by the caller), and the pool stays free.
TEST_F(FrameWorkerTest, APoolOfOneThreadIsNeverHeld)
{
    QThreadPool &pool = *QThreadPool::globalInstance();
    FrameWorker::release();
    ASSERT_TRUE(pool.waitForDone(5000));
    pool.setMaxThreadCount(1);
    bool ran = false;
    EXPECT_FALSE(FrameWorker::run([&] { ran = true; }));
    EXPECT_FALSE(ran);
    EXPECT_EQ(pool.activeThreadCount(), 0);
}

} // namespace
