#include "views/ViewTest.h"
#include "views/tasks/UndatedFold.h"

#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

using UndatedFoldTest = ViewTest;

// A host as the choosers keep it: the flag is its own, the fold mirrors it.
struct Host : QWidget
{
    bool showsUndated = false;
    UndatedFold *fold = new UndatedFold(this);
    explicit Host(int count)
    {
        auto *column = new QVBoxLayout(this);
        column->addWidget(fold);
        fold->set(count, showsUndated);
        connect(fold, &UndatedFold::openChanged, this, [this](bool open) { showsUndated = open; });
        resize(260, 60);
        show();
        QCoreApplication::processEvents();
    }
};

TEST_F(UndatedFoldTest, NothingBelowACountOfOne)
{
    for (int count : {0, -1}) {
        Host host(count);
        EXPECT_FALSE(host.fold->isVisible()) << count;
    }
}

TEST_F(UndatedFoldTest, ClickAndKeysFlipTheHostsFlag)
{
    Host host(12);
    ASSERT_TRUE(host.fold->isVisible());
    EXPECT_FALSE(host.fold->isOpen()); // closed when first shown
    EXPECT_EQ(host.fold->text(), QStringLiteral("日を決めない　12"));
    EXPECT_EQ(host.fold->accessibleName(), QStringLiteral("日を決めないものを12件開く"));
    // The row spans the width it is given; all of it is the hit area.
    EXPECT_GT(host.fold->width(), 200);
    QTest::mouseClick(host.fold, Qt::LeftButton, {}, QPoint(host.fold->width() - 4, host.fold->height() / 2));
    EXPECT_TRUE(host.showsUndated);
    EXPECT_TRUE(host.fold->isOpen());
    EXPECT_EQ(host.fold->accessibleName(), QStringLiteral("日を決めないものを畳む"));

    host.activateWindow();
    host.fold->setFocus(Qt::TabFocusReason);
    QTest::keyClick(host.fold, Qt::Key_Space);
    EXPECT_FALSE(host.showsUndated);
    QTest::keyClick(host.fold, Qt::Key_Return);
    EXPECT_TRUE(host.showsUndated);
}

TEST_F(UndatedFoldTest, EnglishTextAndPadding)
{
    Lang::setForTesting(false);
    Host host(3);
    EXPECT_EQ(host.fold->text(), QStringLiteral("No date  3"));
    EXPECT_EQ(host.fold->accessibleName(), QStringLiteral("Show 3 undated items"));
    EXPECT_NEAR(host.fold->height(), 16 + Kiv::lineHeight(Kiv::font(12)), 1.0);
}

} // namespace
