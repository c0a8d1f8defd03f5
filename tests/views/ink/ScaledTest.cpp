#include "views/ViewTest.h"
#include "views/ink/Scaled.h"

#include <QGraphicsProxyWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

using ScaledTest = ViewTest;

TEST_F(ScaledTest, TheRoomIsTheNaturalSizeTimesTheFactor)
{
    struct Case
    {
        QSizeF natural;
        double factor;
        std::optional<QSizeF> room;
    };
    const Case cases[] = {
        {{240, 280}, 1.5, QSizeF(360, 420)},
        {{240, 280}, 1.0, QSizeF(240, 280)},
        {{0, 30}, 1.5, QSizeF(0, 45)}, // one side measured counts as measured
        {{0, 0}, 1.5, std::nullopt},   // nothing measured yet: no frame
    };
    for (const Case &c : cases)
        EXPECT_EQ(Scaled::room(c.natural, c.factor), c.room) << c.natural.width() << "x" << c.natural.height();
}

// A control of a fixed size of its own, with a button in its far corner.
QWidget *fixedControl(QPushButton **button)
{
    auto *content = new QWidget;
    content->setFixedSize(240, 280);
    *button = new QPushButton(QStringLiteral("7"), content);
    (*button)->setGeometry(200, 250, 40, 30);
    return content;
}

TEST_F(ScaledTest, TheControlIsDrawnLargerFromItsTopLeftAndStaysUsable)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    QPushButton *button = nullptr;
    auto *scaled = new Scaled(1.5, fixedControl(&button));
    layout->addWidget(scaled, 0, Qt::AlignLeft | Qt::AlignTop);
    window.resize(600, 600);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(scaled->sizeHint(), QSize(360, 420));
    EXPECT_EQ(scaled->size(), QSize(360, 420));
    EXPECT_EQ(scaled->content()->size(), QSize(240, 280)) << "the control keeps its own layout";
    EXPECT_EQ(scaled->mapFromScene(QPointF(0, 0)), QPoint(0, 0)) << "top-left corner stays put";

    QSignalSpy clicked(button, &QPushButton::clicked);
    // The button's centre (220, 265) is drawn at 1.5 times that.
    QTest::mouseClick(scaled->viewport(), Qt::LeftButton, {}, QPoint(330, 397));
    EXPECT_EQ(clicked.size(), 1);
}

TEST_F(ScaledTest, TheRoomFollowsTheControlsNaturalSize)
{
    QPushButton *button = nullptr;
    QWidget *content = fixedControl(&button);
    Scaled scaled(2.0, content);
    EXPECT_EQ(scaled.sizeHint(), QSize(480, 560));
    content->setFixedSize(100, 50);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(scaled.sizeHint(), QSize(200, 100));
}

} // namespace
