#pragma once

#include "snapshots/Screens.h"

#include <QImage>
#include <QList>
#include <QPointer>
#include <QStringList>

class QWidget;
class SnapshotRig;

// One screen built, shown offscreen and settled, with the windows it opened
// on the way (popovers, menus, sheets). Drawn live, it is the screen as the
// program shows it, in a window of exactly `size` (scrolled to the top);
// drawn still (the picture of the whole content), it grows to show all of
// it. Everything it made goes when it goes.
class ScreenStage
{
public:
    enum class Form { live, still };

    ScreenStage(const Screen &screen, SnapshotRig &rig, Form form, QSize size = QSize());
    ~ScreenStage();
    ScreenStage(const ScreenStage &) = delete;
    ScreenStage &operator=(const ScreenStage &) = delete;

    QWidget *widget() const { return m_widget; }
    // The windows it opened that show now (popovers, menus, sheets).
    QList<QWidget *> openedWindows() const;
    // Why the window cannot be the size it was asked to be (its content
    // asks for more), or nothing.
    QString refusedSize() const { return m_refused; }

    // The screen with the windows it opened drawn where they stand, cut to
    // the screen's own area (a window that stands beside it is drawn below).
    QImage picture(double devicePixelRatio) const;

private:
    static void settle();

    QWidget *m_widget = nullptr;
    QList<QPointer<QWidget>> m_opened;
    QString m_refused;
};
