#pragma once

#include <QGraphicsView>
#include <QPointer>
#include <optional>

class QGraphicsProxyWidget;

// Shows a control that keeps a fixed size of its own (a month calendar)
// magnified by a factor, growing right and down from its top-left corner,
// and takes the magnified room in its layout. The control keeps its own
// layout at its natural size and stays fully usable: clicks and keys reach
// it at the magnified positions. The room follows the control whenever its
// natural size changes.
class Scaled : public QGraphicsView
{
    Q_OBJECT
public:
    Scaled(double factor, QWidget *content, QWidget *parent = nullptr);

    QWidget *content() const { return m_content; }
    double factor() const { return m_factor; }

    // The room for a content of `natural` size: each side times the factor;
    // none while nothing was measured yet (both sides zero).
    static std::optional<QSizeF> room(QSizeF natural, double factor);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void measure();

    double m_factor;
    QPointer<QWidget> m_content;
    QGraphicsProxyWidget *m_proxy = nullptr;
    QSizeF m_natural;
    bool m_measuring = false;
};
