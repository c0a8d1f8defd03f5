// Typing into the main window at a person's pace: every keystroke lands
// where the user is typing, whatever opens by itself meanwhile.
#include "ShownApp.h"
#include "sources/TaskHub.h"
#include "support/RealInput.h"

#include <QLineEdit>

namespace {

using TypingTest = ShownApp;

// The titles in alphabetical order, one text.
std::string titles(const QList<TodoItem> &items)
{
    QStringList out;
    for (const TodoItem &item : items)
        out << item.title;
    std::sort(out.begin(), out.end());
    return out.join(QStringLiteral(" | ")).toStdString();
}

// The panel of a task just added opens half a second after the task, while
// the user is already typing the next one: it must not take the keys.
TEST_F(TypingTest, ThreeTasksTypedOneAfterAnotherAreAllSaved)
{
    open();
    rig->model->setTab(RootTab::tasks);
    settle();
    auto *composer = find<QLineEdit>("tasks.composer");
    ASSERT_TRUE(composer);
    QTest::mouseClick(composer, Qt::LeftButton, {}, composer->rect().center());
    ASSERT_TRUE(composer->hasFocus());

    const auto pause = [this](int ms) { this->pause(ms); };
    for (const char *title : {"Call the plumber", "Draft chapter two", "Renew passport"}) {
        RealInput::type(QString::fromLatin1(title), 90, pause);
        RealInput::key(Qt::Key_Return);
        pause(120);
    }
    pause(1000); // the last panel opens

    EXPECT_EQ(titles(rig->model->taskHub().items()), "Call the plumber | Draft chapter two | Renew passport");
    EXPECT_TRUE(composer->hasFocus());
    EXPECT_TRUE(composer->text().isEmpty());
    // One panel is open beside the list, the last task's, as it opens by itself.
    QStringList open;
    for (QWidget *panel : main()->findChildren<QWidget *>(QStringLiteral("tasks.row.actionsPopover")))
        if (panel->isVisible())
            open << panel->parentWidget()->findChild<QWidget *>(QStringLiteral("tasks.row.name"))->accessibleName();
    EXPECT_EQ(open.join(QLatin1Char(',')).toStdString(), "Renew passport");
    // And the keys still reach the composer with the panel open.
    RealInput::type(QStringLiteral("Water"), 90, pause);
    EXPECT_EQ(composer->text().toStdString(), "Water");
}

} // namespace
