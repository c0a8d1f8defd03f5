#include "views/day/DayTimeline.h"

#include "core/L.h"
#include "views/day/DayLegend.h"
#include "views/day/DayStyle.h"
#include "views/day/SlotRow.h"
#include "views/day/UntimedPlanRow.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

DayTimeline::DayTimeline(bool snapshot, QWidget *parent)
    : QWidget(parent)
    , m_snapshot(snapshot)
{
    setObjectName(QStringLiteral("day.line"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 4);
    auto *heading = new ElidedLabel(L(QStringLiteral("今日のならび")), Kiv::font(13), Tone{Kiv::Colour::inkSoft}, this);
    heading->setMaxLines(2); // beside the calendar button in a narrow page
    // No narrower than its longest word, so that its two lines hold it.
    double widest = 0;
    for (const QString &word : heading->text().split(QLatin1Char(' ')))
        widest = std::max(widest, QFontMetricsF(heading->font()).horizontalAdvance(word));
    heading->setMinimumWidth(int(std::ceil(widest)));
    header->addWidget(heading, 1);
    header->addStretch(1);
    m_readButton = DayStyle::button(L(QStringLiteral("カレンダーを読む")), DayStyle::text(12, Kiv::Colour::indigo),
                                    QStringLiteral("day.readCalendars"), this);
    m_settingsButton = DayStyle::button(L(QStringLiteral("{0}を開く"), L(QStringLiteral("設定"))),
                                        DayStyle::text(12, Kiv::Colour::indigo),
                                        QStringLiteral("day.calendarSettings"), this);
    header->addWidget(m_readButton);
    header->addWidget(m_settingsButton);
    connect(m_readButton, &InkButton::clicked, this, &DayTimeline::readCalendarsRequested);
    connect(m_settingsButton, &InkButton::clicked, this, &DayTimeline::calendarSettingsRequested);
    column->addLayout(header);

    auto *legend = new QHBoxLayout;
    legend->setSpacing(12);
    legend->addWidget(new DayLegend(this));
    legend->addStretch(1);
    column->addLayout(legend);

    auto *hint = new TextBlock(L(QStringLiteral("空いているところを押すと置けます。過ぎたところには、行ったことも書けます")),
                               Kiv::font(10), Tone{Kiv::Colour::inkGhost}, this);
    hint->setObjectName(QStringLiteral("day.placingHint"));
    column->addSpacing(3);
    column->addWidget(hint);
    column->addSpacing(8);

    m_lists = new QWidget(this);
    m_listsLayout = new QVBoxLayout(m_lists);
    m_listsLayout->setContentsMargins(0, 0, 0, 0);
    m_listsLayout->setSpacing(0);
    column->addWidget(m_lists);

    m_reason = new TextBlock(QString(), Kiv::font(12), Tone{Kiv::Colour::inkFaint}, this);
    m_reason->setObjectName(QStringLiteral("day.emptyReason"));
    m_reason->setContentsMargins(0, 10, 0, 10);
    column->addWidget(m_reason);

    m_columnHeader = new QWidget(this);
    auto *heads = new QHBoxLayout(m_columnHeader);
    heads->setContentsMargins(int(32 * Kiv::scale()), 0, 0, 6);
    heads->setSpacing(12);
    const QFont headFont = Kiv::tracked(Kiv::font(13, Kiv::Design::serif), 4, 0.48);
    heads->addWidget(new ElidedLabel(L(QStringLiteral("予定")), headFont, Tone{Kiv::Colour::planned}, m_columnHeader), 1);
    heads->addWidget(new ElidedLabel(L(QStringLiteral("したこと")), headFont, Tone{Kiv::Colour::actual}, m_columnHeader), 1);
    m_columnHeader->setVisible(false);
    column->addWidget(m_columnHeader);

    for (int h = 0; h < 24; ++h) {
        auto *row = new SlotRow(h, snapshot, this);
        m_rows << row;
        column->addWidget(row);
    }
}

QString DayTimeline::emptyReason(CalendarAccess access)
{
    const QString path = L(QStringLiteral("設定 → カレンダー"));
    switch (access) {
    case CalendarAccess::WriteOnly:
        return L(QStringLiteral("カレンダーのフォルダは、書き込みだけが許されています。\n{0} で、読み書きできるフォルダを選んでください。"), path);
    case CalendarAccess::Restricted:
    case CalendarAccess::Denied:
        return L(QStringLiteral("カレンダーへのアクセスが断られています。\n{0} で許可してください。\nここに並ぶのはカレンダーのフォルダの予定です ── Google カレンダーも、CalDAV を同期する道具でフォルダに写してあれば一緒に出ます。"),
                 path);
    default:
        return L(QStringLiteral("右上の「カレンダーを読む」を押すと、今日の予定がここに並びます"));
    }
}

void DayTimeline::set(const Input &input, const DayLineActions *actions)
{
    const bool listsChanged = !m_haveInput || input.events != m_input.events || input.plans != m_input.plans;
    if (m_haveInput && input == m_input && m_builtWide == m_wide && actions == m_actions)
        return; // nothing the timeline shows has changed
    ++m_builds;
    m_builtWide = m_wide;
    m_haveInput = true;
    m_input = input;
    m_actions = actions;
    const bool full = input.access == CalendarAccess::FullAccess;
    const bool denied = input.access == CalendarAccess::Restricted || input.access == CalendarAccess::Denied
        || input.access == CalendarAccess::WriteOnly;
    m_readButton->setVisible(!full && !denied);
    m_settingsButton->setVisible(denied);
    m_reason->setVisible(!full);
    m_reason->setText(full ? QString() : emptyReason(input.access));
    m_columnHeader->setVisible(m_wide);
    if (listsChanged)
        rebuildLists();

    QList<DayPlan> timed;
    for (const DayPlan &p : input.plans)
        if (p.timed)
            timed << p;
    const QList<SlotRowModel> rows =
        DayLineRules::rows(input.events, timed, input.deeds, input.calendarDeeds, input.today, input.nowMinute);
    for (int h = 0; h < 24; ++h)
        m_rows[h]->set(rows[h], m_wide, actions);
    settleOpeningStop();
}

QList<InkButton *> DayTimeline::openings() const
{
    QList<InkButton *> out;
    for (InkButton *b : findChildren<InkButton *>())
        if (b->objectName().startsWith(QLatin1String("day.opening")) && !b->isHidden()
            && b->property("start").isValid())
            out << b;
    std::stable_sort(out.begin(), out.end(), [](const InkButton *a, const InkButton *b) {
        const int sa = a->property("start").toInt(), sb = b->property("start").toInt();
        if (sa != sb)
            return sa < sb;
        return a->property("asDeed").toBool() < b->property("asDeed").toBool();
    });
    return out;
}

void DayTimeline::settleOpeningStop()
{
    if (m_snapshot)
        return;
    const QList<InkButton *> all = openings();
    if (!m_stopChosen || !m_stop || !all.contains(m_stop.data())) {
        m_stopChosen = false;

        m_stop = all.isEmpty() ? nullptr : all.first();
        // Today, the half hour of the present time, or the next free one.
        if (m_input.today)
            for (InkButton *b : all)
                if (b->property("start").toInt() + 30 > m_input.nowMinute) {
                    m_stop = b;
                    break;
                }
    }
    for (InkButton *b : all) {
        if (!b->property("dayOpeningWatched").toBool()) {
            b->setProperty("dayOpeningWatched", true);
            b->setProperty("focusGroup", QStringLiteral("day.openings"));
            b->installEventFilter(this);
        }
        b->setFocusPolicy(b == m_stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

bool DayTimeline::eventFilter(QObject *watched, QEvent *event)
{
    auto *button = qobject_cast<InkButton *>(watched);
    if (!button || !button->property("dayOpeningWatched").toBool())
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        m_stopChosen = true;
        if (button != m_stop) {
            m_stop = button;
            settleOpeningStop();
        }
    } else if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        const QList<InkButton *> all = openings();
        const qsizetype at = all.indexOf(button);
        qsizetype to = -1;
        // Up and down go along the day; left and right stay the page's
        // (they change the day).
        switch (key->key()) {
        case Qt::Key_Up:
            to = at - 1;
            break;
        case Qt::Key_Down:
            to = at + 1;
            break;
        case Qt::Key_Home:
            to = 0;
            break;
        case Qt::Key_End:
            to = all.size() - 1;
            break;
        default:
            return false;
        }
        if (at >= 0 && to >= 0 && to < all.size() && to != at) {
            InkButton *next = all[to];
            m_stop = next;
            m_stopChosen = true;
            settleOpeningStop();
            next->setFocus(Qt::TabFocusReason);
            for (QWidget *w = next->parentWidget(); w; w = w->parentWidget())
                if (auto *area = qobject_cast<QScrollArea *>(w)) {
                    area->ensureWidgetVisible(next);
                    break;
                }
        }
        return true; // up and down stay within the day
    }
    return QWidget::eventFilter(watched, event);
}

void DayTimeline::rebuildLists()
{
    while (QLayoutItem *item = m_listsLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const DayEvent &e : m_input.events) {
        if (!e.isAllDay)
            continue;
        auto *line = new QWidget(m_lists);
        line->setObjectName(QStringLiteral("day.allDay"));
        auto *row = new QHBoxLayout(line);
        row->setContentsMargins(0, 0, 0, 4);
        row->setSpacing(8);
        row->addWidget(new ElidedLabel(L(QStringLiteral("終日")), Kiv::font(10), Tone{Kiv::Colour::inkFaint}, line));
        row->addWidget(new ElidedLabel(e.title, Kiv::font(12), Tone{Kiv::Colour::inkSoft}, line), 1);
        m_listsLayout->addWidget(line);
        showNow(line);
    }
    const DayLineActions *actions = m_actions;
    for (const DayPlan &p : m_input.plans) {
        if (p.timed)
            continue;
        auto *row = new UntimedPlanRow(
            p, [actions, p] { actions->start(p); }, [actions, p] { actions->edit(p); }, m_lists);
        m_listsLayout->addWidget(row);
        showNow(row);
    }
}

void DayTimeline::showNow(QWidget *line)
{
    // Shown at once, not at the layout's queued show, so the timeline has
    // its height when the page scrolls to the hour.
    if (m_lists->isVisible())
        line->show();
}

void DayTimeline::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const bool wide = event->size().width() >= DayLineRules::kWideFrom;
    if (wide == m_wide)
        return;
    m_wide = wide;
    emit wideChanged(wide);
}
