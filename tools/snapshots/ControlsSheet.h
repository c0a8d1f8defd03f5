#pragma once

#include <QImage>
#include <QList>
#include <QWidget>

// Every control the program's style draws over the toolkit's own, on one
// sheet: a drop-down, shut and with its list open, a time field, a framed
// text field, a slider, switches, a segmented control, radio rows, a
// scrolled area with its bar, the due-date month grid, a menu with its
// every kind of row (a plain-text line, a lit row, a check, a shortcut, a
// submenu, a section, a disabled row) and a popover's sheet.
class ControlsSheet : public QWidget
{
public:
    ControlsSheet();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Picture
    {
        QString caption;
        QImage image;
    };
    QList<Picture> m_pictures;
};
