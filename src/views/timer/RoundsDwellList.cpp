#include "views/timer/RoundsDwellList.h"

#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "sources/TaskHub.h"
#include "views/ink/ElidedLabel.h"
#include "views/timer/DwellButton.h"
#include "views/timer/DwellChoices.h"

#include <QVBoxLayout>

RoundsDwellList::RoundsDwellList(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_heading(new ElidedLabel(QString(), Kiv::font(14, Kiv::Design::serif), {Kiv::Colour::ink}))
    , m_question(new ElidedLabel(QString(), Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::inkSoft}))
    , m_buttons(new QWidget)
    , m_buttonsLayout(new QVBoxLayout(m_buttons))
{
    setObjectName(QStringLiteral("timer.roundsDwellList"));
    m_heading->setObjectName(QStringLiteral("timer.roundsHeading"));
    m_question->setObjectName(QStringLiteral("timer.roundsQuestion"));
    for (ElidedLabel *label : {m_heading, m_question}) {
        label->setAlignment(Qt::AlignCenter);
        label->setMaxLines(3);
    }
    m_buttonsLayout->setContentsMargins(0, 4, 0, 0);
    m_buttonsLayout->setSpacing(6);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(24, 0, 24, 0);
    column->setSpacing(8);
    column->addWidget(m_heading);
    column->addWidget(m_question);
    column->addWidget(m_buttons);

    if (AppModel *model = m_context.model) {
        connect(&model->engine(), &PomodoroEngine::lookChanged, this, &RoundsDwellList::refresh);
        connect(&model->taskHub(), &TaskHub::itemsChanged, this, &RoundsDwellList::refresh);
    }
    refresh();
}

void RoundsDwellList::refresh()
{
    if (!m_context.model)
        return;
    const DwellChoices choices = DwellChoices::of(*m_context.model);
    m_heading->setText(choices.heading);
    m_question->setText(choices.question.value_or(QString()));
    m_question->setVisible(choices.question.has_value());
    if (choices.titles != m_titles)
        rebuild(choices.titles);
}

void RoundsDwellList::rebuild(const QStringList &titles)
{
    m_titles = titles;
    // The list may change from inside one of its buttons' clicks (the dwell
    // stops the run): old buttons go later, never from under their handler.
    for (DwellButton *button : std::as_const(m_buttonList)) {
        m_buttonsLayout->removeWidget(button);
        button->hide();
        button->deleteLater();
    }
    m_buttonList.clear();
    for (const QString &title : titles) {
        auto *button = new DwellButton(title, m_buttons);
        m_buttonList << button;
        connect(button, &QAbstractButton::clicked, this, [this, title] {
            if (m_context.model)
                m_context.model->dwell(title);
        });
        m_buttonsLayout->addWidget(button, 0, Qt::AlignHCenter);
    }
    m_buttons->setVisible(!titles.isEmpty());
}
