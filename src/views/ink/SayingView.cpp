#include "views/ink/SayingView.h"

#include "core/L.h"
#include "views/ink/Chance.h"
#include "views/ink/Motion.h"

#include <QFontMetricsF>
#include <QPainter>
#include <array>
#include <cmath>

namespace {
constexpr int kHeight = 54;

QFont phraseFont()
{
    return Kiv::tracked(Kiv::font(13, Kiv::Design::serif), 3, 0.36);
}
QFont readingFont()
{
    return Kiv::tracked(Kiv::font(9.5), 1, 0.12);
}
QFont glossFont()
{
    return Kiv::font(10.5);
}
} // namespace

SayingView::SayingView(QWidget *parent)
    : InkButton(parent)
    , m_saying(Saying::random(std::nullopt, Chance::generator()))
{
    InkLook look;
    look.opacityHover = 0.75;
    look.hoverMs = 0;
    setLook(look);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setToolTip(L("押すと別の句に変わります"));
    m_fade.setValue(1);
    describe();
    connect(this, &QAbstractButton::clicked, this, &SayingView::next);
}

void SayingView::setSaying(const Saying &saying)
{
    m_saying = saying;
    m_fade.setValue(1);
    describe();
    update();
}

void SayingView::next()
{
    m_previous = m_saying;
    m_saying = Saying::random(m_saying, Chance::generator());
    describe();
    m_fade.start(this, [this] { update(); }, 0, 1, 350, Motion::easeInOut());
}

void SayingView::describe()
{
    setAccessibleName(QStringList{m_saying.phrase, m_saying.reading, m_saying.gloss}.join(QLatin1Char(' ')));
}

namespace {
struct Line
{
    QString text;
    QFont font;
    QColor colour;
    double above;
};

std::array<Line, 3> linesOf(const Saying &saying)
{
    return {Line{saying.phrase, phraseFont(), Kiv::inkSoft(), 0},
            Line{saying.reading, readingFont(), Kiv::inkFaint(), 3},
            Line{saying.gloss, glossFont(), Kiv::inkFaint(), 3 + 1}};
}

double stackHeight(const std::array<Line, 3> &lines)
{
    double total = 0;
    for (const Line &line : lines)
        total += line.above + Kiv::lineHeight(line.font);
    return total;
}
} // namespace

int SayingView::bandHeight()
{
    // 54 px; at a larger text scale, as tall as the three lines need, so
    // that they are never cut.
    return std::max(kHeight, int(std::ceil(stackHeight(linesOf(Saying{})))));
}

QSize SayingView::sizeHint() const
{
    return {300, bandHeight()};
}

QSize SayingView::minimumSizeHint() const
{
    return {40, bandHeight()};
}

void SayingView::drawSaying(QPainter &painter, const QRectF &rect, const Saying &saying)
{
    const auto lines = linesOf(saying);
    double y = rect.center().y() - stackHeight(lines) / 2;
    for (const Line &line : lines) {
        const QFontMetricsF metrics(line.font);
        const double height = Kiv::lineHeight(line.font);
        y += line.above;
        const QString shown = metrics.elidedText(line.text, Qt::ElideRight, rect.width());
        const double w = metrics.horizontalAdvance(shown);
        painter.setFont(line.font);
        painter.setPen(line.colour);
        painter.drawText(QPointF(rect.center().x() - w / 2, Kiv::baselineFor(line.font, y + height / 2)), shown);
        y += height;
    }
}

void SayingView::paintLabel(QPainter &painter, const QRectF &rect, const QColor &)
{
    const double t = m_fade.value();
    const double base = painter.opacity();
    if (t < 1) {
        painter.setOpacity(base * (1 - t));
        drawSaying(painter, rect, m_previous);
    }
    painter.setOpacity(base * t);
    drawSaying(painter, rect, m_saying);
    painter.setOpacity(base);
}
