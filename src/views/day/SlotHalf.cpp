#include "views/day/SlotHalf.h"

#include "model/DayClock.h"
#include "views/day/DayItemTexts.h"
#include "views/day/DeedItem.h"
#include "views/day/PlanItem.h"
#include "views/ink/InkButton.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

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
    m_band = new QHBoxLayout(this);
    m_band->setContentsMargins(int(kSpine + kSpineGap), 0, 0, 0);
    m_band->setSpacing(0);
    setMinimumHeight(int(21 * Kiv::scale()));
}

void SlotHalf::clear()
{
    delete m_content;
    m_content = nullptr;
}

QWidget *SlotHalf::openingButton(std::optional<DayLine::Opening> opening, std::optional<bool> asDeed)
{
    if (!opening) {
        auto *spacer = new QWidget;
        spacer->setFixedHeight(1);
        return spacer;
    }
    InkLook look = InkLook::plain(Kiv::font(10), Tone::clear(), Tone::clear());
    auto *b = new InkButton(QString(), look);
    b->setObjectName(asDeed == std::optional<bool>(true)    ? QStringLiteral("day.openingDeed")
                     : asDeed == std::optional<bool>(false) ? QStringLiteral("day.openingPlan")
                                                            : QStringLiteral("day.opening"));
    b->setAccessibleName(DayClock::text(opening->start));
    b->setFixedHeight(int(21 * Kiv::scale()));
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    b->setCursor(Qt::PointingHandCursor);
    const DayLine::Opening o = *opening;
    const int slotEnd = m_model.slotEnd();
    connect(b, &InkButton::clicked, this, [this, o, asDeed, slotEnd] {
        if (m_actions && m_actions->place)
            m_actions->place(o, asDeed, slotEnd);
    });
    return b;
}

void SlotHalf::build(const SlotRowModel &model, bool twoColumns, const DayLineActions *actions)
{
    m_model = model;
    m_actions = actions;
    clear();
    m_content = new QWidget(this);
    m_band->addWidget(m_content);

    auto newColumn = [](QWidget *parent) {
        auto *c = new QVBoxLayout;
        c->setContentsMargins(0, 0, 0, 0);
        c->setSpacing(4);
        Q_UNUSED(parent);
        return c;
    };
    QVBoxLayout *planned = newColumn(m_content);
    QVBoxLayout *done = planned;
    if (twoColumns) {
        auto *pair = new QHBoxLayout(m_content);
        pair->setContentsMargins(0, 0, 0, 0);
        pair->setSpacing(12);
        done = newColumn(m_content);
        pair->addLayout(planned, 1);
        pair->addLayout(done, 1);
    } else {
        m_content->setLayout(planned);
    }

    for (const DayEvent &e : model.events)
        if (model.inUpper(e.startMinutes) == m_upper) {
            auto *item = new DayItem(Kiv::Colour::planned, e.title, DayItemTexts::event(e), false, m_content);
            item->setObjectName(QStringLiteral("day.event"));
            planned->addWidget(item);
        }
    for (const DayPlan &plan : model.plans)
        if (model.inUpper(plan.startMinutes) == m_upper) {
            auto *item = new PlanItem(
                plan, [actions, plan] { actions->start(plan); }, [actions, plan] { actions->edit(plan); }, m_content);
            item->setDraggable(!m_snapshot);
            planned->addWidget(item);
        }
    if (twoColumns)
        planned->addWidget(openingButton(model.openingOf(m_upper), false));
    for (const DayDeed &deed : model.deeds)
        if (model.inUpper(deed.startMinutes) == m_upper) {
            auto *item = new DeedItem(deed, !deed.fromCalendar, [actions, deed] {
                if (deed.editable)
                    actions->editDeed(deed);
                else
                    actions->askToRemove(deed);
            }, m_content);
            done->addWidget(item);
        }
    done->addWidget(openingButton(model.openingOf(m_upper), twoColumns ? std::optional<bool>(true) : std::nullopt));
    planned->addStretch(1);
    if (done != planned)
        done->addStretch(1);
    update();
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
