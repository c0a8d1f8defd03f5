#pragma once

#include <QWidget>

// The content of a scroll area whose lines wrap: it keeps its least height
// at what its layout needs for the width it has, so that the scroll area
// (which gives its content no more than the least height, or the height of
// the view) never presses wrapped lines together. Lay its children out
// with a layout as usual.
class ScrollPage : public QWidget
{
    Q_OBJECT
public:
    explicit ScrollPage(QWidget *parent = nullptr);

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fit();
};
