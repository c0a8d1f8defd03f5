#pragma once

#include "views/ink/InkButton.h"

// The round mark of a practice card that tells whether today's share is
// done: an empty ghost circle, a moss circle with a moss dot when done, and
// a moss check inside the empty circle while the pointer is over the card.
// A 26-point square, all of it the hit area.
class TodayMark : public InkButton
{
    Q_OBJECT
public:
    explicit TodayMark(QWidget *parent = nullptr);

    // The practice's title (its accessible name) and whether today is done.
    void set(const QString &title, bool done);
    bool isDone() const { return m_done; }
    // The pointer is over the card.
    void setCardHover(bool hovering);

    // Draws the mark in a 26-point square at the origin.
    static void draw(QPainter &painter, bool done, bool preview);

protected:
    void paintLabel(QPainter &painter, const QRectF &rect, const QColor &colour) override;
    QSizeF labelSize() const override;

private:
    bool m_done = false;
    bool m_cardHover = false;
};
