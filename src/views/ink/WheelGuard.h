#pragma once

#include <QObject>

class QWidget;

// The mouse wheel as a desktop user expects it, for every widget of the
// program: it scrolls the page under the pointer, and changes a value (a
// drop-down, a slider, a time or number field, a tab bar) only when the
// user has given that control the keyboard focus. Installed once on the
// application:
//  - no widget takes the focus from the wheel (Qt's wheel focus is turned
//    into ordinary click-and-Tab focus as each widget is polished);
//  - a wheel over a widget in a scrolling page goes straight to the page,
//    unless that widget, or one between it and the page, has the focus;
//  - outside any scrolling page, a value control without the focus lets the
//    wheel go by and nothing changes.
// Scroll areas themselves (a page, a list, a text editor) keep the wheel.
class WheelGuard : public QObject
{
    Q_OBJECT
public:
    // Installs the guard on the application (once; later calls do nothing).
    static void install();

    // Whether a widget changes a value when it takes the wheel.
    static bool takesValue(const QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};
