#include "views/ViewTest.h"
#include "views/ink/Saying.h"
#include "views/ink/SayingView.h"

#include <QSet>
#include <QTest>
#include <cmath>

namespace {

using SayingTest = ViewTest;

TEST_F(SayingTest, ThePickNeverRepeatsTheCurrentSayingAndReachesEveryOne)
{
    ASSERT_EQ(Saying::all().size(), 18);
    QRandomGenerator generator(17);
    QSet<Saying> seen;
    Saying current = Saying::random(std::nullopt, generator);
    for (int i = 0; i < 2000; ++i) {
        const Saying next = Saying::random(current, generator);
        ASSERT_NE(next, current);
        ASSERT_TRUE(Saying::all().contains(next));
        seen.insert(next);
        current = next;
    }
    EXPECT_EQ(seen.size(), 18);
    // A saying that is not in the table excludes nothing.
    const Saying stranger{QStringLiteral("無"), QStringLiteral("む"), QStringLiteral("なし")};
    EXPECT_TRUE(Saying::all().contains(Saying::random(stranger, generator)));
}

TEST_F(SayingTest, InEnglishOnlyTheReadingAndGlossChange)
{
    const Saying japanese = Saying::all()[2];
    EXPECT_EQ(japanese.phrase, QStringLiteral("只管打坐"));
    EXPECT_EQ(japanese.reading, QStringLiteral("しかんたざ"));
    Lang::setForTesting(false);
    const Saying english = Saying::all()[2];
    EXPECT_EQ(english.phrase, QStringLiteral("只管打坐"));
    EXPECT_EQ(english.reading, QStringLiteral("shikantaza"));
    EXPECT_EQ(english.gloss, QStringLiteral("Don't look aside; just do it"));
    // The program's own name reads the same in both.
    EXPECT_EQ(Saying::all()[7].phrase, QStringLiteral("Ondrevel"));
    EXPECT_EQ(Saying::all()[7].reading, QStringLiteral("Ondrevel"));
}

TEST_F(SayingTest, AClickAnywhereInTheBandShowsAnotherSaying)
{
    QWidget window;
    auto *view = new SayingView(&window);
    view->resize(400, view->sizeHint().height());
    window.show();
    EXPECT_EQ(view->height(), 54);
    EXPECT_EQ(view->toolTip(), QStringLiteral("押すと別の句に変わります"));
    for (int i = 0; i < 20; ++i) {
        const Saying before = view->saying();
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(2 + i, 2)); // far from the glyphs
        EXPECT_NE(view->saying(), before);
        EXPECT_TRUE(view->accessibleName().startsWith(view->saying().phrase));
    }
}

TEST_F(SayingTest, TheBandIs54HighAndGrowsOnlyWhenTheLinesNeedIt)
{
    EXPECT_EQ(SayingView::bandHeight(), 54);
    // At 1.6 the three lines (20.8, 15.2 and 16.8 px type) need more than
    // 54 px; the band grows rather than cut them.
    Kiv::setScale(1.6);
    EXPECT_EQ(SayingView::bandHeight(), int(std::ceil(1.2 * (20.8 + 15.2 + 16.8) + 3 + 4)));
}

} // namespace
