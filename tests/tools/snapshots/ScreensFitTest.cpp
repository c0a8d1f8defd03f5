// Every screen and state of the picture tool, live at the main window's
// ideal and least sizes (its own windows at their sizes), at text scale 1.0
// and 1.6, in Japanese and English, walked by the layout check: nothing
// overlaps, leaves its parent, is squeezed or cut, and the window takes the
// size. One test per screen, so that they run side by side.
#include "snapshots/ScreenStage.h"
#include "snapshots/Screens.h"
#include "snapshots/SnapshotRig.h"
#include "support/LayoutCheck.h"
#include "views/ink/StillPicture.h"

#include "app/RootView.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

struct ScreensFit : ::testing::TestWithParam<std::string>
{
};

const Screen &screenNamed(const std::string &name)
{
    for (const Screen &screen : Screens::all())
        if (screen.name.toStdString() == name)
            return screen;
    static const Screen none;
    return none;
}

TEST_P(ScreensFit, AtEverySizeScaleAndLanguage)
{
    const Screen &screen = screenNamed(GetParam());
    ASSERT_TRUE(bool(screen.build));
    SnapshotRig rig;
    QStringList failures;
    for (bool japanese : {true, false})
        for (double scale : {1.0, 1.6}) {
            StillPicture::Applied applied({Kiv::Appearance::light, scale, japanese, 1.0});
            const QList<QSize> sizes = screen.inMainWindow() ? Screens::mainWindowSizes() : QList<QSize>{QSize()};
            for (const QSize size : sizes) {
                ScreenStage stage(screen, rig, ScreenStage::Form::live, size);
                QStringList found;
                if (!stage.refusedSize().isEmpty())
                    found << stage.refusedSize();
                found << LayoutCheck::findings(stage.widget());
                for (QWidget *window : stage.openedWindows())
                    found << LayoutCheck::findings(window);
                if (found.isEmpty())
                    continue;
                failures << QStringLiteral("%1 at %2×%3, scale %4, %5:")
                                .arg(screen.name)
                                .arg(stage.widget()->width())
                                .arg(stage.widget()->height())
                                .arg(scale, 0, 'f', 1)
                                .arg(japanese ? QStringLiteral("Japanese") : QStringLiteral("English"));
                for (const QString &line : found)
                    failures << QStringLiteral("  ") + line;
            }
        }
    EXPECT_TRUE(failures.isEmpty()) << failures.join(QLatin1Char('\n')).toStdString();
}

std::vector<std::string> screenNames()
{
    std::vector<std::string> out;
    for (const Screen &screen : Screens::all())
        out.push_back(screen.name.toStdString());
    return out;
}

// The running column at the window's own size: nothing scrolls, the faces
// giving way first (the paused panel, the walk's lines); in the least window
// the faces stop at their least height and the column scrolls instead.
TEST(RunningColumn, TheFaceGivesWayBeforeTheColumnScrolls)
{
    SnapshotRig rig;
    for (const Screen &screen : Screens::all()) {
        if (!screen.name.startsWith(QStringLiteral("root-running")))
            continue;
        for (bool japanese : {true, false}) {
            StillPicture::Applied applied({Kiv::Appearance::light, 1.0, japanese, 1.0});
            for (const QSize size : Screens::mainWindowSizes()) {
                SCOPED_TRACE(QStringLiteral("%1 at %2×%3, %4")
                                 .arg(screen.name)
                                 .arg(size.width())
                                 .arg(size.height())
                                 .arg(japanese ? QStringLiteral("Japanese") : QStringLiteral("English"))
                                 .toStdString());
                ScreenStage stage(screen, rig, ScreenStage::Form::live, size);
                auto *scroll = stage.widget()->findChild<QScrollArea *>(QStringLiteral("timer.scroll"));
                ASSERT_NE(scroll, nullptr);
                QWidget *face = nullptr;
                for (const char *name : {"timer.incense", "timer.ring", "timer.kinhin"})
                    if (auto *f = stage.widget()->findChild<QWidget *>(QString::fromLatin1(name)); f && f->isVisible())
                        face = f;
                ASSERT_NE(face, nullptr);
                const int scrolled = scroll->verticalScrollBar()->maximum();
                if (size == RootView::kIdealSize) {
                    EXPECT_EQ(scrolled, 0);
                } else {
                    EXPECT_GT(scrolled, 0);
                    EXPECT_EQ(face->height(), face->minimumHeight()) << "shrunk as far as it may before scrolling";
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreensFit, ::testing::ValuesIn(screenNames()),
                         [](const ::testing::TestParamInfo<std::string> &info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
