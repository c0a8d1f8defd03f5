#pragma once

#include <QDialog>

class QVBoxLayout;

// A sheet of the day page: a window-modal dialog on paper, 400 × scale wide,
// its content stacked 20 pt in from every side. Escape closes it; closing
// it any way tells dismissed() once.
class DaySheet : public QDialog
{
    Q_OBJECT
public:
    DaySheet(const QString &objectName, int spacing, QWidget *parent);

    QVBoxLayout *column() const { return m_column; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVBoxLayout *m_column = nullptr;
};
