#include "views/ink/TextBlock.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

TextBlock::TextBlock(QWidget *parent)
    : QWidget(parent)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

TextBlock::TextBlock(const QString &text, const QFont &font, Tone tone, QWidget *parent)
    : TextBlock(parent)
{
    QWidget::setFont(font);
    m_tone = tone;
    setText(text);
}

void TextBlock::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void TextBlock::setFont(const QFont &font)
{
    QWidget::setFont(font);
    updateGeometry();
    update();
}

void TextBlock::setTone(Tone tone)
{
    if (tone == m_tone)
        return;
    m_tone = tone;
    update();
}

void TextBlock::setCentred(bool centred)
{
    m_centred = centred;
    update();
}

QStringList TextBlock::linesAt(double width) const
{
    QStringList lines;
    if (m_text.isEmpty())
        return lines;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString &paragraph : m_text.split(QLatin1Char('\n'))) {
        if (paragraph.isEmpty()) {
            lines << QString();
            continue;
        }
        QTextLayout layout(paragraph, font());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(std::max(1.0, width));
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
    }
    return lines;
}

QSize TextBlock::sizeHint() const
{
    // As wide as the longest line unwrapped, up to a reading width.
    const QFontMetricsF metrics(font());
    double widest = 0;
    for (const QString &paragraph : m_text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(paragraph));
    const QMargins m = contentsMargins();
    const int width = int(std::ceil(std::min(widest, 360.0))) + m.left() + m.right();
    return QSize(width, heightForWidth(width));
}

QSize TextBlock::minimumSizeHint() const
{
    const QMargins m = contentsMargins();
    return QSize(m.left() + m.right(), int(std::ceil(Kiv::lineHeight(font()))) + m.top() + m.bottom());
}

int TextBlock::heightForWidth(int width) const
{
    const QMargins m = contentsMargins();
    const qsizetype lines = std::max<qsizetype>(1, linesAt(width - m.left() - m.right()).size());
    return int(std::ceil(Kiv::lineHeight(font()) * double(lines))) + m.top() + m.bottom();
}

void TextBlock::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Layouts without height-for-width support learn the height this
    // width needs through the minimum height.
    const int needed = heightForWidth(width());
    if (needed != m_laidOutHeight) {
        m_laidOutHeight = needed;
        setMinimumHeight(needed);
    }
}

void TextBlock::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font());
    painter.setPen(m_tone.resolve());
    const double lineHeight = Kiv::lineHeight(font());
    const QRect area = contentsRect();
    double y = area.top();
    for (const QString &line : linesAt(area.width())) {
        if (!line.isEmpty()) {
            const double x = m_centred ? area.left() + (area.width() - QFontMetricsF(font()).horizontalAdvance(line)) / 2
                                       : area.left();
            painter.drawText(QPointF(x, Kiv::baselineFor(font(), y + lineHeight / 2)), line);
        }
        y += lineHeight;
    }
}
