#pragma once

#include "views/ink/ViewContext.h"
#include "views/timer/DwellButton.h"

// During the walking break of a rounds run: "Stay with “{title}”" for the
// task of the round just ended. A click leaves the rounds run and begins
// the quick mode on that task (RunControls::stay: AppModel::dwell, then
// AppModel::begin). It follows the engine and shows only while the run
// offers it.
class StayButton : public DwellButton
{
    Q_OBJECT
public:
    StayButton(const ViewContext &context, QWidget *parent = nullptr);

    // The title it stays with (empty while not offered).
    QString title() const { return m_title; }

    void refresh();

private:
    ViewContext m_context;
    QString m_title;
};
