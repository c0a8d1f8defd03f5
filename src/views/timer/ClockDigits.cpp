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
}

void ClockDigits::setSeconds(double seconds)
{
    const QString text = ClockText::full(seconds);
    if (text == m_text)
        return;
    const bool resized = text.size() != m_text.size();
    m_text = text;
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
    const QList<QRectF> all = cells(m_text, m_font);
    const double width = all.isEmpty() ? 0 : all.last().right();
    return QSize(int(std::ceil(width)), int(std::ceil(Kiv::lineHeight(m_font))));
}

void ClockDigits::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(m_font);
    painter.setPen(m_tone.resolve());
    const QFontMetricsF metrics(m_font);
    const QList<QRectF> all = cells(m_text, m_font);
    const double width = all.isEmpty() ? 0 : all.last().right();
    const double left = (this->width() - width) / 2;
    const double baseline = Kiv::baselineFor(m_font, height() / 2.0);
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        const QChar c = m_text.at(i);
        const double advance = metrics.horizontalAdvance(c);
        painter.drawText(QPointF(left + all[i].x() + (all[i].width() - advance) / 2, baseline), QString(c));
    }
}
