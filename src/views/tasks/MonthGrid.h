#pragma once

#include <QDate>
#include <QList>
#include <QWidget>
#include <optional>

class ElidedLabel;
class InkButton;
class QGridLayout;

// One month of days, Sunday first, under the month's name and arrows to
// the months around it, in the interface language: the grid of the
// placement calendar and of the due-date picker. A day is a round button:
// its number on a filled indigo circle when marked, in a thin indigo ring
// when it is today, in ghost ink (and not clickable) before the earliest
// day allowed, whose month is also the first that can be shown.
//
// Keyboard: each day is reachable by Tab; the arrow keys move a day (left,
// right) or a week (up, down), into the months around when they must;
// Space picks the day in focus (dayClicked), Return picks it and then
// emits dayActivated, the picker's default action.
//
// Its children are named after `name` ("tasks.placeCalendar"):
// name.back, name.forward, name.month, name.weekday, name.dayN.
class MonthGrid : public QWidget
{
    Q_OBJECT
public:
    explicit MonthGrid(const QString &name, QWidget *parent = nullptr);

    // Days before it cannot be picked, and months before its month are
    // never shown. None: every day can be picked.
    void setEarliest(std::optional<QDate> day);
    void setToday(const QDate &today);
    void setMarked(const QList<QDate> &days);
    // The accessible description of a marked day ("置いています").
    void setMarkedDescription(const QString &text);
    // Shows the month that holds `day` (never before the earliest's).
    void setMonth(const QDate &day);
    // The first day of the month shown.
    QDate month() const { return m_month; }
    // Moves the month shown by n months (never before the earliest's).
    void shift(int n);

    // The button of a day of the month shown, or nullptr.
    InkButton *cellOf(const QDate &day) const;
    // Where a day of the month shown stands: its column (0 is Sunday) and
    // its week (0 is the first); (-1, -1) for another month's day.
    QPoint positionOf(const QDate &day) const;
    InkButton *backButton() const { return m_back; }
    InkButton *forwardButton() const { return m_forward; }

signals:
    void dayClicked(const QDate &day);
    void dayActivated(const QDate &day);
    void monthChanged(const QDate &first);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();
    void refresh();
    void moveFocus(const QDate &from, int days);

    QDate m_month;
    QDate m_today;
    std::optional<QDate> m_earliest;
    QList<QDate> m_marked;
    QString m_markedDescription;
    ElidedLabel *m_title = nullptr;
    InkButton *m_back = nullptr;
    InkButton *m_forward = nullptr;
    QGridLayout *m_grid = nullptr;
    QList<InkButton *> m_cells; // one per day number, 1 … 31
};
