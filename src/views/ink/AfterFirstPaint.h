#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;
class QWindow;

// Work that the first picture of a widget need not wait for: it runs once,
// on the turn of the event loop after the widget is first painted, so a
// window shows its first page before the rest is built. A widget that is
// not painted within latestMs (a window mapped where nobody sees it) has
// the work run then. Nothing runs when the widget goes first. A window counts
// as painted when it is first shown on screen, even if only its children
// draw.
class AfterFirstPaint : public QObject
{
    Q_OBJECT
public:
    static constexpr int kLatestMs = 1000;
    static void run(QWidget *widget, std::function<void()> work, int latestMs = kLatestMs);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AfterFirstPaint(QWidget *widget, std::function<void()> work, int latestMs);
    // Runs the work on a later turn, once.
    void fire();
    // Watches a window's platform window for its first exposure.
    void watchWindow();

    QWidget *m_widget;
    QPointer<QWindow> m_window;
    std::function<void()> m_work;
};
