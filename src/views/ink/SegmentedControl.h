#pragma once

#include <QButtonGroup>
#include <QWidget>

class InkButton;

// A row of two or more segments of which exactly one is chosen, in a
// hairline frame: the chosen one reads indigo on a faint indigo fill, the
// others soft ink that darkens under the pointer. Each segment is a button
// of its own (Tab reaches the control, the arrow keys move the choice,
// assistive technology reads the chosen one as checked). Give the whole
// control an accessible name.
class SegmentedControl : public QWidget
{
    Q_OBJECT
public:
    explicit SegmentedControl(const QStringList &segments, QWidget *parent = nullptr);

    int currentIndex() const { return m_current; }
    // Sets the choice without emitting currentChanged.
    void setCurrentIndex(int index);
    InkButton *segment(int index) const;
    int count() const { return int(m_segments.size()); }

signals:
    // The user chose another segment.
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void choose(int index, bool byUser);
    void restyle();

    QList<InkButton *> m_segments;
    QButtonGroup m_group;
    int m_current = 0;
};
