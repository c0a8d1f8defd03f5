#include "views/ink/ScrollPage.h"

#include <QEvent>
#include <QLayout>
#include <QResizeEvent>

ScrollPage::ScrollPage(QWidget *parent)
    : QWidget(parent)
{
}

bool ScrollPage::event(QEvent *event)
{
    const bool done = QWidget::event(event);
    if (event->type() == QEvent::LayoutRequest)
        fit();
    return done;
}

void ScrollPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // A new width (the scroll bar came or went) is laid out afresh: the
    // nested layouts would otherwise keep heights worked out for the width
    // before.
    if (event->size().width() != event->oldSize().width() && layout())
        layout()->invalidate();
    fit();
}

void ScrollPage::fit()
{
    QLayout *column = layout();
    if (!column || !column->hasHeightForWidth() || width() <= 0)
        return;
    const int needed = column->totalHeightForWidth(width());
    if (needed != minimumHeight())
        setMinimumHeight(needed);
}
