#include "views/tasks/ClosedRow.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "sources/TaskHub.h"
#include "stores/LocalTaskStore.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/FocusRing.h"
#include "views/ink/InkButton.h"
#include "views/ink/LayoutRole.h"
#include "views/ink/SymbolLabel.h"
#include "views/tasks/PlaceDay.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>

namespace {

// The title of a finished task, struck through with a line of ghost ink.
class StruckTitle : public ElidedLabel
{
public:
    StruckTitle(const QString &text, bool struck)
        : ElidedLabel(text, Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::inkSoft})
        , m_struck(struck)
    {
    }
    bool isStruck() const { return m_struck; }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ElidedLabel::paintEvent(event);
        if (!m_struck)
            return;
        const QStringList lines = linesAt(width());
        if (lines.isEmpty())
            return;
        const QFontMetricsF metrics(font());
        const double w = std::min<double>(metrics.horizontalAdvance(lines.first()), width());
        const double y = Kiv::baselineFor(font(), height() / 2.0) - metrics.xHeight() / 2;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Kiv::inkGhost(), 1));
        painter.drawLine(QPointF(0, y), QPointF(w, y));
    }

private:
    bool m_struck;
};

} // namespace

ClosedRow::Look ClosedRow::Look::of(const LocalTask &task)
{
    Look look;
    look.setDown = task.isAbandoned();
    look.struck = !look.setDown;
    const std::optional<QDateTime> day = task.completedAt ? task.completedAt : task.abandonedAt;
    if (day)
        look.date = PlaceDay::monthDay(*day);
    return look;
}

ClosedRow::ClosedRow(const ViewContext &context, const LocalTask &task, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_task(task)
{
    setObjectName(QStringLiteral("tasks.closedRow"));
    setAttribute(Qt::WA_Hover);
    const Look look = Look::of(task);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(14 + 12, 8, 14 + 12, 8);
    row->setSpacing(10);
    auto *mark = new SymbolLabel(look.setDown ? Symbol::arrowUturnLeftCircle : Symbol::checkmarkCircleFill,
                                 12 * Kiv::scale(),
                                 look.setDown ? Tone{Kiv::Colour::inkFaint} : Tone{Kiv::Colour::moss, 0.8});
    mark->setObjectName(QStringLiteral("tasks.closedRow.mark"));
    row->addWidget(mark);
    auto *title = new StruckTitle(task.title, look.struck);
    title->setObjectName(QStringLiteral("tasks.closedRow.title"));
    // At its own width while the line has room, the date right after it;
    // cut to one line when it has not, the date and the button kept whole.
    LayoutRole::setMayElide(title);
    title->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    row->addWidget(title);
    if (!look.date.isEmpty()) {
        auto *date = new ElidedLabel(look.date, Kiv::font(10), {Kiv::Colour::inkFaint});
        date->setObjectName(QStringLiteral("tasks.closedRow.date"));
        date->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        row->addWidget(date);
    }
    row->addSpacing(8);
    row->addStretch(1);
    m_revive = new InkButton(L(QStringLiteral("手元へ戻す")),
                             InkLook::plain(Kiv::font(12), {Kiv::Colour::inkSoft}, {Kiv::Colour::ink}));
    m_revive->setObjectName(QStringLiteral("tasks.closedRow.revive"));
    // Takes room only while shown: the space after a short title takes it,
    // a long title gives way to it.
    m_revive->hide();
    connect(m_revive, &InkButton::clicked, this, &ClosedRow::revive);
    row->addWidget(m_revive);
    // The keyboard reaches the button through the line: it shows while the
    // line or the button holds the focus, as it does under the pointer.
    setFocusPolicy(Qt::TabFocus);
    m_revive->setFocusPolicy(Qt::TabFocus);
    m_revive->installEventFilter(this);
}

void ClosedRow::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    m_keyboardFocus = FocusRing::shows(event, m_keyboardFocus);
    setHovering(m_hovering);
}

void ClosedRow::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    setHovering(m_hovering);
}

bool ClosedRow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_revive && (event->type() == QEvent::FocusOut || event->type() == QEvent::FocusIn))
        QMetaObject::invokeMethod(this, [this] { setHovering(m_hovering); }, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void ClosedRow::revive()
{
    if (!m_context.model)
        return;
    m_context.model->taskHub().local().revive(m_task.id);
    m_context.model->taskHub().reload();
}

void ClosedRow::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    setHovering(true);
}

void ClosedRow::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    setHovering(false);
}

void ClosedRow::setHovering(bool hovering)
{
    m_hovering = hovering;
    const bool focused = (hasFocus() && m_keyboardFocus) || m_revive->hasFocus();
    m_revive->setVisible((hovering || focused) && !m_context.snapshot);
}
