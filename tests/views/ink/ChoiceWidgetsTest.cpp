#include "views/ViewTest.h"
#include "views/ink/InkButton.h"
#include "views/ink/Popover.h"
#include "views/ink/SegmentedControl.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <functional>

namespace {

using ChoiceWidgetsTest = ViewTest;

TEST_F(ChoiceWidgetsTest, APopoverOpensBesideItsAnchorAndStaysOnTheScreen)
{
    const QRect screen(0, 0, 1000, 800);
    const QSize size(300, 200);
    struct Case
    {
        const char *what;
        QRect anchor;
        Qt::Edge edge;
        QPoint expected;
    };
    const Case cases[] = {
        {"below, centred", QRect(400, 100, 100, 30), Qt::BottomEdge, QPoint(300, 136)},
        {"no room below: above", QRect(400, 700, 100, 30), Qt::BottomEdge, QPoint(300, 494)},
        {"above as asked", QRect(400, 500, 100, 30), Qt::TopEdge, QPoint(300, 294)},
        {"no room above: below", QRect(400, 20, 100, 30), Qt::TopEdge, QPoint(300, 56)},
        {"kept inside the left edge", QRect(10, 100, 40, 30), Qt::BottomEdge, QPoint(0, 136)},
        {"kept inside the right edge", QRect(950, 100, 40, 30), Qt::BottomEdge, QPoint(700, 136)},
        {"to the right, centred", QRect(100, 300, 50, 50), Qt::RightEdge, QPoint(156, 225)},
        {"no room to the right: left", QRect(850, 300, 50, 50), Qt::RightEdge, QPoint(544, 225)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Popover::placement(c.anchor, size, screen, c.edge), c.expected) << c.what;
}

TEST_F(ChoiceWidgetsTest, APopoverClosesOnEscapeAndSaysSo)
{
    QWidget window;
    auto *anchor = new InkButton(QStringLiteral("選ぶ"), InkLook::plain(Kiv::font(12), {}, {}), &window);
    window.resize(300, 200);
    window.show();
    auto *popover = new Popover(anchor);
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(14, 14, 14, 14);
    auto *edit = new QLineEdit(content);
    layout->addWidget(edit);
    popover->setContent(content);
    QSignalSpy dismissed(popover, &Popover::dismissed);

    popover->open();
    EXPECT_TRUE(popover->isVisible());
    EXPECT_GE(popover->width(), edit->sizeHint().width() + 28);
    QTest::keyClick(popover, Qt::Key_Escape);
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(dismissed.size(), 1);
}

// Opened aside, a popover leaves the keyboard with the window beneath and
// closes on a click elsewhere or Escape there; opened again as a popover,
// it takes the keys.
TEST_F(ChoiceWidgetsTest, APopoverOpenedAsideLeavesTheKeysWhereTheyAre)
{
    QWidget window;
    auto *column = new QVBoxLayout(&window);
    auto *field = new QLineEdit(&window);
    auto *anchor = new InkButton(QStringLiteral("選ぶ"), InkLook::plain(Kiv::font(12), {}, {}), &window);
    column->addWidget(field);
    column->addWidget(anchor);
    window.resize(300, 200);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();

    auto *popover = new Popover(anchor);
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    auto *inside = new InkButton(QStringLiteral("押す"), InkLook::plain(Kiv::font(12), {}, {}), content);
    layout->addWidget(inside);
    popover->setContent(content);
    QSignalSpy dismissed(popover, &Popover::dismissed);
    QSignalSpy pressed(inside, &InkButton::clicked);

    struct Case
    {
        const char *what;
        std::function<void()> closeIt;
    };
    const Case cases[] = {
        {"a click in the window", [&] { QTest::mouseClick(field, Qt::LeftButton); }},
        {"Escape in the window", [&] { QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_Escape); }},
        {"another opened aside",
         [&] {
             auto *other = new Popover(field);
             other->setContent(new QWidget);
             other->openAside();
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        dismissed.clear();
        popover->openAside();
        ASSERT_TRUE(popover->isVisible());
        EXPECT_TRUE(popover->isAside());
        EXPECT_EQ(QApplication::activeWindow(), &window);
        EXPECT_FALSE(QApplication::activePopupWidget());
        QTest::keyClicks(static_cast<QWidget *>(nullptr), QStringLiteral("ab"));
        EXPECT_TRUE(field->hasFocus());
        EXPECT_TRUE(field->text().endsWith(QStringLiteral("ab")));
        c.closeIt();
        EXPECT_FALSE(popover->isVisible());
        EXPECT_EQ(dismissed.size(), 1);
    }

    // Its buttons take clicks.
    popover->openAside();
    QTest::mouseClick(inside, Qt::LeftButton);
    EXPECT_EQ(pressed.size(), 1);
    EXPECT_TRUE(popover->isVisible());

    // open() while shown aside: the same popover, now a popup with the keys,
    // and no dismissal in between.
    dismissed.clear();
    popover->open();
    EXPECT_TRUE(popover->isVisible());
    EXPECT_FALSE(popover->isAside());
    EXPECT_EQ(QApplication::activePopupWidget(), popover);
    EXPECT_EQ(dismissed.size(), 0);
    QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_Escape);
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(dismissed.size(), 1);
}

TEST_F(ChoiceWidgetsTest, ASegmentedControlChoosesOneByClickOrArrows)
{
    SegmentedControl control({QStringLiteral("予定"), QStringLiteral("したこと")});
    control.setAccessibleName(QStringLiteral("種類"));
    control.show();
    QSignalSpy changed(&control, &SegmentedControl::currentChanged);
    EXPECT_EQ(control.currentIndex(), 0);
    EXPECT_TRUE(control.segment(0)->isChecked());

    QTest::mouseClick(control.segment(1), Qt::LeftButton);
    EXPECT_EQ(control.currentIndex(), 1);
    EXPECT_TRUE(control.segment(1)->isChecked());
    EXPECT_FALSE(control.segment(0)->isChecked());
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.constFirst().constFirst().toInt(), 1);

    QTest::mouseClick(control.segment(1), Qt::LeftButton);
    EXPECT_EQ(changed.size(), 1) << "choosing the chosen one changes nothing";

    control.segment(1)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(control.segment(1), Qt::Key_Left);
    EXPECT_EQ(control.currentIndex(), 0);
    EXPECT_EQ(control.focusWidget(), control.segment(0)) << "the focus moves with the choice";
    QTest::keyClick(control.segment(0), Qt::Key_Left);
    EXPECT_EQ(control.currentIndex(), 0) << "stops at the first";
    EXPECT_EQ(changed.size(), 2);

    control.setCurrentIndex(1);
    EXPECT_EQ(control.currentIndex(), 1);
    EXPECT_EQ(changed.size(), 2) << "a change by the program is not reported";
    EXPECT_EQ(control.segment(1)->focusPolicy(), Qt::StrongFocus) << "Tab reaches the chosen segment";
    EXPECT_EQ(control.segment(0)->focusPolicy(), Qt::ClickFocus);
}

} // namespace
