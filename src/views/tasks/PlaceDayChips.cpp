#include "views/tasks/PlaceDayChips.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "platform/time/Clock.h"
#include "stores/DayNoteStore.h"
#include "views/ink/ChipButton.h"
#include "views/ink/ElidedLabel.h"
#include "views/tasks/PlaceChipLine.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

PlaceDayChips::PlaceDayChips(const ViewContext &context, const LocalTask &task, const QString &hint, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_task(task)
{
    setObjectName(QStringLiteral("tasks.placeChips"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(5);

    auto *heading = new QHBoxLayout;
    heading->setSpacing(6);
    auto *title = new ElidedLabel(L(QStringLiteral("いつに置く")), Kiv::font(10), {Kiv::Colour::inkSoft});
    auto *note = new ElidedLabel(hint.isEmpty() ? L(QStringLiteral("向き合う日。時刻は一日の頁で")) : hint,
                                 Kiv::font(9), {Kiv::Colour::inkFaint});
    title->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    heading->addWidget(title, 0, Qt::AlignBottom);
    heading->addWidget(note, 1, Qt::AlignBottom);
    column->addLayout(heading);

    auto *chips = new QHBoxLayout;
    chips->setSpacing(5);
    m_today = new ChipButton;
    m_today->setObjectName(QStringLiteral("tasks.place.today"));
    m_tomorrow = new ChipButton;
    m_tomorrow->setObjectName(QStringLiteral("tasks.place.tomorrow"));
    m_other = new ChipButton;
    m_other->setObjectName(QStringLiteral("tasks.place.other"));
    m_calendar = new ChipButton;
    m_calendar->setObjectName(QStringLiteral("tasks.place.calendar"));
    m_calendar->setSymbol(Symbol::calendar);
    m_calendar->setName(L(QStringLiteral("暦から日を選ぶ")));
    for (ChipButton *chip : {m_today, m_tomorrow, m_other, m_calendar})
        chips->addWidget(chip);
    chips->addStretch(1);
    column->addLayout(chips);

    connect(m_today, &ChipButton::clicked, this, [this] { tapToday(false); });
    connect(m_tomorrow, &ChipButton::clicked, this, [this] { tapToday(true); });
    connect(m_other, &ChipButton::clicked, this, &PlaceDayChips::tapOther);
    connect(m_calendar, &ChipButton::clicked, this, &PlaceDayChips::calendarRequested);
    if (m_context.model)
        connect(&m_context.model->days(), &DayNoteStore::changed, this, &PlaceDayChips::refresh);
    refresh();
}

void PlaceDayChips::setTask(const LocalTask &task)
{
    m_task = task;
    refresh();
}

void PlaceDayChips::refresh()
{
    if (!m_context.model)
        return;
    const QDateTime now = Clock::current().now();
    const PlaceChipLine line = PlaceChipLine::of(m_context.model->placedDays(m_task.id, now), now);
    m_today->setText(line.todayText);
    m_today->setLit(line.todayLit);
    m_tomorrow->setText(line.tomorrowText);
    m_tomorrow->setLit(line.tomorrowLit);
    m_other->setVisible(line.firstOther.has_value());
    m_other->setText(line.otherText);
    m_other->setLit(true);
}

void PlaceDayChips::tapToday(bool tomorrow)
{
    // The state at the tap, read as the chip shows it.
    const QDateTime now = Clock::current().now();
    const PlaceChipLine line = PlaceChipLine::of(m_context.model->placedDays(m_task.id, now), now);
    const QDateTime day = tomorrow ? line.tomorrow : line.today;
    if (tomorrow ? line.tomorrowLit : line.todayLit)
        m_context.model->unplace(m_task.id, day);
    else
        m_context.model->placeOnDay(m_task, day);
}

void PlaceDayChips::tapOther()
{
    const QDateTime now = Clock::current().now();
    const PlaceChipLine line = PlaceChipLine::of(m_context.model->placedDays(m_task.id, now), now);
    if (!line.firstOther)
        return;
    if (line.otherOpensCalendar())
        emit calendarRequested();
    else
        m_context.model->unplace(m_task.id, *line.firstOther);
}
