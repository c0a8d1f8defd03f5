#include "views/timer/StayButton.h"

#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "model/RunControls.h"
#include "views/timer/TimerViewState.h"

StayButton::StayButton(const ViewContext &context, QWidget *parent)
    : DwellButton(QString(), parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("timer.stayButton"));
    connect(this, &QAbstractButton::clicked, this, [this] {
        // A copy: the dwell stops the run, which refreshes this button.
        const QString title = m_title;
        if (!title.isEmpty() && m_context.model)
            RunControls::stay(*m_context.model, title);
    });
    if (m_context.model)
        connect(&m_context.model->engine(), &PomodoroEngine::lookChanged, this, &StayButton::refresh);
    refresh();
}

void StayButton::refresh()
{
    if (!m_context.model)
        return;
    const TimerViewState state = TimerViewState::of(*m_context.model);
    m_title = state.stayTitle.value_or(QString());
    setText(state.stayLabel);
    setToolTip(state.stayToolTip);
    updateGeometry();
    // Shown only inside its host (never as a window of its own).
    const bool shown = state.stayTitle.has_value();
    if (parentWidget() || !shown)
        setVisible(shown);
}
