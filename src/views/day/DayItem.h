#pragma once

#include "core/Kiv.h"

#include <QFont>
#include <QWidget>

// The one look of every timeline entry (event, plan, deed): a 3 pt bar in
// the item's colour, 8 pt after it the title on one line (faint when
// dimmed) and the meta line in the item's colour under it. Painted in one
// piece (no child widgets), so a day of many entries lays out quickly; the
// meta line is cut with an ellipsis where it does not fit, its whole text
// stays the item's accessible description.
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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Kiv::Colour m_colour;
    QString m_title;
    QString m_meta;
    bool m_dimmed;
    QFont m_titleFont;
    QFont m_metaFont;
};
