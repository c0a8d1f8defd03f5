#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

class PickerRow;
class ToggleRow;

// The day rows: notices shortly before a plan placed at a set time, the
// morning and dusk questions and their hours (shown while the questions
// are on). The model schedules or withdraws the notifications as soon as
// a setting changes.
class DayNoticesSection : public SettingsSection
{
    Q_OBJECT
public:
    DayNoticesSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);

    void refresh();

private:
    ViewContext m_context;
    ToggleRow *m_planNotices = nullptr;
    ToggleRow *m_dayPrompts = nullptr;
    QWidget *m_hours = nullptr;
    PickerRow *m_morning = nullptr;
    PickerRow *m_evening = nullptr;
};
