#include "views/ink/TextBlock.h"

#include "core/LineBreaker.h"

#include <QFontMetricsF>
#include <QPainter>
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
    m_setValid = false;
    m_pieceValid = false;
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

void TextBlock::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void TextBlock::setLineSpacing(double spacing)
{
    m_lineSpacing = std::max(0.0, spacing);
    updateGeometry();
    update();
}

QStringList TextBlock::linesAt(double width) const
{
    // Asked for again and again at one width (size hints, height for width,
    // painting): set once per text, font and width.
    if (!m_setValid || m_setWidth != width || m_setFont != font()) {
        m_setLines = LineBreaker::lines(m_text, font(), width);
        m_setWidth = width;
        m_setFont = font();
        m_setValid = true;
    }
    return m_setLines;
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
    // Never narrower than its widest word, so that a row short of room
    // wraps between words instead of tearing one; a very long word (a
    // path, an address) may still be broken, past a modest width.
    if (!m_pieceValid || m_pieceFont != font()) {
        m_piece = std::min(160.0, LineBreaker::widestPiece(m_text, font()));
        m_pieceFont = font();
        m_pieceValid = true;
    }
    const QMargins m = contentsMargins();
    return QSize(int(std::ceil(m_piece)) + m.left() + m.right(), int(std::ceil(Kiv::lineHeight(font()))) + m.top() + m.bottom());
}

int TextBlock::heightForWidth(int width) const
{
    const QMargins m = contentsMargins();
    const qsizetype lines = std::max<qsizetype>(1, linesAt(width - m.left() - m.right()).size());
    return int(std::ceil(Kiv::lineHeight(font()) * double(lines) + m_lineSpacing * double(lines - 1))) + m.top()
           + m.bottom();
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
    const QFontMetricsF metrics(font());
    for (const QString &line : linesAt(area.width())) {
        if (!line.isEmpty()) {
            double x = area.left();
            if (m_alignment & Qt::AlignHCenter)
                x += (area.width() - metrics.horizontalAdvance(line)) / 2;
            painter.drawText(QPointF(x, Kiv::baselineFor(font(), y + lineHeight / 2)), line);
        }
        y += lineHeight + m_lineSpacing;
    }
}
