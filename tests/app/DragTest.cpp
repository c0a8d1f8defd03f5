// Putting tasks in order with the mouse through the main window: real
// presses, moves and releases, from wherever on the row the user grabs it.
#include "ShownApp.h"
#include "sources/TaskHub.h"
#include "views/tasks/TodoRow.h"

#include <QScrollArea>

namespace {

struct DragTest : ShownApp
{
    void SetUp() override
    {
        ShownApp::SetUp();
        for (const char *title : {"A", "B", "C", "D"})
            rig->local.add(QString::fromLatin1(title));
        open();
        rig->model->setTab(RootTab::tasks);
        settle();
    }
    TodoRow *row(const QString &title) const
    {
        for (TodoRow *r : main()->findChildren<TodoRow *>())
            if (r->isVisible() && r->item().title == title)
                return r;
        return nullptr;
    }
    // The titles in the hub's order, one letter each.
    std::string order() const
    {
        std::string out;
        for (const TodoItem &item : rig->model->taskHub().items())
            out += item.title.toStdString();
        return out;
    }
    // Presses at `from` on a widget of one row and lets go over the middle
    // of another row, moving in small steps as a hand does.
    void drag(QWidget *from, const QPoint &at, TodoRow *onto, bool release = true)
    {
        QTest::mousePress(from, Qt::LeftButton, {}, at);
        const QPoint start = from->mapTo(main(), at);
        const QPoint end = onto->mapTo(main(), onto->rect().center());
        for (int i = 1; i <= 8; ++i)
            QTest::mouseMove(main(), start + (end - start) * i / 8);
        if (release)
            QTest::mouseRelease(main(), Qt::LeftButton, {}, end);
        settle();
    }
};

TEST_F(DragTest, ARowGrabbedAnywhereMovesOntoAnother)
{
    ASSERT_EQ(order(), "ABCD");
    struct Case
    {
        const char *what;
        const char *grab; // a control of the row, or null for the card itself
        const char *from;
        const char *onto;
        const char *expected;
    };
    const Case cases[] = {
        {"by its title, downwards", "tasks.row.name", "A", "C", "BCAD"},
        {"by its completion circle, upwards", "tasks.row.complete", "D", "B", "DBCA"},
        {"by the card's edge", nullptr, "C", "B", "DCBA"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TodoRow *source = row(QString::fromLatin1(c.from));
        ASSERT_TRUE(source);
        QWidget *grab = c.grab ? source->findChild<QWidget *>(QString::fromLatin1(c.grab)) : source;
        ASSERT_TRUE(grab);
        const QPoint at = c.grab ? grab->rect().center() : QPoint(3, source->height() / 2);
        drag(grab, at, row(QString::fromLatin1(c.onto)));
        EXPECT_EQ(order(), c.expected);
        // The press became the drag: nothing was clicked.
        EXPECT_EQ(rig->model->taskHub().items().size(), 4) << "no task was completed";
        for (TodoRow *r : main()->findChildren<TodoRow *>())
            EXPECT_FALSE(r->showsActions()) << r->item().title.toStdString();
    }
}

TEST_F(DragTest, AClickIsStillAClickAndEscapeCancelsADrag)
{
    // A press that wanders less than the drag distance, then lets go: the
    // title's click opens the panel.
    TodoRow *b = row(QStringLiteral("B"));
    QWidget *name = b->findChild<QWidget *>(QStringLiteral("tasks.row.name"));
    const QPoint at = name->rect().center();
    QTest::mousePress(name, Qt::LeftButton, {}, at);
    QTest::mouseMove(name, at + QPoint(2, 1));
    QTest::mouseRelease(name, Qt::LeftButton, {}, at + QPoint(2, 1));
    settle();
    EXPECT_TRUE(b->showsActions());
    EXPECT_EQ(order(), "ABCD");
    b->closeActions();

    // Escape in the middle of a drag: nothing moves, and letting go after
    // it does nothing either.
    drag(name, at, row(QStringLiteral("D")), false);
    QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_Escape);
    const QPoint over = row(QStringLiteral("D"))->mapTo(main(), row(QStringLiteral("D"))->rect().center());
    QTest::mouseRelease(main(), Qt::LeftButton, {}, over);
    settle();
    EXPECT_EQ(order(), "ABCD");
    EXPECT_FALSE(b->showsActions());
}

} // namespace
