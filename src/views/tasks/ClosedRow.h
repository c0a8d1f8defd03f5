#pragma once

#include "stores/LocalTask.h"
#include "views/ink/ViewContext.h"

#include <QString>
#include <QWidget>

class InkButton;
class SymbolLabel;

// One line of the archives of closed tasks: whether the task was finished
// or set down, its title (struck through when finished), the day it was
// closed and, while the pointer is over the line, "手元へ戻す", which brings
// it back to the open list. The archive rebuilds its lines after every
// change of the store; a line never removes itself.
class ClosedRow : public QWidget
{
    Q_OBJECT
public:
    // What the line shows of a task.
    struct Look
    {
        bool setDown = false;  // a set-down task (the return arrow), else finished (the check)
        bool struck = false;   // the title struck through (finished only)
        QString date;          // the closing day, or empty
        bool operator==(const Look &) const = default;
        static Look of(const LocalTask &task);
    };

    ClosedRow(const ViewContext &context, const LocalTask &task, QWidget *parent = nullptr);

    const LocalTask &task() const { return m_task; }
    bool isHovering() const { return m_hovering; }
    // Brings the task back among the open ones.
    void revive();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setHovering(bool hovering);

    ViewContext m_context;
    LocalTask m_task;
    bool m_hovering = false;
    bool m_keyboardFocus = false;
    InkButton *m_revive = nullptr;
};
