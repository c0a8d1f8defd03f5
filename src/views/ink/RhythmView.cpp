#include "views/ink/RhythmView.h"

#include "views/ink/Motion.h"
#include "views/ink/SoftShadow.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QVarLengthArray>
#include <cmath>

namespace {
const QString kEllipsis = QStringLiteral("\u22EF");

QFont ellipsisFont()
{
    return Kiv::font(12);
}
} // namespace

RhythmView::RhythmView(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_move.setValue(1);
}

void RhythmView::setRhythm(const QList<Phase> &phases, bool endless, bool openEnded, std::optional<int> current,
                           double spacing)
{
    const QList<Rhythm::Mark> next = Rhythm::marks(phases, current, openEnded);
    const bool onlyCurrentMoved = phases == m_phases && endless == m_endless && openEnded == m_openEnded
                                  && spacing == m_spacing && current != m_current;
    // A move eases from the marks last asked for (a move under way is
    // taken as finished) to the new ones; any other change shows at once.
    m_from = onlyCurrentMoved ? m_to : next;
    m_phases = phases;
    m_to = next;
    m_current = current;
    m_endless = endless;
    m_openEnded = openEnded;
    m_spacing = spacing;
    updateGeometry();
    if (onlyCurrentMoved)
        m_move.start(this, [this] { update(); }, 0, 1, 300, Motion::easeInOut());
    else {
        m_move.setValue(1);
        update();
    }
}

QSizeF RhythmView::naturalSize(const QList<Rhythm::Mark> &marks, bool endless, double spacing)
{
    double width = 0;
    for (const Rhythm::Mark &m : marks)
        width += m.size.width();
    int items = int(marks.size());
    double height = 10;
    if (endless) {
        const QFontMetricsF metrics(ellipsisFont());
        width += metrics.horizontalAdvance(kEllipsis);
        height = std::max(height, Kiv::lineHeight(ellipsisFont()));
        ++items;
    }
    if (items > 1)
        width += spacing * (items - 1);
    return {width, height};
}

QSize RhythmView::sizeHint() const
{
    const QSizeF s = naturalSize(m_to, m_endless, m_spacing);
    return {int(std::ceil(s.width())) + 2, int(std::ceil(s.height()))};
}

void RhythmView::draw(QPainter &painter, QSizeF size, const QList<Rhythm::Mark> &from, const QList<Rhythm::Mark> &to,
                      double t, bool endless, double spacing)
{
    struct Shown
    {
        QSizeF size;
        QColor fill, outline, glow;
        double outlineWidth;
    };
    const bool blend = from.size() == to.size() && t < 1.0;
    const double k = blend ? t : 1.0;
    QVarLengthArray<Shown, 8> shown;
    double width = 0;
    for (qsizetype i = 0; i < to.size(); ++i) {
        const Rhythm::Mark &b = to[i];
        const Rhythm::Mark &a = blend ? from[i] : b;
        Shown m{QSizeF(Motion::mix(a.size.width(), b.size.width(), k), Motion::mix(a.size.height(), b.size.height(), k)),
                Motion::mix(a.fill.resolve(), b.fill.resolve(), k), Motion::mix(a.outline.resolve(), b.outline.resolve(), k),
                Motion::mix(a.glow.resolve(), b.glow.resolve(), k), Motion::mix(a.outlineWidth, b.outlineWidth, k)};
        width += m.size.width() + (i > 0 ? spacing : 0);
        shown.append(m);
    }
    const QFont font = ellipsisFont();
    const QFontMetricsF metrics(font);
    if (endless)
        width += (shown.isEmpty() ? 0 : spacing) + metrics.horizontalAdvance(kEllipsis);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    double x = (size.width() - width) / 2;
    const double cy = size.height() / 2;
    for (const Shown &m : shown) {
        const QRectF r(x, cy - m.size.height() / 2, m.size.width(), m.size.height());
        QPainterPath capsule;
        const double radius = std::min(r.width(), r.height()) / 2;
        capsule.addRoundedRect(r, radius, radius);
        if (m.glow.alpha() > 0)
            SoftShadow::draw(painter, capsule, m.glow, 3);
        if (m.fill.alpha() > 0)
            painter.fillPath(capsule, m.fill);
        if (m.outline.alpha() > 0 && m.outlineWidth > 0) {
            // The outline lies inside the mark's own size.
            const double w = m.outlineWidth;
            const QRectF ri = r.adjusted(w / 2, w / 2, -w / 2, -w / 2);
            const double ro = std::min(ri.width(), ri.height()) / 2;
            QPainterPath inset;
            inset.addRoundedRect(ri, ro, ro);
            painter.strokePath(inset, QPen(m.outline, w));
        }
        x += m.size.width() + spacing;
    }
    if (endless) {
        painter.setFont(font);
        painter.setPen(Kiv::inkSoft());
        painter.drawText(QPointF(x, Kiv::baselineFor(font, cy)), kEllipsis);
    }
    painter.restore();
}

void RhythmView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    draw(painter, size(), m_from, m_to, m_move.value(), m_endless, m_spacing);
}
