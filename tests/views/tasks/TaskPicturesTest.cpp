// Still pictures of the task rows, the action panel, the placement
// calendar and the closed lines, in Japanese and English, light and dark,
// at text scale 1.0 and 1.6, written to <build>/snapshots/tasks.
#include "views/tasks/TaskRowsFixture.h"

#include "views/ink/Popover.h"
#include "views/ink/StillPicture.h"
#include "views/tasks/ClosedRow.h"
#include "views/tasks/PlaceCalendar.h"
#include "views/tasks/TodoListView.h"

#include <QApplication>
#include <QEnterEvent>

namespace {

const QString kFolder = QStringLiteral(QUILLMERE_BUILD_DIR "/snapshots/tasks");

QList<StillPicture::Setting> settings()
{
    return StillPicture::everySetting();
}

struct TaskPicturesTest : TaskRowsFixture
{
    void save(const QImage &image, const QString &name, const StillPicture::Setting &s)
    {
        ASSERT_TRUE(StillPicture::save(image, kFolder, name + QLatin1Char('-') + s.tag()));
    }
};

} // namespace

TEST_F(TaskPicturesTest, RowsPanelCalendarAndClosedLines)
{
    rig->addTask(QStringLiteral("御礼状を書く — Write the thank-you letters"));
    const TodoItem overdue = *model->taskHub().add(QStringLiteral("請求書を払う"), at(3, 3, 9));
    const TodoItem fresh = *model->taskHub().add(QStringLiteral("Mend the garden gate before the rain"));
    const TodoItem chosen = *model->taskHub().add(QStringLiteral("本を返す"), at(3, 8, 9));
    model->placeOnDay(*task(QStringLiteral("本を返す")), at(3, 6, 9));
    model->take(chosen);
    const TodoItem finished = rig->addTask(QStringLiteral("床を拭く"));
    model->taskHub().complete(finished.ref);
    model->taskHub().add(QStringLiteral("週報を出す"), at(3, 5, 17));
    const TodoItem dropped = rig->addTask(QStringLiteral("Learn the cello"));
    model->taskHub().setAside(dropped.ref);
    Q_UNUSED(overdue);

    for (const StillPicture::Setting &s : settings()) {
        StillPicture::Applied applied(s);
        host = std::make_unique<RowsHost>(context());
        host->justAdded = fresh.ref;
        host->rebuild();
        host->resize(520, 400);
        host->show();
        settle();
        TodoRow *hovered = row(QStringLiteral("本を返す"));
        QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
        QApplication::sendEvent(hovered, &enter);
        host->adjustSize();
        host->resize(520, host->sizeHint().height());
        settle();
        save(StillPicture::grab(host.get(), s.devicePixelRatio), QStringLiteral("rows"), s);

        hovered->openActions();
        settle();
        Popover *panel = hovered->actionsPopover();
        ASSERT_NE(panel, nullptr);
        save(StillPicture::grab(panel, s.devicePixelRatio), QStringLiteral("panel"), s);
        hovered->closeActions();

        QWidget calendarBox;
        auto *layout = new QVBoxLayout(&calendarBox);
        const int pad = int(std::round(14 * Kiv::scale()));
        layout->setContentsMargins(pad, pad, pad, pad);
        auto *calendar = new PlaceCalendar(context(), *task(QStringLiteral("本を返す")));
        layout->addWidget(calendar);
        calendarBox.setFixedWidth(int(std::round(300 * Kiv::scale())));
        calendarBox.show();
        calendarBox.adjustSize();
        settle();
        save(StillPicture::grab(&calendarBox, s.devicePixelRatio), QStringLiteral("calendar"), s);

        QWidget closed;
        auto *column = new QVBoxLayout(&closed);
        column->setContentsMargins(0, 0, 0, 0);
        ClosedRow *first = nullptr;
        for (const LocalTask &t : rig->local.completed(rig->clock.now()) + rig->local.setAside()) {
            auto *line = new ClosedRow(context(), t);
            column->addWidget(line);
            if (!first)
                first = line;
        }
        closed.resize(520, 100);
        closed.show();
        settle();
        QEnterEvent enterLine(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
        QApplication::sendEvent(first, &enterLine);
        closed.adjustSize();
        closed.resize(520, closed.height());
        settle();
        save(StillPicture::grab(&closed, s.devicePixelRatio), QStringLiteral("closed"), s);
        host.reset();
        settle();

        // The whole screen as a still picture: tasks in every group, the
        // archives expanded.
        ViewContext still = context();
        still.snapshot = true;
        TodoListView list(still);
        list.resize(520, 760);
        list.show();
        settle();
        list.reload();
        settle();
        save(StillPicture::grab(&list, s.devicePixelRatio), QStringLiteral("list"), s);
    }
}
