#pragma once

#include "views/ink/ViewContext.h"

#include <QStringList>
#include <QWidget>

class DwellButton;
class ElidedLabel;
class QVBoxLayout;

// The end of a rounds run on the completion view: "One round complete."
// and, while some of the run's tasks are still open, a question and one
// button per such task. A click makes that task the current one and stops
// the finished run (AppModel::dwell); nothing begins.
class RoundsDwellList : public QWidget
{
    Q_OBJECT
public:
    RoundsDwellList(const ViewContext &context, QWidget *parent = nullptr);

    // The titles offered, in the order of their buttons.
    QStringList titles() const { return m_titles; }

    void refresh();

private:
    void rebuild(const QStringList &titles);

    ViewContext m_context;
    ElidedLabel *m_heading;
    ElidedLabel *m_question;
    QWidget *m_buttons;
    QVBoxLayout *m_buttonsLayout;
    QStringList m_titles;
    QList<DwellButton *> m_buttonList;
};
