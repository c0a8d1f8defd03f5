#include "views/timer/NextRoundLine.h"

#include "core/L.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "views/ink/ElidedLabel.h"
#include "views/timer/TimerViewState.h"

#include <QVBoxLayout>

NextRoundLine::NextRoundLine(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_caption(new ElidedLabel(L(QStringLiteral("次の作務")), Kiv::tracked(Kiv::font(12), 2.0, 0.24),
                                {Kiv::Colour::inkFaint}))
    , m_title(new ElidedLabel(QString(), Kiv::font(15, Kiv::Design::serif), {Kiv::Colour::ink}))
{
    setObjectName(QStringLiteral("timer.nextRoundLine"));
    m_caption->setObjectName(QStringLiteral("timer.nextRoundCaption"));
    m_title->setObjectName(QStringLiteral("timer.nextRoundTitle"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    for (ElidedLabel *label : {m_caption, m_title}) {
        label->setAlignment(Qt::AlignCenter);
        column->addWidget(label);
    }
    if (m_context.model)
        connect(&m_context.model->engine(), &PomodoroEngine::lookChanged, this, &NextRoundLine::refresh);
    refresh();
}

QString NextRoundLine::title() const
{
    return m_title->text();
}

void NextRoundLine::refresh()
{
    if (!m_context.model)
        return;
    const TimerViewState state = TimerViewState::of(*m_context.model);
    m_title->setText(state.nextRoundTitle.value_or(QString()));
    // Shown only inside its host (never as a window of its own).
    const bool shown = state.nextRoundTitle.has_value();
    if (parentWidget() || !shown)
        setVisible(shown);
}
