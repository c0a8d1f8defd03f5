#include "views/day/PlanEditor.h"

#include "core/L.h"
#include "views/day/DayPageRules.h"
#include "views/day/DayStyle.h"
#include "views/day/TimeAndLength.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"

#include <QVBoxLayout>

PlanEditor::PlanEditor(const DayPlan &plan, int limit, std::optional<int> now, Move move,
                       std::function<void()> remove, QWidget *parent)
    : DaySheet(QStringLiteral("day.planEditor"), 14, parent)
{
    setWindowTitle(L(QStringLiteral("時刻を直す")));
    auto *title = new ElidedLabel(plan.title, Kiv::font(16, Kiv::Design::serif), Tone{Kiv::Colour::ink}, this);
    title->setMaxLines(2);
    column()->addWidget(title);
    if (!plan.timed) {
        auto *hint = new TextBlock(L(QStringLiteral("日だけ決めてありました。時刻を入れると、帯に並びます。")),
                                   Kiv::font(10), Tone{Kiv::Colour::inkFaint}, this);
        hint->setObjectName(QStringLiteral("day.planEditor.untimedHint"));
        column()->addWidget(hint);
    }
    m_chooser = new TimeAndLength(QStringLiteral("planEditor"), this);
    m_chooser->set(DayPageRules::planEditorStart(plan, now), plan.minutes, limit);
    column()->addWidget(m_chooser);

    InkButton *ok = addEditorButtons(QStringLiteral("planEditor"), L(QStringLiteral("外す|予定")), remove);
    connect(ok, &InkButton::clicked, this, [this, move] {
        move(m_chooser->start(), m_chooser->minutes());
        accept();
    });
}

int PlanEditor::start() const
{
    return m_chooser->start();
}

int PlanEditor::minutes() const
{
    return m_chooser->minutes();
}
