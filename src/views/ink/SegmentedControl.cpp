#include "views/ink/SegmentedControl.h"

#include "views/ink/InkButton.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace {
// The chosen segment reads strongest: paper on indigo, as a lit chip; the
// others are soft ink that darkens under the pointer.
InkLook segmentLook(bool chosen)
{
    InkLook look = InkLook::plain(Kiv::font(12), chosen ? Tone{Kiv::Colour::paper} : Tone{Kiv::Colour::inkSoft},
                                  chosen ? Tone{Kiv::Colour::paper} : Tone{Kiv::Colour::ink});
    look.shape = InkLook::Shape::rounded;
    look.cornerRadius = 5;
    look.fill = chosen ? Tone{Kiv::Colour::indigo} : Tone::clear();
    look.fillHover = chosen ? Tone{Kiv::Colour::indigo} : Tone{Kiv::Colour::ink, 0.05};
    look.padding = QMarginsF(12, 3, 12, 3);
    return look;
}
} // namespace

SegmentedControl::SegmentedControl(const QStringList &segments, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    m_group.setExclusive(true);
    for (const QString &text : segments) {
        auto *button = new InkButton(text, segmentLook(false), this);
        button->setCheckable(true);
        button->installEventFilter(this);
        m_group.addButton(button, int(m_segments.size()));
        m_segments << button;
        layout->addWidget(button);
    }
    connect(&m_group, &QButtonGroup::idClicked, this, [this](int id) { choose(id, true); });
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCurrentIndex(0);
}

InkButton *SegmentedControl::segment(int index) const
{
    return index >= 0 && index < count() ? m_segments[index] : nullptr;
}

void SegmentedControl::setCurrentIndex(int index)
{
    choose(index, false);
}

void SegmentedControl::choose(int index, bool byUser)
{
    if (index < 0 || index >= count())
        return;
    const bool changed = index != m_current;
    m_current = index;
    restyle();
    if (changed && byUser)
        emit currentChanged(index);
}

void SegmentedControl::restyle()
{
    for (int i = 0; i < count(); ++i) {
        m_segments[i]->setChecked(i == m_current);
        // Tab reaches the chosen segment; the arrows reach the others.
        m_segments[i]->setFocusPolicy(i == m_current ? Qt::StrongFocus : Qt::ClickFocus);
        m_segments[i]->setLook(segmentLook(i == m_current));
    }
}

bool SegmentedControl::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const int step = key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0;
        const int at = int(m_segments.indexOf(static_cast<InkButton *>(watched)));
        if (step != 0 && at >= 0) {
            const int next = at + step;
            if (next >= 0 && next < count()) {
                choose(next, true);
                m_segments[next]->setFocus(Qt::TabFocusReason);
            }
            return true;
        }
    }
    return false;
}

void SegmentedControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath frame;
    frame.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
    painter.strokePath(frame, QPen(Kiv::hairline(), 1));
}
