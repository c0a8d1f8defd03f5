#pragma once

#include "core/Isshin.h"
#include "views/ink/ViewContext.h"

#include <QWidget>

// The small card of the day's mind that the running-round screen shows
// during focus: the mind's name and reading on one baseline, its line
// below, centred, each text on one line and cut short when too long. One
// accessible element reads all three. It shows the mind of the present
// moment unless given one (setIsshin).
class IsshinView : public QWidget
{
    Q_OBJECT
public:
    IsshinView(const ViewContext &context, QWidget *parent = nullptr);

    void setIsshin(Isshin isshin);
    Isshin isshin() const { return m_isshin; }

    // Draws the card centred in a box of `size`.
    static void draw(QPainter &painter, QSizeF size, Isshin isshin);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    ViewContext m_context;
    Isshin m_isshin = Isshin::kishin;
    bool m_given = false;
};
