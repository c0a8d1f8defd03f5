#pragma once

#include <QWidget>

// A divider one pixel high across its width, in the hairline colour.
class HairlineRule : public QWidget
{
    Q_OBJECT
public:
    explicit HairlineRule(QWidget *parent = nullptr);

    QSize sizeHint() const override { return QSize(1, 1); }

protected:
    void paintEvent(QPaintEvent *event) override;
};
