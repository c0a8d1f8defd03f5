#include "views/timer/CompletionView.h"

#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "model/RunControls.h"
#include "sources/TaskHub.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/EnsoMark.h"
#include "views/timer/AgainButton.h"
#include "views/timer/CompleteTaskButton.h"
#include "views/timer/CompletionContent.h"
#include "views/timer/PutDownButton.h"
#include "views/timer/RoundsDwellList.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

CompletionView::CompletionView(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_mark(new EnsoMark(84, 1.0, Tone{Kiv::Colour::indigo}))
    , m_thanks(new ElidedLabel(QString(), Kiv::tracked(Kiv::font(16, Kiv::Design::serif), 2.0, 0.24),
                               {Kiv::Colour::ink}))
    , m_title(new ElidedLabel(QString(), Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::inkSoft}))
    , m_rounds(new RoundsDwellList(context))
    , m_mode(new ElidedLabel(QString(), Kiv::font(12), {Kiv::Colour::inkFaint}))
    , m_again(new AgainButton)
    , m_putDown(new PutDownButton)
    , m_complete(new CompleteTaskButton)
{
    setObjectName(QStringLiteral("timer.completion"));
    m_thanks->setObjectName(QStringLiteral("timer.completionThanks"));
    m_title->setObjectName(QStringLiteral("timer.completionTitle"));
    m_mode->setObjectName(QStringLiteral("timer.completionMode"));
    for (ElidedLabel *label : {m_thanks, m_title, m_mode})
        label->setAlignment(Qt::AlignCenter);

    // The title line keeps 24 px from the sides.
    auto *titleRow = new QWidget;
    auto *titleLayout = new QHBoxLayout(titleRow);
    titleLayout->setContentsMargins(24, 0, 24, 0);
    titleLayout->addWidget(m_title);

    auto *actions = new QHBoxLayout;
    actions->setContentsMargins(0, 14, 0, 0);
    actions->setSpacing(14);
    actions->addStretch();
    actions->addWidget(m_again);
    actions->addWidget(m_putDown);
    actions->addWidget(m_complete);
    actions->addStretch();

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    column->addStretch();
    column->addWidget(m_mark, 0, Qt::AlignHCenter);
    column->addSpacing(2);
    column->addWidget(m_thanks);
    column->addWidget(titleRow);
    column->addWidget(m_rounds);
    column->addWidget(m_mode);
    column->addLayout(actions);
    column->addStretch();
    m_titleRow = titleRow;

    connect(m_again, &QAbstractButton::clicked, this, [this] {
        if (m_context.model)
            RunControls::again(m_context.model->engine());
    });
    connect(m_putDown, &QAbstractButton::clicked, this, [this] {
        if (m_context.model)
            RunControls::putDown(*m_context.model);
    });
    connect(m_complete, &QAbstractButton::clicked, this, [this] {
        if (m_context.model)
            m_context.model->completeSelectedTask();
    });
    if (AppModel *model = m_context.model) {
        connect(&model->engine(), &PomodoroEngine::lookChanged, this, &CompletionView::refresh);
        connect(&model->taskHub(), &TaskHub::selectedChanged, this, &CompletionView::refresh);
        connect(&model->taskHub(), &TaskHub::itemsChanged, this, &CompletionView::refresh);
    }
    refresh();
}

void CompletionView::refresh()
{
    if (!m_context.model)
        return;
    const std::optional<CompletionContent> content = CompletionContent::of(*m_context.model);
    // Without a mode the view is on its way out; it keeps what it showed.
    if (!content)
        return;
    m_thanks->setText(content->thanks);
    m_title->setText(content->titleLine.value_or(QString()));
    m_titleRow->setVisible(content->titleLine.has_value());
    m_rounds->setVisible(content->showsRoundsList);
    m_mode->setText(content->modeName);
    m_again->setVisible(content->again.visible);
    m_putDown->setVisible(content->putDown.visible);
    m_complete->setVisible(content->complete.visible);
    m_complete->setToolTip(content->complete.toolTip);
}
