#include "views/day/SlotHalf.h"

#include "model/DayClock.h"
#include "views/day/DayItemTexts.h"
#include "views/day/DeedItem.h"
#include "views/day/PlanItem.h"
#include "views/ink/InkButton.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr double kSpine = 4;    // the spine's frame
constexpr double kSpineGap = 10; // between the spine and the entries

void segments(QPainter &p, const QList<DayLine::Span> &spans, const QColor &colour, double height, double offset)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const double centre = kSpine / 2;
    for (const DayLine::Span &s : spans) {
        const double h = std::max(2.0, (s.to - s.from) * height);
        p.drawRoundedRect(QRectF(centre + offset - 1.25, s.from * height, 2.5, h), 1.25, 1.25);
    }
}

} // namespace

SlotHalf::SlotHalf(bool upper, bool snapshot, QWidget *parent)
    : QWidget(parent)
    , m_upper(upper)
    , m_snapshot(snapshot)
{
    setObjectName(upper ? QStringLiteral("day.upperHalf") : QStringLiteral("day.lowerHalf"));
    auto *band = new QHBoxLayout(this);
    band->setContentsMargins(int(kSpine + kSpineGap), 0, 0, 0);
    band->setSpacing(12);
    auto column = [&](QWidget *host, QVBoxLayout *&items, InkButton *&opening) {
        auto *c = new QVBoxLayout(host);
        c->setContentsMargins(0, 0, 0, 0);
        c->setSpacing(4);
        items = new QVBoxLayout;
        items->setContentsMargins(0, 0, 0, 0);
        items->setSpacing(4);
        c->addLayout(items);
        opening = makeOpening();
        c->addWidget(opening);
        c->addStretch(1);
    };
    auto *left = new QWidget(this);
    m_right = new QWidget(this);
    column(left, m_planned, m_openLeft);
    column(m_right, m_done, m_openRight);
    band->addWidget(left, 1);
    band->addWidget(m_right, 1);
    m_right->setVisible(false);
}

QSize SlotHalf::minimumSizeHint() const
{
    // At least a half-hour's height, and never less than its items need: a
    // fixed minimum height would override the layout's and squeeze them.
    QSize size = QWidget::minimumSizeHint();
    size.setHeight(std::max(size.height(), int(21 * Kiv::scale())));
    return size;
}

InkButton *SlotHalf::makeOpening()
{
    auto *b = new InkButton(QString(), InkLook::plain(Kiv::font(10), Tone::clear(), Tone::clear()));
    b->setFixedHeight(int(21 * Kiv::scale()));
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    b->setCursor(Qt::PointingHandCursor);
    b->setVisible(false);
    connect(b, &InkButton::clicked, this, [this, b] {
        const QVariant start = b->property("start"), minutes = b->property("minutes"), deed = b->property("asDeed");
        if (!m_actions || !m_actions->place || !start.isValid())
            return;
        const std::optional<bool> asDeed = deed.isValid() ? std::optional<bool>(deed.toBool()) : std::nullopt;
        m_actions->place(DayLine::Opening{start.toInt(), minutes.toInt()}, asDeed, m_model.slotEnd());
    });
    return b;
}

void SlotHalf::setOpening(InkButton *b, std::optional<DayLine::Opening> opening, std::optional<bool> asDeed)
{
    // Without a free stretch the half keeps only its least height: nothing can be placed there.
    b->setVisible(opening.has_value());
    b->setObjectName(asDeed == std::optional<bool>(true)    ? QStringLiteral("day.openingDeed")
                     : asDeed == std::optional<bool>(false) ? QStringLiteral("day.openingPlan")
                                                            : QStringLiteral("day.opening"));
    if (!opening)
        return;
    b->setAccessibleName(DayClock::text(opening->start));
    b->setProperty("start", opening->start);
    b->setProperty("minutes", opening->minutes);
    b->setProperty("asDeed", asDeed ? QVariant(*asDeed) : QVariant());
}

void SlotHalf::clear(QVBoxLayout *box)
{
    while (QLayoutItem *item = box->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

void SlotHalf::build(const SlotRowModel &model, bool twoColumns, const DayLineActions *actions)
{
    m_model = model;
    m_actions = actions;
    Entries entries;
    entries.twoColumns = twoColumns;
    entries.actions = actions;
    for (const DayEvent &e : model.events)
        if (model.inUpper(e.startMinutes) == m_upper)
            entries.events << e;
    for (const DayPlan &p : model.plans)
        if (model.inUpper(p.startMinutes) == m_upper)
            entries.plans << p;
    for (const DayDeed &d : model.deeds)
        if (model.inUpper(d.startMinutes) == m_upper)
            entries.deeds << d;

    const std::optional<DayLine::Opening> opening = model.openingOf(m_upper);
    m_right->setVisible(twoColumns);
    setOpening(m_openLeft, opening, twoColumns ? std::optional<bool>(false) : std::nullopt);
    setOpening(m_openRight, twoColumns ? opening : std::nullopt, true);
    update();
    if (m_built && entries == m_entries)
        return;
    m_built = true;
    m_entries = entries;
    clear(m_planned);
    clear(m_done);
    QVBoxLayout *done = twoColumns ? m_done : m_planned;
    for (const DayEvent &e : entries.events) {
        auto *item = new DayItem(Kiv::Colour::planned, e.title, DayItemTexts::event(e), false, this);
        item->setObjectName(QStringLiteral("day.event"));
        m_planned->addWidget(item);
    }
    for (const DayPlan &plan : entries.plans) {
        auto *item = new PlanItem(
            plan, [actions, plan] { actions->start(plan); }, [actions, plan] { actions->edit(plan); }, this);
        item->setDraggable(!m_snapshot);
        m_planned->addWidget(item);
    }
    for (const DayDeed &deed : entries.deeds) {
        auto *item = new DeedItem(
            deed, !deed.fromCalendar,
            [actions, deed] {
                if (deed.editable)
                    actions->editDeed(deed);
                else
                    actions->askToRemove(deed);
            },
            this);
        done->addWidget(item);
    }
}

void SlotHalf::drawSpine(QPainter &p, double height, const SlotRowModel &model, bool upper)
{
    p.setRenderHint(QPainter::Antialiasing);
    const double centre = kSpine / 2;
    if (model.isNow)
        p.fillRect(QRectF(centre - 1, 0, 2, height), Kiv::vermilion());
    else
        p.fillRect(QRectF(centre - 0.5, 0, 1, height), model.busy ? Kiv::inkGhost() : Kiv::hairline(0.6));
    segments(p, DayLine::inHalf(model.plannedSpans, upper), Kiv::planned(0.9), height, -1.5);
    segments(p, DayLine::inHalf(model.deedSpans, upper), Kiv::actual(0.9), height, 1.5);
}

void SlotHalf::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    drawSpine(p, height(), m_model, m_upper);
    if (!m_model.isNow)
        return;
    const bool here = m_upper ? m_model.nowFraction < 0.5 : m_model.nowFraction >= 0.5;
    if (!here)
        return;
    const double f = m_upper ? 2 * m_model.nowFraction : 2 * (m_model.nowFraction - 0.5);
    const double y = f * height();
    p.setPen(QPen(Kiv::vermilion(0.55), 1));
    p.drawLine(QPointF(0, y), QPointF(width(), y));
    p.setPen(Qt::NoPen);
    p.setBrush(Kiv::vermilion());
    p.drawEllipse(QRectF(-0.5, y - 2.5, 5, 5));
}
