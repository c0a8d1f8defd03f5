// The layout check on small windows whose faults are known.
#include "support/LayoutCheck.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/KivBackground.h"
#include "views/ink/LayoutRole.h"
#include "views/ink/TextBlock.h"
#include "views/timer/RingView.h"
#include "ViewTest.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>

namespace {

struct LayoutCheckTest : ViewTest
{
    QWidget window;

    void SetUp() override
    {
        ViewTest::SetUp();
        window.setAttribute(Qt::WA_DontShowOnScreen);
    }

    QStringList check(QSize size)
    {
        window.resize(size);
        window.show();
        QApplication::processEvents();
        return LayoutCheck::findings(&window);
    }

    static bool has(const QStringList &findings, const QString &start, const QString &name)
    {
        for (const QString &f : findings)
            if (f.startsWith(start) && f.contains(name))
                return true;
        return false;
    }
};

std::string joined(const QStringList &lines)
{
    return lines.join(QLatin1Char('\n')).toStdString();
}

TEST_F(LayoutCheckTest, SiblingsThatOverlapUnlessOneIsAnOverlay)
{
    auto *a = new QWidget(&window);
    a->setObjectName(QStringLiteral("a"));
    a->setGeometry(10, 10, 100, 40);
    auto *b = new QWidget(&window);
    b->setObjectName(QStringLiteral("b"));
    b->setGeometry(60, 40, 100, 40);
    auto *c = new QWidget(&window);
    c->setObjectName(QStringLiteral("c"));
    c->setGeometry(10, 80, 100, 40); // touches b's bottom edge: no overlap

    QStringList found = check(QSize(200, 200));
    EXPECT_EQ(found.size(), 1) << joined(found);
    EXPECT_TRUE(has(found, QStringLiteral("overlap:"), QStringLiteral("/a at 10,10 100×40 and b at 60,40")))
        << joined(found);

    LayoutRole::setOverlay(b);
    found = LayoutCheck::findings(&window);
    EXPECT_TRUE(found.isEmpty()) << joined(found);
    // The paper behind a page is an overlay of its own accord.
    auto *paper = new KivBackground(&window);
    paper->setGeometry(window.rect());
    paper->show();
    paper->lower();
    EXPECT_TRUE(LayoutCheck::findings(&window).isEmpty());
}

TEST_F(LayoutCheckTest, AWidgetOutsideItsParentUnlessItScrolls)
{
    auto *box = new QWidget(&window);
    box->setObjectName(QStringLiteral("box"));
    box->setGeometry(0, 0, 100, 100);
    auto *inner = new QWidget(box);
    inner->setObjectName(QStringLiteral("inner"));
    inner->setGeometry(50, 80, 40, 40);
    auto *area = new QScrollArea(&window);
    area->setGeometry(0, 110, 100, 80);
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("content"));
    content->resize(100, 400);
    area->setWidget(content);

    const QStringList found = check(QSize(200, 200));
    EXPECT_EQ(found.size(), 1) << joined(found);
    EXPECT_TRUE(has(found, QStringLiteral("outside its parent:"), QStringLiteral("box/inner at 50,80 40×40 in")))
        << joined(found);
}

TEST_F(LayoutCheckTest, TextsCutShortUnlessTheyMayElide)
{
    auto *column = new QVBoxLayout(&window);
    auto *block = new QLabel(QStringLiteral("A description that wraps onto several lines at this width"));
    block->setWordWrap(true);
    block->setObjectName(QStringLiteral("wraps"));
    block->setFixedHeight(16); // one line of room for three
    auto *title = new ElidedLabel(QStringLiteral("A name far too long for the width it has here"), Kiv::font(12),
                                  {Kiv::Colour::ink});
    title->setObjectName(QStringLiteral("elides"));
    auto *own = new ElidedLabel(QStringLiteral("The user's own title, long as it is written down"), Kiv::font(12),
                                {Kiv::Colour::ink});
    own->setObjectName(QStringLiteral("ownTitle"));
    LayoutRole::setMayElide(own);
    auto *label = new QLabel(QStringLiteral("A plain label that cannot wrap"));
    label->setObjectName(QStringLiteral("plain"));
    label->setMinimumWidth(1);
    // A painted button let to shrink draws its label with an ellipsis.
    auto *button = new InkButton(QStringLiteral("Go round in this order"),
                                 InkLook::plain(Kiv::font(14), {Kiv::Colour::indigo}, {Kiv::Colour::indigo}));
    button->setObjectName(QStringLiteral("narrowButton"));
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    button->setMinimumWidth(40);
    for (QWidget *w : {static_cast<QWidget *>(block), static_cast<QWidget *>(title), static_cast<QWidget *>(own),
                       static_cast<QWidget *>(label), static_cast<QWidget *>(button)})
        column->addWidget(w);

    const QStringList found = check(QSize(120, 200));
    EXPECT_TRUE(has(found, QStringLiteral("cut:"), QStringLiteral("wraps"))) << joined(found);
    EXPECT_TRUE(has(found, QStringLiteral("cut with an ellipsis:"), QStringLiteral("elides"))) << joined(found);
    EXPECT_TRUE(has(found, QStringLiteral("text wider than it is:"), QStringLiteral("plain"))) << joined(found);
    EXPECT_TRUE(has(found, QStringLiteral("cut with an ellipsis:"), QStringLiteral("narrowButton"))) << joined(found);
    EXPECT_FALSE(has(found, QString(), QStringLiteral("ownTitle"))) << joined(found);

    block->setMinimumHeight(0);
    block->setMaximumHeight(QWIDGETSIZE_MAX);
    title->setText(QStringLiteral("Short"));
    label->setWordWrap(true);
    label->setMinimumWidth(0);
    button->setText(QStringLiteral("Go"));
    const QStringList mended = check(QSize(120, 300));
    EXPECT_TRUE(mended.isEmpty()) << joined(mended);
}

// A column whose gap of 12 may shrink to nothing: in a window too short the
// widgets close up and touch, which no rectangle shows; the gap shows it.
// Made right (it never shrinks), the same window squeezes the widgets
// instead, and only a scroll area around the column mends it.
TEST_F(LayoutCheckTest, ABrokenSpacerIsFoundAndTheMendedOneScrolls)
{
    auto build = [](QWidget *host, QSizePolicy::Policy gap) {
        auto *column = new QVBoxLayout(host);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        auto *button = new QPushButton(QStringLiteral("Let go"));
        button->setObjectName(QStringLiteral("letGo"));
        column->addWidget(button);
        column->addSpacerItem(new QSpacerItem(0, 12, QSizePolicy::Minimum, gap));
        auto *chip = new QPushButton(QStringLiteral("Rain"));
        chip->setObjectName(QStringLiteral("chip"));
        column->addWidget(chip);
    };
    // Each column in a box of the window's size: a window of its own would
    // refuse to be smaller than its layout.
    auto host = [this](int height) {
        auto *box = new QWidget(&window);
        box->setGeometry(0, 0, 200, height);
        return box;
    };
    QWidget *broken = host(0);
    build(broken, QSizePolicy::Expanding); // may shrink to 0
    const int tight = broken->layout()->minimumSize().height();
    broken->resize(200, tight);
    QStringList found = check(QSize(200, 300));
    EXPECT_TRUE(has(found, QStringLiteral("gap lost: a gap of 12 is 0"), QString())) << joined(found);
    delete broken;

    QWidget *mended = host(tight);
    build(mended, QSizePolicy::MinimumExpanding); // at least 12
    mended->show();
    found = check(QSize(200, 300));
    EXPECT_TRUE(has(found, QStringLiteral("squeezed:"), QStringLiteral("letGo")) ||
                has(found, QStringLiteral("squeezed:"), QStringLiteral("chip")) ||
                has(found, QStringLiteral("outside its parent:"), QStringLiteral("chip")))
        << joined(found);
    delete mended;

    auto *area = new QScrollArea(host(tight));
    area->setGeometry(0, 0, 200, tight);
    area->setWidgetResizable(true);
    auto *content = new QWidget;
    build(content, QSizePolicy::MinimumExpanding);
    area->setWidget(content);
    area->parentWidget()->show();
    found = check(QSize(200, 300));
    EXPECT_TRUE(found.isEmpty()) << joined(found);
}

// A painted face counts by what it draws: the ring's empty corners are
// free, its track is not.
TEST_F(LayoutCheckTest, APaintedFaceCountsByItsDrawing)
{
    auto *paper = new KivBackground(&window);
    paper->setGeometry(0, 0, 400, 400);
    auto *ring = new RingView(&window);
    ring->setObjectName(QStringLiteral("ring"));
    ring->setGeometry(QRect(QPoint(20, 20), ring->sizeHint()));
    ring->setInputs(0.3, Phase::focus, false);
    const QRect drawn = LayoutCheck::drawnBounds(ring);
    EXPECT_GE(drawn.width(), int(RingView::kSide) - 2);
    EXPECT_LE(drawn.width(), ring->width());
    // A sibling in the ring's empty corner stands clear of it.
    auto *corner = new QWidget(&window);
    corner->setObjectName(QStringLiteral("corner"));
    corner->setGeometry(20, 20, 30, 30);
    // A clock on the ring, as wide as the ring, lies on its track.
    auto *clock = new QWidget(ring);
    clock->setObjectName(QStringLiteral("clock"));
    clock->setGeometry(0, ring->height() / 2 - 30, ring->width(), 60);

    QStringList found = check(QSize(400, 400));
    EXPECT_EQ(found.size(), 1) << joined(found);
    EXPECT_TRUE(has(found, QStringLiteral("on the drawing:"), QStringLiteral("ring/clock"))) << joined(found);

    clock->setGeometry(ring->width() / 2 - 60, ring->height() / 2 - 30, 120, 60); // inside the track
    found = LayoutCheck::findings(&window);
    EXPECT_TRUE(found.isEmpty()) << joined(found);
}

} // namespace
