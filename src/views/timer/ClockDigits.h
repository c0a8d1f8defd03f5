#pragma once

#include "views/ink/Tone.h"

#include <QFont>
#include <QList>
#include <QStaticText>
#include <array>
#include <QWidget>

// The round's clock: the phase's time as ClockText::full writes it, each
// digit centred in a cell as wide as the widest digit of the font, so the
// text keeps its width and its digits their places as the seconds go by.
// It repaints only when the shown text changes: at most once a second while
// a phase runs, never while it is paused or hidden.
class ClockDigits : public QWidget
{
    Q_OBJECT
public:
    ClockDigits(const QFont &font, Tone tone, QWidget *parent = nullptr);

    // The seconds to show (rounded up, as the clock texts are).
    void setSeconds(double seconds);
    QString text() const { return m_text; }
    void setTone(Tone tone);
    void setFont(const QFont &font);

    // The cell of each character of `text` from x = 0: a digit takes the
    // widest digit's advance, any other character its own.
    static QList<QRectF> cells(const QString &text, const QFont &font);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void layOut();

    QFont m_font;
    Tone m_tone;
    QString m_text;
    // Laid out when the text or the font changes, so a repaint (over the
    // breathing ring, ten a second) allocates nothing: the cells of the
    // text and the glyphs "0"…"9" and ":" with their advances.
    QList<QRectF> m_cells;
    std::array<QStaticText, 11> m_glyphs;
    std::array<double, 11> m_advances{};
};
