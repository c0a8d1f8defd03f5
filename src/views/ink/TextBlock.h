#pragma once

#include "views/ink/Tone.h"

#include <QFont>
#include <QWidget>

// A block of text in a theme tone that wraps to its width (by the rules of
// LineBreaker: at words, in Japanese between characters as Japanese is set)
// and keeps its own line breaks, an empty line included. It is never cut short: its height follows its width.
// For captions, descriptions and notes of several lines.
class TextBlock : public QWidget
{
    Q_OBJECT
public:
    explicit TextBlock(QWidget *parent = nullptr);
    TextBlock(const QString &text, const QFont &font, Tone tone, QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }
    void setFont(const QFont &font);
    void setTone(Tone tone);
    Tone tone() const { return m_tone; }
    // Centred lines (Qt::AlignHCenter) or lines from the left (the default).
    void setAlignment(Qt::Alignment alignment);
    // Extra space between lines, in logical pixels (0 by default).
    void setLineSpacing(double spacing);

    // The lines as drawn at a width (an empty line stays one).
    QStringList linesAt(double width) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QString m_text;
    Tone m_tone{Kiv::Colour::ink};
    int m_laidOutHeight = -1;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    double m_lineSpacing = 0;
    // The lines last set, and the width and font they were set for.
    mutable QStringList m_setLines;
    mutable double m_setWidth = 0;
    mutable QFont m_setFont;
    mutable bool m_setValid = false;
    // The widest unbreakable piece, and the font it was measured in.
    mutable double m_piece = 0;
    mutable QFont m_pieceFont;
    mutable bool m_pieceValid = false;
};
