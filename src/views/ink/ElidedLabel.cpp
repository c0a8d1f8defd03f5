#include "views/ink/ElidedLabel.h"

#include "core/LineBreaker.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

ElidedLabel::ElidedLabel(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

ElidedLabel::ElidedLabel(const QString &text, const QFont &font, Tone tone, QWidget *parent)
    : ElidedLabel(parent)
{
    setFont(font);
    m_tone = tone;
    setText(text);
}

void ElidedLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void ElidedLabel::setFont(const QFont &font)
{
    QWidget::setFont(font);
    updateGeometry();
    update();
}

void ElidedLabel::setTone(Tone tone)
{
    if (tone == m_tone)
        return;
    m_tone = tone;
    update();
}

void ElidedLabel::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void ElidedLabel::setMaxLines(int lines)
{
    m_maxLines = std::max(1, lines);
    // One line is as tall as its font; more lines take the height their
    // width needs, which a fixed policy would cap at one line in a layout.
    QSizePolicy policy = sizePolicy();
    policy.setVerticalPolicy(m_maxLines > 1 ? QSizePolicy::Preferred : QSizePolicy::Fixed);
    policy.setHeightForWidth(m_maxLines > 1);
    setSizePolicy(policy);
    updateGeometry();
    update();
}

QStringList ElidedLabel::linesAt(double width) const
{
    return layoutLines(width, nullptr);
}

QStringList ElidedLabel::layoutLines(double width, bool *elided) const
{
    const QFontMetricsF metrics(font());
    auto cut = [&](const QString &line) {
        if (metrics.horizontalAdvance(line) <= width)
            return line;
        if (elided)
            *elided = true;
        return metrics.elidedText(line, Qt::ElideRight, width);
    };
    if (elided)
        *elided = false;
    QStringList lines;
    if (m_text.isEmpty())
        return lines;
    // A line break in the text counts as a blank.
    QString text = m_text;
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (m_maxLines == 1 || metrics.horizontalAdvance(text) <= width) {
        lines << cut(text);
        return lines;
    }
    // The lines as a text block sets them; what does not fit in the last
    // allowed line is cut there.
    const QList<LineBreaker::Line> set = LineBreaker::wrap(text, font(), width);
    for (const LineBreaker::Line &line : set) {
        if (lines.size() == m_maxLines - 1 && set.size() > m_maxLines) {
            lines << cut(text.mid(line.start).trimmed());
            break;
        }
        lines << text.mid(line.start, line.length);
    }
    return lines;
}

bool ElidedLabel::isElidedAt(double width) const
{
    bool elided = false;
    layoutLines(width, &elided);
    return elided;
}

QSize ElidedLabel::sizeHint() const
{
    const QFontMetricsF metrics(font());
    return QSize(int(std::ceil(metrics.horizontalAdvance(m_text))), int(std::ceil(Kiv::lineHeight(font()))));
}

QSize ElidedLabel::minimumSizeHint() const
{
    return QSize(0, int(std::ceil(Kiv::lineHeight(font()))));
}

int ElidedLabel::heightForWidth(int width) const
{
    const int lines = std::max<qsizetype>(1, linesAt(width).size());
    return int(std::ceil(Kiv::lineHeight(font()) * double(lines)));
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font());
    painter.setPen(m_tone.resolve());
    const QFontMetricsF metrics(font());
    const QStringList lines = linesAt(width());
    const double lineHeight = Kiv::lineHeight(font());
    const double total = lineHeight * double(lines.size());
    double y = 0;
    if (m_alignment & Qt::AlignVCenter)
        y = (height() - total) / 2;
    else if (m_alignment & Qt::AlignBottom)
        y = height() - total;
    for (const QString &line : lines) {
        const double w = metrics.horizontalAdvance(line);
        double x = 0;
        if (m_alignment & Qt::AlignHCenter)
            x = (width() - w) / 2;
        else if (m_alignment & Qt::AlignRight)
            x = width() - w;
        painter.drawText(QPointF(x, Kiv::baselineFor(font(), y + lineHeight / 2)), line);
        y += lineHeight;
    }
}
