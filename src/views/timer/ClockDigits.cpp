#include "views/timer/ClockDigits.h"

#include "core/Kiv.h"
#include "model/ClockText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

ClockDigits::ClockDigits(const QFont &font, Tone tone, QWidget *parent)
    : QWidget(parent)
    , m_font(font)
    , m_tone(tone)
    , m_text(ClockText::full(0))
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(m_text);
    layOut();
}

namespace {

// The index of a clock character among the glyphs: "0"…"9", then ":".
int glyphIndex(QChar c)
{
    return c.isDigit() ? c.digitValue() : 10;
}

} // namespace

void ClockDigits::layOut()
{
    m_cells = cells(m_text, m_font);
    const QFontMetricsF metrics(m_font);
    for (int i = 0; i < 11; ++i) {
        const QChar c = i < 10 ? QChar(u'0' + i) : QChar(u':');
        m_glyphs[i].setText(QString(c));
        m_glyphs[i].prepare(QTransform(), m_font);
        m_advances[i] = metrics.horizontalAdvance(c);
    }
}

void ClockDigits::setSeconds(double seconds)
{
    const QString text = ClockText::full(seconds);
    if (text == m_text)
        return;
    const bool resized = text.size() != m_text.size();
    m_text = text;
    m_cells = cells(m_text, m_font);
    setAccessibleName(text);
    if (resized)
        updateGeometry();
    update();
}

void ClockDigits::setTone(Tone tone)
{
    if (tone == m_tone)
        return;
    m_tone = tone;
    update();
}

void ClockDigits::setFont(const QFont &font)
{
    m_font = font;
    layOut();
    updateGeometry();
    update();
}

QList<QRectF> ClockDigits::cells(const QString &text, const QFont &font)
{
    const QFontMetricsF metrics(font);
    double digit = 0;
    for (char c = '0'; c <= '9'; ++c)
        digit = std::max(digit, metrics.horizontalAdvance(QChar::fromLatin1(c)));
    const double height = Kiv::lineHeight(font);
    QList<QRectF> out;
    out.reserve(text.size());
    double x = 0;
    for (const QChar c : text) {
        const double w = c.isDigit() ? digit : metrics.horizontalAdvance(c);
        out << QRectF(x, 0, w, height);
        x += w;
    }
    return out;
}

QSize ClockDigits::sizeHint() const
{
    const double width = m_cells.isEmpty() ? 0 : m_cells.last().right();
    return QSize(int(std::ceil(width)), int(std::ceil(Kiv::lineHeight(m_font))));
}

void ClockDigits::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(m_font);
    painter.setPen(m_tone.resolve());
    const double width = m_cells.isEmpty() ? 0 : m_cells.last().right();
    const double left = (this->width() - width) / 2;
    // A static text is placed by its top-left corner: the baseline less the ascent.
    const double top = Kiv::baselineFor(m_font, height() / 2.0) - QFontMetricsF(m_font).ascent();
    for (qsizetype i = 0; i < m_text.size() && i < m_cells.size(); ++i) {
        const int g = glyphIndex(m_text.at(i));
        const QRectF &cell = m_cells[i];
        painter.drawStaticText(QPointF(left + cell.x() + (cell.width() - m_advances[g]) / 2, top), m_glyphs[g]);
    }
}
