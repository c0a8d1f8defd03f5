// The shell's rules, without widgets: which page the main window shows for
// the application's state, the intro gate, the tab texts, which links the
// version news opens, how sheets fit the screen and when closing the last
// window quits.
#include "app/AppDelegate.h"
#include "app/RootPage.h"
#include "app/SheetDialog.h"
#include "app/TopTabs.h"
#include "app/VersionBanner.h"
#include "app/WindowPlacement.h"
#include "core/L.h"

#include <QUrl>
#include <gtest/gtest.h>

namespace {

using K = RootPage::Kind;

struct PageCase
{
    RootTab tab;
    bool preparing;
    bool hasMode;
    bool sweeping;
    K expected;
};

TEST(RootPageTest, EachStateHasItsPage)
{
    const PageCase cases[] = {
        {RootTab::pomodoro, false, false, false, K::modeSelection},
        {RootTab::pomodoro, false, true, false, K::running},
        // A preparation wins over the engine's mode.
        {RootTab::pomodoro, true, true, false, K::preparation},
        {RootTab::pomodoro, true, false, true, K::preparation},
        // The other tabs keep their page whatever the timer does.
        {RootTab::day, true, true, true, K::day},
        {RootTab::daily, true, true, true, K::daily},
        {RootTab::tasks, true, true, false, K::tasks},
        {RootTab::tasks, false, false, true, K::sweep},
    };
    for (const PageCase &c : cases)
        EXPECT_EQ(RootPage::of(c.tab, c.preparing, c.hasMode, c.sweeping), c.expected)
            << rawValue(c.tab).toStdString() << c.preparing << c.hasMode << c.sweeping;
}

TEST(RootPageTest, TheIntroductionShowsOnlyUnseenAndNeverInPictures)
{
    EXPECT_TRUE(RootPage::showsIntro(false, false));
    EXPECT_FALSE(RootPage::showsIntro(true, false));
    EXPECT_FALSE(RootPage::showsIntro(false, true));
    EXPECT_FALSE(RootPage::showsIntro(true, true));
}

TEST(TabTextsTest, TitlesHintsAndTheSweepDayTip)
{
    Lang::setForTesting(false);
    EXPECT_EQ(allRootTabs(), (QList<RootTab>{RootTab::pomodoro, RootTab::day, RootTab::tasks, RootTab::daily}));
    QStringList titles;
    for (RootTab tab : allRootTabs())
        titles << L(titleKey(tab));
    EXPECT_EQ(titles, (QStringList{"Shikan", "Dorevadod", "Samu", "Gyōji"}));
    // The title key stays Japanese: it is the glossary's key.
    EXPECT_EQ(titleKey(RootTab::tasks), QStringLiteral("作務"));
    EXPECT_EQ(TopTabs::helpFor(RootTab::day, false), QStringLiteral("ichijitsu · vow in the morning, reflect at dusk"));
    EXPECT_EQ(TopTabs::helpFor(RootTab::tasks, true), QStringLiteral("Today is Shikunichi — a day to clear your tasks."));
    Lang::setForTesting(true);
    EXPECT_EQ(TopTabs::helpFor(RootTab::pomodoro, false), QStringLiteral("しかん ・ ただ、これひとつ"));
    Lang::setForTesting(std::nullopt);
}

TEST(VersionBannerTest, OnlyWebAddressesAreOpened)
{
    struct Case
    {
        const char *url;
        bool opens;
    } cases[] = {
        {"https://example.org/download", true},
        {"http://example.org/", true},
        {"HTTPS://example.org/", true},
        {"file:///etc/passwd", false},
        {"mailto:someone@example.org", false},
        {"javascript:alert(1)", false},
        {"https://", false},
        {"", false},
        {"ftp://example.org/file", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(VersionBanner::opens(QUrl(QString::fromUtf8(c.url))), c.opens) << c.url;
}

TEST(SheetDialogTest, SheetsFitTheScreen)
{
    // Room enough: the size asked for.
    EXPECT_EQ(SheetDialog::fit(QSize(460, 620), QRect(0, 0, 1920, 1080)), QSize(460, 620));
    // At a large text scale on a small screen: clamped, margins kept.
    EXPECT_EQ(SheetDialog::fit(QSize(736, 992), QRect(0, 0, 1366, 768)), QSize(736, 768 - 32));
    EXPECT_EQ(SheetDialog::fit(QSize(736, 992), QRect(100, 0, 600, 500)), QSize(600 - 32, 500 - 32));
    // No screen known: as asked.
    EXPECT_EQ(SheetDialog::fit(QSize(460, 620), QRect()), QSize(460, 620));
}

// The other windows open at the main window's side, to its right where
// there is room, else to its left, else centred on it, and never off the
// screen.
TEST(WindowPlacementTest, BesideTheMainWindowWithinTheScreen)
{
    const QRect screen(0, 0, 1920, 1080);
    const QSize settings(440, 560);
    const struct
    {
        const char *what;
        QRect main;
        QRect available;
        QPoint at;
    } cases[] = {
        {"room at the right", QRect(760, 170, 400, 780), screen, QPoint(1160 + 12, 170)},
        {"at the right edge: the left side", QRect(1500, 170, 400, 780), screen, QPoint(1500 - 12 - 440, 170)},
        {"no room at either side: centred on it", QRect(300, 100, 400, 780), QRect(0, 0, 1000, 1080),
         QPoint(500 - 220, 490 - 280)},
        {"low on the screen: lifted into it", QRect(760, 700, 400, 780), screen, QPoint(1172, 1080 - 560)},
        {"a screen beside another", QRect(1920 + 100, 50, 400, 780), QRect(1920, 0, 1280, 1024),
         QPoint(1920 + 100 + 400 + 12, 50)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WindowPlacement::beside(c.main, settings, c.available), c.at) << c.what;
    // Larger than the screen: its top-left corner stays on it.
    EXPECT_EQ(WindowPlacement::beside(QRect(0, 0, 380, 740), QSize(2000, 1200), screen), QPoint(0, 0));
}

TEST(AppDelegateTest, ClosingTheLastWindowQuitsOnlyWithoutATray)
{
    EXPECT_FALSE(AppDelegate::quitsAfterLastWindow(true));
    EXPECT_TRUE(AppDelegate::quitsAfterLastWindow(false));
}

} // namespace

#include "platform/fakes/FakeNotificationCenter.h"
#include "sources/NoticeRoute.h"
#include "sources/Notifier.h"

#include <QApplication>
#include <QUuid>

namespace {

TEST(AppDelegateTest, LaunchRoutesNoticesAndTheirTaps)
{
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    const bool quitBefore = app->quitOnLastWindowClosed();
    FakeNotificationCenter center;
    Notifier notifier;
    NoticeRoute route;
    AppDelegate::launch(center, notifier, route);
    EXPECT_EQ(notifier.center(), &center);
    AppDelegate::trayKnown(*app, false);
    EXPECT_TRUE(app->quitOnLastWindowClosed());
    AppDelegate::trayKnown(*app, true);
    EXPECT_FALSE(app->quitOnLastWindowClosed());

    // A tap on a plan notice reaches the route, waiting for its handler.
    NotificationRequest request;
    request.identifier = QStringLiteral("kiv.plan.one");
    const QUuid plan = QUuid::createUuid();
    request.userInfo = {{QStringLiteral("planID"), plan.toString(QUuid::WithoutBraces).toUpper()},
                        {QStringLiteral("day"), QStringLiteral("2025-03-05")}};
    center.add(request);
    ASSERT_TRUE(center.tap(request.identifier));
    ASSERT_TRUE(route.pending());
    EXPECT_EQ(route.pending()->planID, plan);
    app->setQuitOnLastWindowClosed(quitBefore);
}

} // namespace
