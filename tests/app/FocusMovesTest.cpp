// Where the focus goes when the widget that held it goes away with its
// page, through the real window: into the page that came, with its ring
// only for a keyboard user; never to a tab, the hint line or the
// soundscape chip that happened to follow.
#include "ShownApp.h"
#include "app/TabMeaning.h"
#include "core/PomodoroEngine.h"
#include "sources/TaskHub.h"
#include "support/RealInput.h"
#include "views/ink/ReadingOrder.h"
#include "views/tasks/TodoRow.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

namespace {

struct FocusMovesTest : ShownApp
{
    void SetUp() override
    {
        ShownApp::SetUp();
        open();
    }
    QString focused() const
    {
        QWidget *w = QApplication::focusWidget();
        return w ? w->objectName() : QStringLiteral("(none)");
    }
    // Whether the focused widget shows a ring: its picture changes when it
    // loses the focus (given back as the program gives it).
    static bool ringShows()
    {
        QWidget *w = QApplication::focusWidget();
        if (!w)
            return false;
        QWidget *window = w->window();
        const QRect around = QRect(w->mapTo(window, QPoint(0, 0)), w->size()).adjusted(-3, -3, 3, 3);
        const QImage with = window->grab(around).toImage();
        w->clearFocus();
        const QImage without = window->grab(around).toImage();
        w->setFocus(Qt::OtherFocusReason);
        return with != without;
    }
};

TEST_F(FocusMovesTest, ARunBegunByAClickPutsTheFocusOnItsButtonWithoutARing)
{
    QWidget *card = find("timer.mode.quick");
    ASSERT_TRUE(card);
    QTest::mouseClick(card, Qt::LeftButton, {}, card->rect().center());
    settle();
    ASSERT_EQ(rig->engine().mode(), Mode::quick);
    EXPECT_EQ(focused().toStdString(), "timer.primaryButton");
    EXPECT_FALSE(ringShows());

    // The round runs out, then its break: the completion takes the focus,
    // not the soundscape chip under it.
    rig->finishPhase();
    settle();
    rig->finishPhase();
    settle();
    ASSERT_TRUE(find("timer.completion")->isVisible());
    EXPECT_TRUE(find("timer.completion")->isAncestorOf(QApplication::focusWidget())) << focused().toStdString();
    EXPECT_FALSE(ringShows());
}

TEST_F(FocusMovesTest, ARunBegunFromTheKeyboardShowsWhereTheFocusWent)
{
    QWidget *card = find("timer.mode.quick");
    card->setFocus(Qt::TabFocusReason);
    RealInput::key(Qt::Key_Tab);
    RealInput::key(Qt::Key_Backtab); // the user's own Tab presses led here
    ASSERT_EQ(QApplication::focusWidget(), card);
    RealInput::key(Qt::Key_Space);
    settle();
    ASSERT_EQ(rig->engine().mode(), Mode::quick);
    EXPECT_EQ(focused().toStdString(), "timer.primaryButton");
    EXPECT_TRUE(ringShows());
    // Space there pauses, as the user now expects.
    RealInput::key(Qt::Key_Space);
    EXPECT_EQ(rig->engine().state(), RunState::paused);

    // Choosing again from the keyboard: the mode selection's field takes it.
    RealInput::key(Qt::Key_Return, Qt::ControlModifier); // resumes
    rig->engine().stop();
    settle();
    EXPECT_EQ(focused().toStdString(), "timer.titleField.edit");
}

// A button the focus fell to, after a click took the focused one away,
// does not take the next Space: the user never chose it.
TEST_F(FocusMovesTest, SpaceGoesNowhereOnAButtonTheFocusFellTo)
{
    for (const char *title : {"A", "B", "C"})
        rig->local.add(QString::fromLatin1(title));
    rig->model->setTab(RootTab::tasks);
    settle();
    auto rowControl = [this](const QString &title, const char *name) -> QWidget * {
        for (TodoRow *r : main()->findChildren<TodoRow *>())
            if (r->isVisible() && r->item().title == title)
                return r->findChild<QWidget *>(QString::fromLatin1(name));
        return nullptr;
    };
    // A's circle, clicked: A is done and its row goes; the focus it had
    // falls on, without a ring.
    QWidget *circle = rowControl(QStringLiteral("A"), "tasks.row.complete");
    ASSERT_TRUE(circle);
    QTest::mouseClick(circle, Qt::LeftButton, {}, circle->rect().center());
    settle();
    ASSERT_EQ(rig->model->taskHub().items().size(), 2);
    EXPECT_EQ(focused().toStdString(), "tasks.row.complete"); // B's, where A's stood
    RealInput::key(Qt::Key_Space);
    RealInput::key(Qt::Key_Return);
    settle();
    EXPECT_EQ(rig->model->taskHub().items().size(), 2) << "no other task was completed";
    EXPECT_FALSE(ringShows());
    for (TodoRow *r : main()->findChildren<TodoRow *>())
        EXPECT_FALSE(r->showsActions()) << r->item().title.toStdString();

    // Reached by the user's own Tab, Space works on the hint line.
    auto *meaning = find<TabMeaning>("root.meaning");
    QWidget *composer = find("tasks.composer");
    QTest::mouseClick(composer, Qt::LeftButton);
    RealInput::key(Qt::Key_Backtab);
    ASSERT_EQ(focused().toStdString(), "root.meaning.hint");
    RealInput::key(Qt::Key_Space);
    settle();
    EXPECT_TRUE(meaning->isOpen());
}

// A button that turns itself off when pressed (the settings' copy of the
// advice prompt, for two seconds) hands the focus on to the next control
// beside it: the page stays where the user is, not thrown back to its top.
TEST_F(FocusMovesTest, AButtonThatTurnsItselfOffHandsTheFocusToItsNeighbour)
{
    app->openSettings();
    PaperWindow *settings = app->window(QStringLiteral("settings"));
    ASSERT_NE(settings, nullptr);
    activate(settings);
    auto *copy = settings->findChild<QWidget *>(QStringLiteral("settings.counsel.copy"));
    ASSERT_NE(copy, nullptr);
    auto *area = settings->findChild<QAbstractScrollArea *>();
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
    settle();
    const int down = area->verticalScrollBar()->value();
    ASSERT_GT(down, 0);
    const QList<QWidget *> order = ReadingOrder::stops(settings);
    const qsizetype at = order.indexOf(copy);
    ASSERT_GE(at, 0);
    ASSERT_LT(at + 1, order.size());

    QTest::mouseClick(copy, Qt::LeftButton, {}, copy->rect().center());
    settle();

    ASSERT_FALSE(copy->isEnabled()) << "the copied label shows for a while";
    EXPECT_EQ(QApplication::focusWidget(), order.at(at + 1)) << focused().toStdString();
    EXPECT_EQ(area->verticalScrollBar()->value(), down);
}

} // namespace
