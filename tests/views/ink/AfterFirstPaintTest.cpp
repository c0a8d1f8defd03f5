#include "views/ink/AfterFirstPaint.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct Painted : QWidget
{
    int pictures = 0;
    void paintEvent(QPaintEvent *) override { ++pictures; }
};

// The work waits for the widget's first picture and runs on a turn after it,
// once; a widget nobody sees has it run at the latest time; a widget that
// goes first takes it along.
TEST(AfterFirstPaint, RunsOnceAfterTheFirstPictureOrAtTheLatest)
{
    {
        Painted window;
        window.resize(120, 80);
        int runs = 0;
        AfterFirstPaint::run(&window, [&] {
            EXPECT_GE(window.pictures, 1) << "the work ran before the picture was made";
            ++runs;
        });
        QCoreApplication::processEvents();
        EXPECT_EQ(runs, 0) << "nothing painted yet";
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_TRUE(QTest::qWaitFor([&] { return runs == 1; }));
        window.update();
        QTest::qWait(50);
        window.repaint();
        QCoreApplication::processEvents();
        EXPECT_EQ(runs, 1) << "later pictures bring it back";
    }
    {
        // A window its children cover whole is never painted itself; its
        // work still follows its first picture, not the latest time.
        QWidget window;
        window.resize(120, 80);
        auto *cover = new Painted;
        cover->setParent(&window);
        cover->setAttribute(Qt::WA_OpaquePaintEvent);
        cover->setGeometry(window.rect());
        int runs = 0;
        AfterFirstPaint::run(&window, [&] {
            EXPECT_GE(cover->pictures, 1) << "the work ran before the picture was made";
            ++runs;
        }, 60000);
        window.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return runs == 1; }, 3000));
    }
    {
        QWidget hidden;
        int runs = 0;
        QElapsedTimer since;
        since.start();
        AfterFirstPaint::run(&hidden, [&] { ++runs; }, 100);
        EXPECT_TRUE(QTest::qWaitFor([&] { return runs == 1; }, 3000));
        EXPECT_GE(since.elapsed(), 90);
    }
    {
        int runs = 0;
        auto *gone = new QWidget;
        AfterFirstPaint::run(gone, [&] { ++runs; }, 20);
        delete gone;
        QTest::qWait(80);
        EXPECT_EQ(runs, 0);
    }
}

} // namespace
