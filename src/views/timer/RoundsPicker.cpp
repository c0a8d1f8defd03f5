#include "views/timer/RoundsPicker.h"

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

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

RoundsPicker::RoundsPicker(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("timer.roundsPicker"));
    setFixedWidth(int(std::round(420 * Kiv::scale())));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *title = new ElidedLabel(L(QStringLiteral("どれを回りますか")),
                                  Kiv::tracked(Kiv::font(14, Kiv::Design::serif), 2, 0.24), Tone{Kiv::Colour::ink},
                                  this);
    title->setObjectName(QStringLiteral("timer.roundsPicker.title"));
    Padded::add(column, title, QMargins(16, 16, 16, 0));

    auto *explanation = new TextBlock(RoundsChoice::explanation(), Kiv::font(12), Tone{Kiv::Colour::inkFaint}, this);
    explanation->setObjectName(QStringLiteral("timer.roundsPicker.explanation"));
    QSizePolicy natural(QSizePolicy::Preferred, QSizePolicy::Fixed);
    natural.setHeightForWidth(true);
    explanation->setSizePolicy(natural); // its full natural height, never more
    Padded::add(column, explanation, QMargins(16, 6, 16, 0));

    auto *empty = new TextBlock(L(QStringLiteral("まだありません。作務に書き出すと、ここから選べます。")),
                                Kiv::font(13, Kiv::Design::serif), Tone{Kiv::Colour::inkSoft}, this);
    m_empty = Padded::wrap(empty, QMargins(16, 16, 16, 16), this);
    m_empty->setObjectName(QStringLiteral("timer.roundsPicker.empty"));
    column->addWidget(m_empty);

    m_list = new TaskChooserView(context, TaskChooserView::Look::rounds, 300 * Kiv::scale(), this);
    m_list->setObjectName(QStringLiteral("timer.roundsPicker.list"));
    m_list->setAccessibleName(L(QStringLiteral("どれを回りますか")));
    m_list->setPositions([this](const QString &title) { return m_choice.position(title); });
    column->addWidget(m_list);
    connect(m_list, &TaskChooserView::chosen, this, [this](const TodoItem &item) {
        m_choice.toggle(item.title);
        refreshChoice();
    });

    // A taller sheet keeps the bottom bar at its foot.
    column->addStretch(1);
    column->addWidget(new HairlineRule(this));

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(16, 12, 16, 12);
    m_summary = new ElidedLabel(QString(), Kiv::font(12), Tone{Kiv::Colour::inkFaint}, this);
    m_summary->setObjectName(QStringLiteral("timer.roundsPicker.summary"));
    bar->addWidget(m_summary, 1);
    m_cancel = new InkButton(L(QStringLiteral("やめる")),
                             InkLook::plain(Kiv::font(12), Tone{Kiv::Colour::inkSoft}, Tone{Kiv::Colour::ink}), this);
    m_cancel->setObjectName(QStringLiteral("timer.roundsPicker.cancel"));
    bar->addWidget(m_cancel);
    bar->addSpacing(10);
    m_confirm = new InkButton(L(QStringLiteral("この順で回る")), InkLook(), this);
    m_confirm->setObjectName(QStringLiteral("timer.roundsPicker.confirm"));
    bar->addWidget(m_confirm);
    column->addLayout(bar);

    connect(m_cancel, &QAbstractButton::clicked, this, &RoundsPicker::dismissRequested);
    connect(m_confirm, &QAbstractButton::clicked, this, &RoundsPicker::confirm);

    if (m_context.model) {
        TaskHub &hub = m_context.model->taskHub();
        connect(&hub, &TaskHub::itemsChanged, this, &RoundsPicker::refresh);
        connect(&hub, &TaskHub::dailyItemsChanged, this, &RoundsPicker::refresh);
    }
    refresh();
    refreshChoice();
}

void RoundsPicker::refresh()
{
    const TaskChooserList lists = m_context.model ? TaskChooserList::of(m_context.model->taskHub()) : TaskChooserList();
    m_empty->setVisible(lists.isEmpty());
    m_list->setVisible(!lists.isEmpty());
    m_list->setList(lists);
    adjustSize();
}

void RoundsPicker::refreshChoice()
{
    m_summary->setText(m_choice.summary());
    const bool can = m_choice.canConfirm();
    const Tone tone = can ? Tone{Kiv::Colour::indigo} : Tone{Kiv::Colour::inkGhost};
    // The button draws its disabled state itself; the ghost ink already
    // says it, so the label keeps its full opacity.
    InkLook look = InkLook::plain(Kiv::font(14, Kiv::Design::serif), tone, tone);
    m_confirm->setLook(look);
    m_confirm->setEnabled(can);
    m_list->refreshMarks();
}

void RoundsPicker::confirm()
{
    if (!m_choice.canConfirm())
        return;
    if (m_context.model)
        m_choice.confirm(*m_context.model);
    emit dismissRequested();
}

void RoundsPicker::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Kiv::paper());
}
