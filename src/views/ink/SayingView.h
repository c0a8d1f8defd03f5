#pragma once

#include "views/ink/InkButton.h"
#include "views/ink/Saying.h"

// One saying in a band 54 px high across the width it is given (taller
// only when a large text scale needs it, so no line is ever cut): the
// phrase, its reading and its gloss, each on one line. A click anywhere in
// the band cross-fades to another saying (0.35 s, ease-in-out); the label
// dims to 0.75 under the pointer.
class SayingView : public InkButton
{
    Q_OBJECT
public:
    explicit SayingView(QWidget *parent = nullptr);

    const Saying &saying() const { return m_saying; }
    // Shows a given saying at once (still pictures).
    void setSaying(const Saying &saying);

    // The three lines of a saying, centred in `rect`, at an opacity.
    static void drawSaying(QPainter &painter, const QRectF &rect, const Saying &saying);

    // 54 px, or more when the text scale needs it.
    static int bandHeight();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintLabel(QPainter &painter, const QRectF &rect, const QColor &colour) override;

private:
    void next();
    void describe();

    Saying m_saying;
    Saying m_previous;
    Animation m_fade;
};
