#pragma once

#include "core/Kiv.h"

#include <QWidget>

class ElidedLabel;
class TextBlock;
class QHBoxLayout;

// The one look of every timeline entry (event, plan, deed): a 3 pt bar in
// the item's colour, the title on one line (faint when dimmed) and the meta
// line in the item's colour under it, and room for a view at the right end.
class DayItem : public QWidget
{
    Q_OBJECT
public:
    DayItem(Kiv::Colour colour, const QString &title, const QString &meta, bool dimmed, QWidget *parent = nullptr);

    void set(const QString &title, const QString &meta);
    QString title() const;
    QString meta() const;
    // Adds the trailing view.
    void setTrailing(QWidget *view);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Kiv::Colour m_colour;
    ElidedLabel *m_title = nullptr;
    TextBlock *m_meta = nullptr;
    QHBoxLayout *m_row = nullptr;
};
