#pragma once

#include "model/ModelRig.h"
#include "platform/fakes/FakeDesktop.h"
#include "sources/TodoOrder.h"
#include "views/ViewTest.h"
#include "views/tasks/TodoRow.h"
#include "views/tasks/TodoRowPool.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QSet>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// The rows of the hub's open tasks in one column, rebuilt from a queued
// call after every change of the hub's items, as the task list does.
class RowsHost : public QWidget
{
public:
    explicit RowsHost(const ViewContext &context)
        : m_context(context)
        , m_pool(context, this)
    {
        m_layout = new QVBoxLayout(this);
        m_layout->setSpacing(5);
        resize(560, 600);
        QObject::connect(&context.model->taskHub(), &TaskHub::itemsChanged, this, [this] { rebuild(); },
                         Qt::QueuedConnection);
        rebuild();
    }
    void rebuild()
    {
        QSet<TaskRef> keep;
        int index = 0;
        for (const TodoItem &item : m_context.model->taskHub().items()) {
            TodoRow *row = m_pool.row(item, TodoOrder::rank(item, Clock::current().now()) == 0, item.ref == justAdded);
            m_layout->insertWidget(index++, row);
            row->show();
            keep << item.ref;
        }
        m_pool.keepOnly(keep);
        ++rebuilds;
    }
    TodoRowPool &pool() { return m_pool; }
    std::optional<TaskRef> justAdded;
    int rebuilds = 0;

private:
    ViewContext m_context;
    TodoRowPool m_pool;
    QVBoxLayout *m_layout;
};

// Task rows over a headless model whose clock stands at Wednesday
// 2025-03-05 09:00, and a fake desktop.
struct TaskRowsFixture : ViewTest
{
    std::unique_ptr<ModelRigs::Rig> rig = std::make_unique<ModelRigs::Rig>();
    mutable FakeDesktop desk;
    AppModel *model = nullptr;
    std::unique_ptr<RowsHost> host;

    void SetUp() override
    {
        ViewTest::SetUp();
        model = &rig->build();
    }
    void TearDown() override
    {
        host.reset();
        QCoreApplication::processEvents();
        rig.reset();
        ViewTest::TearDown();
    }
    ViewContext context() const
    {
        ViewContext c;
        c.model = model;
        c.desktop = &desk;
        return c;
    }
    RowsHost &show()
    {
        host = std::make_unique<RowsHost>(context());
        host->show();
        settle();
        return *host;
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    TodoRow *row(const QString &title) const
    {
        for (const TodoItem &item : model->taskHub().items())
            if (item.title == title)
                return host->pool().find(item.ref);
        return nullptr;
    }
    std::optional<LocalTask> task(const QString &title) const
    {
        for (const LocalTask &t : rig->local.tasks())
            if (t.title == title)
                return t;
        return std::nullopt;
    }
    QList<QDateTime> placed(const QString &title) const
    {
        return model->placedDays(task(title)->id, rig->clock.now());
    }
    // Clicks a button inside a widget (a row or an open popover).
    template<class T = QAbstractButton>
    static T *child(QWidget *in, const QString &name)
    {
        T *w = in ? in->findChild<T *>(name) : nullptr;
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    static void click(QWidget *in, const QString &name)
    {
        settle();
        auto *button = child(in, name);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isVisible()) << name.toStdString();
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        settle();
    }
    static void hover(QWidget *w)
    {
        QTest::mouseMove(w, QPoint(4, w->height() / 2));
        settle();
    }
    static QDateTime at(int month, int day, int hour)
    {
        return QDateTime(QDate(2025, month, day), QTime(hour, 0));
    }
};
