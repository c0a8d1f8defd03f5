#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

#include <QHash>
#include <QStringList>
#include <QWidget>

class InkButton;
class PickerRow;
class QVBoxLayout;
class TextBlock;
class ToggleRow;

// The rows of the calendar section: by access, either the way to grant it
// (the default account or a folder the user picks), the way to the refused
// folder, or the calendars: which ones the day page shows, the account
// folders they come from, where plans and finished rounds are written, and
// how. It reads the calendar service and the settings and refreshes on
// their changes; the choices are stored through CalendarChoices.
class CalendarSection : public SettingsSection
{
    Q_OBJECT
public:
    CalendarSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);

    // Sets every row from the service and the settings.
    void refresh();
    // The calendars, folders and unreadable items as they stand now (after
    // the store changed).
    void refreshCalendars();

private:
    void buildShown(QVBoxLayout *column);
    void buildPlans(QVBoxLayout *column);
    void buildRecords(QVBoxLayout *column);
    void buildRefused(QVBoxLayout *column);
    void buildNotYet(QVBoxLayout *column);
    void askForAccess();
    void chooseFolder();
    void showStatus(const QString &text);

    ViewContext m_context;

    // Full access: the shown calendars.
    QWidget *m_shownRow = nullptr;
    QWidget *m_groups = nullptr;
    QStringList m_groupsKey; // what the switches were built for
    QHash<QString, ToggleRow *> m_shownSwitches; // by calendar id
    QWidget *m_folders = nullptr;
    QStringList m_foldersKey;
    TextBlock *m_unreadable = nullptr;
    // Full access: plans and records.
    QWidget *m_plansRow = nullptr;
    PickerRow *m_planPicker = nullptr;
    QWidget *m_recordsRow = nullptr;
    PickerRow *m_recordPicker = nullptr;
    TextBlock *m_writeBackNote = nullptr;
    ToggleRow *m_recordBreaks = nullptr;
    ToggleRow *m_showsTitle = nullptr;
    TextBlock *m_titleCaption = nullptr;
    TextBlock *m_notWriting = nullptr;
    // Refused and not yet.
    QWidget *m_refusedRow = nullptr;
    InkButton *m_openFolder = nullptr;
    QWidget *m_notYetRow = nullptr;
    // A failed request or folder choice of this window.
    QString m_status;
    QList<TextBlock *> m_statusLines;
};
