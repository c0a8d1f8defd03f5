#include "views/ViewTest.h"
#include "views/ink/Reorder.h"
#include "views/ink/Reorderable.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace {

TodoItem item(const QString &id, const QString &source = QStringLiteral("local"))
{
    TodoItem t;
    t.ref = {source, id, std::nullopt};
    t.title = id;
    return t;
}

QList<TodoItem> abcd()
{
    return {item(QStringLiteral("A")), item(QStringLiteral("B")), item(QStringLiteral("C")), item(QStringLiteral("D"))};
}

QStringList ids(const std::optional<QList<TaskRef>> &order)
{
    QStringList out;
    if (order)
        for (const TaskRef &r : *order)
            out << r.id;
    return out;
}

TEST(Reorder, TheDraggedTaskTakesTheTargetsPlace)
{
    struct Case
    {
        QString dragged, onto;
        QStringList expected; // empty: nothing changes
    };
    const Case cases[] = {
        {QStringLiteral("A"), QStringLiteral("C"), {"B", "C", "A", "D"}},
        {QStringLiteral("D"), QStringLiteral("B"), {"A", "D", "B", "C"}},
        {QStringLiteral("A"), QStringLiteral("D"), {"B", "C", "D", "A"}},
        {QStringLiteral("B"), QStringLiteral("B"), {}},
        {QStringLiteral("X"), QStringLiteral("B"), {}}, // a row of another list
        {QStringLiteral("B"), QStringLiteral("X"), {}},
    };
    const QList<TodoItem> items = abcd();
    for (const Case &c : cases) {
        const auto order = Reorder::moved(items, item(c.dragged).ref, item(c.onto).ref);
        EXPECT_EQ(ids(order), c.expected) << c.dragged.toStdString() << " onto " << c.onto.toStdString();
        if (order) {
            EXPECT_EQ(order->size(), items.size());
        }
    }
    EXPECT_FALSE(Reorder::moved({}, item(QStringLiteral("A")).ref, item(QStringLiteral("A")).ref));
}

// Two tasks of different sources may share an id: the drag names the whole
// reference, so the task that was dragged is the one that moves.
TEST(Reorder, TasksSharingAnIdAreToldApartBySource)
{
    const QList<TodoItem> items{item(QStringLiteral("7"), QStringLiteral("local")), item(QStringLiteral("B")),
                                item(QStringLiteral("7"), QStringLiteral("reminders"))};
    const auto order = Reorder::moved(items, items[2].ref, items[0].ref);
    ASSERT_TRUE(order);
    EXPECT_EQ(order->at(0), items[2].ref);
    EXPECT_EQ(order->at(1), items[0].ref);
    EXPECT_EQ(order->at(2), items[1].ref);
}

TEST(Reorder, ThePayloadCarriesTheWholeReferenceUnderTheProgramsOwnType)
{
    const TaskRef ref{QStringLiteral("reminders"), QStringLiteral("x-1"), QStringLiteral("list-9")};
    std::unique_ptr<QMimeData> data(Reorder::mimeData(ref));
    EXPECT_TRUE(data->hasFormat(Reorder::mimeType()));
    EXPECT_FALSE(data->hasText()) << "other programs are offered no text";
    EXPECT_EQ(Reorder::draggedRef(data.get()), ref);

    QMimeData text;
    text.setText(QStringLiteral("x-1"));
    EXPECT_FALSE(Reorder::draggedRef(&text));
    QMimeData broken;
    broken.setData(Reorder::mimeType(), "{\"id\": 3}");
    EXPECT_FALSE(Reorder::draggedRef(&broken));
    EXPECT_FALSE(Reorder::draggedRef(nullptr));
}

struct ReorderableTest : ViewTest
{
    QWidget row;
    Reorderable *reorderable = new Reorderable(&row);
    QList<QList<TaskRef>> moves;

    void setUpRow(bool enabled)
    {
        row.show();
        const QList<TodoItem> items = abcd();
        reorderable->set(enabled, items[2], items, [this](const QList<TaskRef> &order) { moves << order; });
    }

    // A drag comes over the row and is let go: true when the row took it.
    // (The toolkit delivers the drop only when the row welcomed the drag.)
    bool drop(QMimeData *data)
    {
        QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&row, &enter);
        QDropEvent event(QPointF(5, 5), Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        event.setAccepted(false);
        QApplication::sendEvent(&row, &event);
        return event.isAccepted();
    }
};

TEST_F(ReorderableTest, ARowTakesOnlyTheProgramsOwnDragsThatChangeTheOrder)
{
    setUpRow(true);
    EXPECT_TRUE(row.acceptDrops());

    std::unique_ptr<QMimeData> fromA(Reorder::mimeData(item(QStringLiteral("A")).ref));
    EXPECT_TRUE(drop(fromA.get()));
    ASSERT_EQ(moves.size(), 1);
    EXPECT_EQ(moves[0].size(), 4);
    EXPECT_EQ(moves[0][2].id, QStringLiteral("A"));

    QMimeData text;
    text.setText(QStringLiteral("A"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&row, &enter);
    EXPECT_FALSE(enter.isAccepted()) << "text from another program is not welcomed";
    EXPECT_FALSE(drop(&text)) << "nor taken";
    std::unique_ptr<QMimeData> self(Reorder::mimeData(item(QStringLiteral("C")).ref));
    EXPECT_FALSE(drop(self.get())) << "a drop onto itself is refused";
    std::unique_ptr<QMimeData> stranger(Reorder::mimeData(item(QStringLiteral("Z")).ref));
    EXPECT_FALSE(drop(stranger.get())) << "a row of another list is refused";
    EXPECT_EQ(moves.size(), 1);
}

TEST_F(ReorderableTest, ADisabledRowIsLeftAsItIs)
{
    setUpRow(false);
    EXPECT_FALSE(row.acceptDrops());
}

} // namespace
