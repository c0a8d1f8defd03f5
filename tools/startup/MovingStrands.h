#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

// The least a moving face costs in Qt Widgets: an opaque widget the size of
// a face that repaints a strip of itself (the incense's smoke, 39 × 116)
// `fps` times a second, two antialiased strands of 35 points over a flat
// fill, each frame painted at once as the program's faces are.
class MovingStrands : public QWidget
{
public:
    MovingStrands(int fps, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QElapsedTimer m_clock;
    QTimer m_frames;
};
