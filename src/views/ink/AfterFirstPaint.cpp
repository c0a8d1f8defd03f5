#include "views/ink/AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

AfterFirstPaint::AfterFirstPaint(QWidget *widget, std::function<void()> work, int latestMs)
    : QObject(widget)
    , m_widget(widget)
    , m_work(std::move(work))
{
    widget->installEventFilter(this);
    watchWindow();
    QTimer::singleShot(latestMs, this, &AfterFirstPaint::fire);
}

void AfterFirstPaint::watchWindow()
{
    // A window whose children cover it all is never painted itself: its
    // first picture is the one its platform window is exposed for, painted
    // while that exposure is handled.
    if (!m_widget->isWindow() || !m_widget->windowHandle() || m_window)
        return;
    m_window = m_widget->windowHandle();
    m_window->installEventFilter(this);
}

void AfterFirstPaint::run(QWidget *widget, std::function<void()> work, int latestMs)
{
    new AfterFirstPaint(widget, std::move(work), latestMs);
}

bool AfterFirstPaint::eventFilter(QObject *watched, QEvent *event)
{
    // The paint runs once this returns, the work on a later turn.
    if (watched == m_widget && event->type() == QEvent::Show)
        watchWindow(); // its platform window is made when first shown
    if ((watched == m_widget && event->type() == QEvent::Paint)
        || (watched == m_window && event->type() == QEvent::Expose && m_window->isExposed()))
        fire();
    return false;
}

void AfterFirstPaint::fire()
{
    if (!m_work)
        return;
    m_widget->removeEventFilter(this);
    if (m_window)
        m_window->removeEventFilter(this);
    // With the widget as its context: dropped if the widget goes first.
    QTimer::singleShot(0, m_widget, std::move(m_work));
    m_work = nullptr;
    deleteLater();
}
