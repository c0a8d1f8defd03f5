// The menu button of the main window: a click, Space or F10 opens the
// window's commands below it with their shortcuts shown, and a command
// chosen from the menu with the keyboard does its work.
#include "app/CommandsButton.h"
#include "app/PaperWindow.h"
#include "app/QuillmereApp.h"
#include "app/RootView.h"
#include "app/RootWorkspace.h"
#include "core/AppSettings.h"
#include "core/PomodoroEngine.h"
#include "model/ModelRig.h"
#include "platform/fakes/FakeDesktop.h"
#include "views/ViewTest.h"
#include "views/ink/PopupPanel.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

namespace {

using ModelRigs::Rig;

struct CommandsButtonTest : ViewTest
{
    Rig rig;
    FakeDesktop desk;
    std::unique_ptr<QuillmereApp> app;
    PaperWindow *window = nullptr;
    CommandsButton *button = nullptr;

    void SetUp() override
    {
        ViewTest::SetUp();
        Lang::setForTesting(false);
        rig.settings.setHasSeenIntro(true);
        rig.build();
        ViewContext context;
        context.model = rig.model.get();
        context.desktop = &desk;
        app = std::make_unique<QuillmereApp>(context);
        app->openWindow(QStringLiteral("timer"));
        window = app->mainWindow();
        window->resize(RootView::kIdealSize);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        button = app->rootView()->workspace()->commandsButton();
        ASSERT_TRUE(button);
    }
    void TearDown() override
    {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        app.reset();
        ViewTest::TearDown();
    }
    QMenu *openMenu()
    {
        QMenu *menu = button->menu();
        return menu && menu->isVisible() ? menu : nullptr;
    }
    // "text|shortcut" per item, "-" per divider, as the menu shows them.
    static QStringList lines(const QMenu *menu)
    {
        QStringList out;
        for (const QAction *a : menu->actions()) {
            if (a->isSeparator()) {
                out << QStringLiteral("-");
                continue;
            }
            QString line = a->text();
            if (!a->shortcut().isEmpty())
                line += QLatin1Char('|') + a->shortcut().toString(QKeySequence::NativeText);
            if (!a->isEnabled())
                line += QStringLiteral("|off");
            out << line;
        }
        return out;
    }
};

TEST_F(CommandsButtonTest, AClickShowsEveryCommandWithItsShortcutBelowTheButton)
{
    EXPECT_EQ(button->accessibleName(), QStringLiteral("Menu"));
    EXPECT_EQ(button->geometry().topLeft(), QPoint(8, 8));
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    QMenu *menu = openMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(lines(menu), (QStringList{"Begin Ninnun", "Begin Shōza", "Begin Ichiza", "Begin Itchū", "Begin Jōjū",
                                        "Begin Junkō", "-", "Begin|Ctrl+Return|off", "Next|Ctrl+Right|off",
                                        "Back|Ctrl+R|off", "Choose again|off", "-", "Keep on top|Ctrl+Shift+T", "-",
                                        "Quit|Ctrl+Q"}));
    // The menu's sheet, inside the room a see-through menu keeps for its shadow.
    const int room = PopupPanel::room(menu);
    EXPECT_GE(menu->geometry().top() + room, button->mapToGlobal(QPoint(0, button->height())).y());
    menu->close();

    // The titles follow the run the next time it opens.
    rig.model->setTab(RootTab::day);
    rig.engine().begin(Mode::quick, false, {});
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    menu = openMenu();
    ASSERT_TRUE(menu);
    EXPECT_TRUE(lines(menu).contains(QStringLiteral("Pause|Ctrl+Return")));
}

TEST_F(CommandsButtonTest, TheKeyboardOpensItAndChoosesACommand)
{
    // F10 anywhere in the window opens it with the first command ready.
    rig.model->setTab(RootTab::tasks);
    QTest::keyClick(window, Qt::Key_F10);
    QMenu *menu = openMenu();
    ASSERT_TRUE(menu);
    ASSERT_TRUE(menu->activeAction());
    EXPECT_EQ(menu->activeAction()->text(), QStringLiteral("Begin Ninnun"));
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_FALSE(openMenu());
    EXPECT_EQ(rig.engine().mode(), Mode::quick);
    EXPECT_EQ(rig.model->tab(), RootTab::pomodoro);

    // Space on the focused button opens it too.
    button->setFocus(Qt::TabFocusReason);
    QTest::keyClick(button, Qt::Key_Space);
    menu = openMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->activeAction()->text(), QStringLiteral("Begin Ninnun"));
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_FALSE(openMenu());
    EXPECT_EQ(rig.engine().mode(), Mode::quick);
}

} // namespace
