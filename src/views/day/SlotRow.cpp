#include "views/day/SlotRow.h"

#include "core/Kiv.h"
#include "views/day/SlotHalf.h"

#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {

QStringList textsOf(const QMimeData *mime)
{
    if (!mime || !mime->hasText())
        return {};
    return mime->text().split(QRegularExpression(QStringLiteral("[\\r\\n]+")), Qt::SkipEmptyParts);
}

} // namespace

SlotRow::SlotRow(int hour, bool snapshot, QWidget *parent)
    : QWidget(parent)
    , m_snapshot(snapshot)
{
    setObjectName(QStringLiteral("hour-") + QString::number(hour));
    setAcceptDrops(!snapshot);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    m_label = new QLabel(QString::number(hour), this);
    m_label->setFont(Kiv::font(11));
    m_label->setFixedWidth(int(22 * Kiv::scale()));
    m_label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    m_label->setContentsMargins(0, 2, 0, 0);
    row->addWidget(m_label, 0, Qt::AlignTop);
    auto *halves = new QVBoxLayout;
    halves->setContentsMargins(0, 0, 0, 0);
    halves->setSpacing(1); // the divider is painted in this gap
    m_upper = new SlotHalf(true, snapshot, this);
    m_lower = new SlotHalf(false, snapshot, this);
    halves->addWidget(m_upper);
    halves->addWidget(m_lower);
    row->addLayout(halves, 1);
    m_model.hour = hour;
}

void SlotRow::set(const SlotRowModel &model, bool twoColumns, const DayLineActions *actions)
{
    if (m_built && model == m_model && twoColumns == m_twoColumns && actions == m_actions)
        return;
    m_built = true;
    m_model = model;
    m_twoColumns = twoColumns;
    m_actions = actions;
    QPalette pal = m_label->palette();
    pal.setColor(QPalette::WindowText, model.isNow ? Kiv::vermilion() : Kiv::inkFaint());
    m_label->setPalette(pal);
    m_upper->build(model, twoColumns, actions);
    m_lower->build(model, twoColumns, actions);
    update();
}

QList<QUuid> SlotRow::droppedIDs(const QStringList &texts)
{
    QList<QUuid> ids;
    for (const QString &t : texts) {
        const QUuid id(t.trimmed());
        if (!id.isNull())
            ids << id;
    }
    return ids;
}

void SlotRow::setDropTargeted(bool on)
{
    if (m_dropTargeted == on)
        return;
    m_dropTargeted = on;
    update();
}

void SlotRow::dragEnterEvent(QDragEnterEvent *event)
{
    if (droppedIDs(textsOf(event->mimeData())).isEmpty()) {
        event->ignore();
        return;
    }
    setDropTargeted(true);
    event->acceptProposedAction();
}

void SlotRow::dragMoveEvent(QDragMoveEvent *event)
{
    event->acceptProposedAction();
}

void SlotRow::dragLeaveEvent(QDragLeaveEvent *)
{
    setDropTargeted(false);
}

void SlotRow::dropEvent(QDropEvent *event)
{
    setDropTargeted(false);
    const QList<QUuid> ids = droppedIDs(textsOf(event->mimeData()));
    if (ids.isEmpty() || !m_actions) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    const QUuid id = ids.first();
    const int start = m_model.slotStart();
    // The row is rebuilt by the move; let the drop finish first.
    QMetaObject::invokeMethod(
        this, [actions = m_actions, id, start] { actions->moveTo(id, start); }, Qt::QueuedConnection);
}

void SlotRow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (m_dropTargeted) {
        p.setPen(Qt::NoPen);
        p.setBrush(Kiv::planned(0.10));
        p.drawRoundedRect(QRectF(rect()), 6, 6);
    }
    // The grid line along the top, from the spine on.
    const double spineX = 22 * Kiv::scale() + 12;
    p.fillRect(QRectF(spineX, 0, width() - spineX, 1), Kiv::hairline(0.55));
    // The divider between the halves.
    const double x = m_upper->x() + 2;
    p.fillRect(QRectF(x, m_upper->geometry().bottom() + 1, width() - x, 1), Kiv::hairline(0.25));
}
