#include "views/ink/AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

AfterFirstPaint::AfterFirstPaint(QWidget *widget, std::function<void()> work, int latestMs)
    : QObject(widget)
    , m_widget(widget)
    , m_work(std::move(work))
{
    widget->installEventFilter(this);
    QTimer::singleShot(latestMs, this, &AfterFirstPaint::fire);
}

void AfterFirstPaint::run(QWidget *widget, std::function<void()> work, int latestMs)
{
    new AfterFirstPaint(widget, std::move(work), latestMs);
}

bool AfterFirstPaint::eventFilter(QObject *watched, QEvent *event)
{
    // The paint runs once this returns, the work on a later turn.
    if (watched == m_widget && event->type() == QEvent::Paint)
        fire();
    return false;
}

void AfterFirstPaint::fire()
{
    if (!m_work)
        return;
    m_widget->removeEventFilter(this);
    // With the widget as its context: dropped if the widget goes first.
    QTimer::singleShot(0, m_widget, std::move(m_work));
    m_work = nullptr;
    deleteLater();
}
