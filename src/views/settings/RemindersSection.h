#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

class InkButton;

// The tasks rows: the connection of the task list to the user's reminders.
// Refused access shows so and opens the reminders' folder; full access
// shows that the connection stands; otherwise a button asks for access and
// then refreshes the task list, whatever the answer.
class RemindersSection : public SettingsSection
{
    Q_OBJECT
public:
    RemindersSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);

    void refresh();

private:
    void connectReminders();

    ViewContext m_context;
    QWidget *m_refused = nullptr;
    QWidget *m_connected = nullptr;
    QWidget *m_notYet = nullptr;
    InkButton *m_openFolder = nullptr;
};
