#pragma once

#include "views/ink/Tone.h"

#include <QFont>
#include <QWidget>

// A block of text in a theme tone that wraps to its width (at word or, in
// Japanese, character boundaries) and keeps its own line breaks, an empty
// line included. It is never cut short: its height follows its width.
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
    // Each line centred in the width (else from the leading edge).
    void setCentred(bool centred);

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
    bool m_centred = false;
};
