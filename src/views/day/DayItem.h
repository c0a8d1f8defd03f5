#pragma once

#include "core/Kiv.h"

#include <QFont>
#include <QWidget>

// The one look of every timeline entry (event, plan, deed): a 3 pt bar in
// the item's colour, 8 pt after it the title on one line (faint when
// dimmed) and the meta line in the item's colour under it. Painted in one
// piece (no child widgets), so a day of many entries lays out quickly. The
// meta line is never cut (an event's calendar name stands at its end): where
// it does not fit it wraps, and the item's height follows its width.
class DayItem : public QWidget
{
    Q_OBJECT
public:
    DayItem(Kiv::Colour colour, const QString &title, const QString &meta, bool dimmed, QWidget *parent = nullptr);

    QString title() const { return m_title; }
    QString meta() const { return m_meta; }
    bool dimmed() const { return m_dimmed; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The height the item takes at a width (the meta line may wrap). The
    // item asks its layout for it when its width changes; it does not take
    // part in height-for-width layout, which would make a busy day's
    // timeline lay out at twice the cost.
    int heightForWidth(int width) const override;

    // The meta line as set at a width of the whole item.
    QStringList metaLinesAt(int width) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    Kiv::Colour m_colour;
    QString m_title;
    QString m_meta;
    bool m_dimmed;
    QFont m_titleFont;
    QFont m_metaFont;
    mutable int m_metaWidth = -1; // the width m_metaLines were set at
    mutable QStringList m_metaLines;
    int m_laidOutHeight = -1;
};
