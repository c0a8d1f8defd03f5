#pragma once

#include <QWidget>

// A screen that is not built yet: the paper shows through and the name of
// the screen that will stand here is written faintly in the middle, so the
// shell can be used and pictured around it.
class PlaceholderPage : public QWidget
{
    Q_OBJECT
public:
    // objectName: how tests find it; label: the screen's name as drawn.
    PlaceholderPage(const QString &objectName, const QString &label, QWidget *parent = nullptr);

    QString label() const { return m_label; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_label;
};
