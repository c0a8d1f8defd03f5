#include "views/timer/TaskPicker.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "sources/TaskHub.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/timer/HairlineRule.h"
#include "views/timer/Padded.h"
#include "views/timer/TaskChooserView.h"

#include <QPainter>
#include <cmath>
#include <QVBoxLayout>

namespace {

// A text-and-symbol button whose label sits at its leading edge.
class LeadingButton : public InkButton
{
public:
    using InkButton::InkButton;

protected:
    void paintLabel(QPainter &painter, const QRectF &rect, const QColor &colour) override
    {
        const double width = std::min(labelSize().width(), rect.width());
        InkButton::paintLabel(painter, QRectF(rect.left(), rect.top(), width, rect.height()), colour);
    }
};

} // namespace

TaskPicker::TaskPicker(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("timer.taskPicker"));
    setFixedWidth(int(std::round(268 * Kiv::scale())));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *title = new ElidedLabel(L(QStringLiteral("何に向かうかを選ぶ")), Kiv::tracked(Kiv::font(12), 2, 0.24),
                                  Tone{Kiv::Colour::inkSoft}, this);
    title->setObjectName(QStringLiteral("timer.taskPicker.title"));
    Padded::add(column, title, QMargins(14, 12, 14, 8));

    m_empty = new QWidget(this);
    m_empty->setObjectName(QStringLiteral("timer.taskPicker.empty"));
    auto *empty = new QVBoxLayout(m_empty);
    empty->setContentsMargins(14, 0, 14, 12);
    empty->setSpacing(8);
    empty->addWidget(new TextBlock(L(QStringLiteral("まだありません")), Kiv::font(13, Kiv::Design::serif),
                                   Tone{Kiv::Colour::inkSoft}, m_empty));
    empty->addWidget(new TextBlock(L(QStringLiteral("「作務」に書くと、ここから選べます。")), Kiv::font(12),
                                   Tone{Kiv::Colour::inkFaint}, m_empty));
    column->addWidget(m_empty);

    m_list = new TaskChooserView(context, TaskChooserView::Look::picker, 240 * Kiv::scale(), this);
    m_list->setObjectName(QStringLiteral("timer.taskPicker.list"));
    m_list->setAccessibleName(L(QStringLiteral("何に向かうかを選ぶ")));
    column->addWidget(m_list);
    connect(m_list, &TaskChooserView::chosen, this, [this](const TodoItem &item) {
        if (m_context.model)
            m_context.model->take(item);
        emit dismissRequested();
    });

    column->addWidget(new HairlineRule(this));

    InkLook look = InkLook::plain(Kiv::font(12), Tone{Kiv::Colour::indigo}, Tone{Kiv::Colour::indigo});
    look.symbol = Symbol::listBullet;
    look.symbolSize = 9 * Kiv::scale();
    look.padding = QMarginsF(14, 10, 14, 10);
    m_footer = new LeadingButton(L(QStringLiteral("作務を開く")), look, this);
    m_footer->setObjectName(QStringLiteral("timer.taskPicker.openTasks"));
    m_footer->setAccessibleDescription(L(QStringLiteral("作務から選ぶ")));
    m_footer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    column->addWidget(m_footer);
    connect(m_footer, &QAbstractButton::clicked, this, &TaskPicker::openTasks);

    if (m_context.model) {
        TaskHub &hub = m_context.model->taskHub();
        connect(&hub, &TaskHub::itemsChanged, this, &TaskPicker::refresh);
        connect(&hub, &TaskHub::dailyItemsChanged, this, &TaskPicker::refresh);
    }
    refresh();
}

void TaskPicker::refresh()
{
    const TaskChooserList lists = m_context.model ? TaskChooserList::of(m_context.model->taskHub()) : TaskChooserList();
    m_empty->setVisible(lists.isEmpty());
    m_list->setVisible(!lists.isEmpty());
    m_list->setList(lists);
    adjustSize();
}

void TaskPicker::openTasks()
{
    emit dismissRequested();
    if (m_context.model && m_context.model->tab() != RootTab::tasks)
        m_context.model->setTab(RootTab::tasks);
}

void TaskPicker::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Kiv::paperRaised());
}
