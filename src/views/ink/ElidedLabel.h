#pragma once

#include "views/ink/Tone.h"

#include <QFont>
#include <QWidget>

// A text of at most `maxLines` lines in the theme's colours: it wraps at
// word (or, in Japanese, character) boundaries up to its line limit and
// cuts the last line with an ellipsis, never growing taller than the limit.
// Its size hint is the whole text on one line; it can shrink to nothing in
// width. With more than one line it is as tall as its width needs
// (heightForWidth), also inside a layout. Letter spacing comes with the
// font (Kiv::tracked).
class ElidedLabel : public QWidget
{
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);
    ElidedLabel(const QString &text, const QFont &font, Tone tone, QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }
    void setFont(const QFont &font);
    void setTone(Tone tone);
    Tone tone() const { return m_tone; }
    void setAlignment(Qt::Alignment alignment);
    void setMaxLines(int lines);

    // The lines as drawn at a width (tests: elided when too narrow).
    QStringList linesAt(double width) const;
    bool isElidedAt(double width) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return m_maxLines > 1; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QStringList layoutLines(double width, bool *elided) const;

    QString m_text;
    Tone m_tone{Kiv::Colour::ink};
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    int m_maxLines = 1;
};
