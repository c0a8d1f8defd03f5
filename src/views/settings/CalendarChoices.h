#pragma once

#include "platform/calendar/CalendarStore.h"
#include "sources/CalendarService.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class AppModel;
class AppSettings;

// What the calendar section of the settings shows and how its choices are
// stored: the access block, the options of the two calendar pickers and the
// settings behind their selections, the shown-calendar switches, the notes.
namespace CalendarChoices {

// The three blocks the section shows by access: restricted and denied are
// a refusal; not determined and write-only both still ask.
enum class Access { refused, full, notYet };
Access access(CalendarAccess status);

// One option of a calendar picker: the text shown and the tag it stands for.
struct Option
{
    QString tag;
    QString text;
    bool operator==(const Option &) const = default;
};

// The tags of the record picker's two fixed options.
inline const QString kNoRecord = QStringLiteral("-");
inline const QString kDefaultCalendar = QString();

// "Don't write" (""), then every writable calendar as "title (source)".
QList<Option> planOptions(const QList<CalendarService::CalendarGroup> &writable);
// "Don't write" ("-"), the default calendar (""), named when its title is
// known, then every writable calendar as "title (source)".
QList<Option> recordOptions(const QList<CalendarService::CalendarGroup> &writable,
                            const std::optional<QString> &defaultTitle);

// The selections as the settings hold them, and choosing one (which also
// copies the chosen calendars' titles into the synced names).
QString planSelection(const AppSettings &settings);
void choosePlan(AppModel &model, const QString &tag);
QString recordSelection(const AppSettings &settings);
void chooseRecord(AppModel &model, const QString &tag);

// Reads the calendar and reminders access afresh, creating nothing (it may
// have been given or taken away while nobody looked).
void refreshAccess(AppModel &model);
// Asks for access as the program's first use of calendars does: sets up the
// default account when there is none. False with the reason in error.
bool requestAccess(AppModel &model, QString *error);
// Takes a folder the user picked as a calendar account. False with the
// reason in error.
bool addFolder(AppModel &model, const QString &path, QString *error);
// The account folder to show in the file manager when access is refused:
// the first that exists.
std::optional<QString> refusedFolder(const CalendarService &calendars);

// The title of the calendar new events go to by default, with full access.
std::optional<QString> defaultTitle(const CalendarService &calendars);

// The identifiers of every calendar, group by group.
QStringList allIdentifiers(const QList<CalendarService::CalendarGroup> &groups);
// Whether the day page shows the calendar (all are shown while none is chosen).
bool isShown(const AppSettings &settings, const QString &id);
// Shows or hides one calendar on the day page.
void toggleShown(AppModel &model, const QString &id);

// Where finished rounds are written, in words.
QString writeBackNote(const AppSettings &settings, const CalendarService &calendars);
// What an event's name looks like with or without the round's title.
QString titleCaption(bool showsTitle);
// The items that could not be read, one per line under a heading; empty
// when there are none.
QString unreadableNote(const QList<UnreadableItem> &items);

} // namespace CalendarChoices
