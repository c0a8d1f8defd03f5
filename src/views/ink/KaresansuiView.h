#pragma once

#include "views/ink/PaintCache.h"

#include <QWidget>

// A strip of dry garden (raked sand, three stones, ripples), fading out at
// its left and right ends, with an optional small red seal in its
// bottom-right corner. It is static: drawn once per size and appearance.
class KaresansuiView : public QWidget
{
    Q_OBJECT
public:
    KaresansuiView(double height, bool seal, QWidget *parent = nullptr);

    // The strip for an area of `size`.
    static void draw(QPainter &painter, QSizeF size, bool seal);
    // The seal: a vermilion rounded square with one kanji in raised paper.
    static void drawSeal(QPainter &painter, const QRectF &square);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_height;
    bool m_seal;
    PaintCache m_cache;
};
