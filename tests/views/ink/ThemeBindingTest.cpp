#include "platform/fakes/FakeAppearance.h"
#include "views/ViewTest.h"
#include "views/ink/ThemeBinding.h"

#include <QMenu>
#include <QSignalSpy>
#include <QToolTip>

namespace {

using ThemeBindingTest = ViewTest;

TEST_F(ThemeBindingTest, EveryWindowTakesTheDesktopsAppearanceLive)
{
    QWidget before;
    before.show();
    FakeAppearance desktop(Kiv::Appearance::dark);
    ThemeBinding binding(&desktop);
    QSignalSpy changed(&binding, &ThemeBinding::appearanceChanged);

    EXPECT_EQ(Kiv::appearance(), Kiv::Appearance::dark) << "taken at once";
    EXPECT_EQ(before.palette().color(QPalette::Window), Kiv::colour(Kiv::Colour::paper, Kiv::Appearance::dark));
    EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipText), Kiv::colour(Kiv::Colour::ink, Kiv::Appearance::dark));

    QMenu later; // a window made afterwards (a context menu)
    later.ensurePolished();
    EXPECT_EQ(later.palette().color(QPalette::Window), Kiv::colour(Kiv::Colour::paper, Kiv::Appearance::dark));

    desktop.set(Kiv::Appearance::light);
    EXPECT_EQ(Kiv::appearance(), Kiv::Appearance::light);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(before.palette().color(QPalette::Window), Kiv::colour(Kiv::Colour::paper, Kiv::Appearance::light));
    EXPECT_EQ(later.palette().color(QPalette::Text), Kiv::colour(Kiv::Colour::ink, Kiv::Appearance::light));
    auto *child = new QWidget(&before);
    EXPECT_EQ(child->palette().color(QPalette::Window), Kiv::colour(Kiv::Colour::paper, Kiv::Appearance::light));
}

} // namespace
