#pragma once

#include <QList>
#include <QWidget>

class ElidedLabel;

// The row of the three things put in order (一 what one carries, 二 one's
// surroundings, 三 oneself), the current one in ink, the others as ghosts.
class SweepHeadings : public QWidget
{
    Q_OBJECT
public:
    SweepHeadings(int current, QWidget *parent = nullptr);

    int current() const { return m_current; }
    const QList<ElidedLabel *> &labels() const { return m_labels; }

private:
    int m_current;
    QList<ElidedLabel *> m_labels;
};
