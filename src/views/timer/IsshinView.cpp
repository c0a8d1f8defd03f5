#include "views/timer/IsshinView.h"

#include "core/Kiv.h"
#include "platform/time/Clock.h"

#include <QPainter>
#include <cmath>

namespace {

struct CardFonts
{
    QFont name = Kiv::tracked(Kiv::font(22, Kiv::Design::serif), 6, 0.72);
    QFont reading = Kiv::font(12);
    QFont line = Kiv::font(14, Kiv::Design::serif);
};

constexpr double kRowSpacing = 10; // between the name and the reading
constexpr double kLineSpacing = 6; // between the row and the line

} // namespace

IsshinView::IsshinView(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_isshin(Isshin::of(Clock::current().now()))
{
    setObjectName(QStringLiteral("timer.isshin"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setIsshin(m_isshin);
    m_given = false;
}

void IsshinView::setIsshin(Isshin isshin)
{
    m_given = true;
    m_isshin = isshin;
    setAccessibleName(isshin.name() + QLatin1Char(' ') + isshin.reading() + QLatin1Char(' ') + isshin.line());
    updateGeometry();
    update();
}

void IsshinView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The mind of the present moment is worked out again each time the card
    // appears (a focus may begin on another date than the last one).
    if (!m_given && !m_context.snapshot) {
        setIsshin(Isshin::of(Clock::current().now()));
        m_given = false;
    }
}

QSize IsshinView::sizeHint() const
{
    const CardFonts f;
    const double row = QFontMetricsF(f.name).horizontalAdvance(m_isshin.name()) + kRowSpacing
                       + QFontMetricsF(f.reading).horizontalAdvance(m_isshin.reading());
    const double line = QFontMetricsF(f.line).horizontalAdvance(m_isshin.line());
    return QSize(int(std::ceil(std::max(row, line))) + 2,
                 int(std::ceil(Kiv::lineHeight(f.name) + kLineSpacing + Kiv::lineHeight(f.line))));
}

QSize IsshinView::minimumSizeHint() const
{
    return QSize(0, sizeHint().height());
}

void IsshinView::draw(QPainter &painter, QSizeF size, Isshin isshin)
{
    const CardFonts f;
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double nameHeight = Kiv::lineHeight(f.name);
    const double lineHeight = Kiv::lineHeight(f.line);
    const double top = (size.height() - nameHeight - kLineSpacing - lineHeight) / 2;

    // The name and the reading share the name's baseline.
    const QFontMetricsF nameMetrics(f.name);
    const QFontMetricsF readingMetrics(f.reading);
    const double readingWidth = readingMetrics.horizontalAdvance(isshin.reading());
    const QString name = nameMetrics.elidedText(isshin.name(), Qt::ElideRight,
                                                std::max(0.0, size.width() - kRowSpacing - readingWidth));
    const double nameWidth = nameMetrics.horizontalAdvance(name);
    const QString reading = readingMetrics.elidedText(isshin.reading(), Qt::ElideRight,
                                                      std::max(0.0, size.width() - nameWidth - kRowSpacing));
    const double rowWidth = nameWidth + kRowSpacing + readingMetrics.horizontalAdvance(reading);
    const double baseline = Kiv::baselineFor(f.name, top + nameHeight / 2);
    double x = (size.width() - rowWidth) / 2;
    painter.setFont(f.name);
    painter.setPen(Kiv::ink());
    painter.drawText(QPointF(x, baseline), name);
    painter.setFont(f.reading);
    painter.setPen(Kiv::inkFaint());
    painter.drawText(QPointF(x + nameWidth + kRowSpacing, baseline), reading);

    const QFontMetricsF lineMetrics(f.line);
    const QString line = lineMetrics.elidedText(isshin.line(), Qt::ElideRight, size.width());
    painter.setFont(f.line);
    painter.setPen(Kiv::inkSoft());
    painter.drawText(QPointF((size.width() - lineMetrics.horizontalAdvance(line)) / 2,
                             Kiv::baselineFor(f.line, top + nameHeight + kLineSpacing + lineHeight / 2)),
                     line);
    painter.restore();
}

void IsshinView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    draw(painter, size(), m_isshin);
}
