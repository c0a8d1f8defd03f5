#include "views/settings/CalendarChoices.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "sources/RemindersTaskSource.h"
#include "sources/TaskHub.h"

#include <QDir>
#include <QFileInfo>

namespace CalendarChoices {

Access access(CalendarAccess status)
{
    switch (status) {
    case CalendarAccess::Restricted:
    case CalendarAccess::Denied:
        return Access::refused;
    case CalendarAccess::FullAccess:
        return Access::full;
    case CalendarAccess::NotDetermined:
    case CalendarAccess::WriteOnly:
        break;
    }
    return Access::notYet;
}

namespace {

void appendCalendars(QList<Option> &options, const QList<CalendarService::CalendarGroup> &writable)
{
    for (const CalendarService::CalendarGroup &group : writable)
        for (const CalendarInfo &calendar : group.calendars)
            options << Option{calendar.id, L("{0}（{1}）", calendar.title, group.source)};
}

} // namespace

QList<Option> planOptions(const QList<CalendarService::CalendarGroup> &writable)
{
    QList<Option> options{{QString(), L("書き出さない")}};
    appendCalendars(options, writable);
    return options;
}

QList<Option> recordOptions(const QList<CalendarService::CalendarGroup> &writable,
                            const std::optional<QString> &defaultTitle)
{
    QList<Option> options{{kNoRecord, L("書き出さない")},
                          {kDefaultCalendar, defaultTitle ? L("既定のカレンダー（{0}）", *defaultTitle)
                                                          : L("既定のカレンダー")}};
    appendCalendars(options, writable);
    return options;
}

QString planSelection(const AppSettings &settings)
{
    return settings.planCalendarIdentifier().value_or(QString());
}

void choosePlan(AppModel &model, const QString &tag)
{
    model.settings().setPlanCalendarIdentifier(tag.isEmpty() ? std::nullopt : std::optional<QString>(tag));
    model.rememberCalendarNames(true);
}

QString recordSelection(const AppSettings &settings)
{
    if (!settings.calendarEnabled())
        return kNoRecord;
    return settings.calendarIdentifier().value_or(QString());
}

void chooseRecord(AppModel &model, const QString &tag)
{
    AppSettings &settings = model.settings();
    if (tag == kNoRecord) {
        // The calendar chosen before stays, for when writing is turned on again.
        settings.setCalendarEnabled(false);
    } else {
        settings.setCalendarEnabled(true);
        settings.setCalendarIdentifier(tag.isEmpty() ? std::nullopt : std::optional<QString>(tag));
    }
    model.rememberCalendarNames(true);
}

void refreshAccess(AppModel &model)
{
    const CalendarAccess access = model.calendarService().refreshAuthorization();
    RemindersTaskSource &reminders = model.taskHub().reminders();
    if (reminders.authorization() != access)
        reminders.setAuthorization(access);
}

bool requestAccess(AppModel &model, QString *error)
{
    const bool granted = model.calendarService().requestAccess();
    refreshAccess(model);
    if (!granted && error)
        *error = model.calendarService().lastError();
    return granted;
}

bool addFolder(AppModel &model, const QString &path, QString *error)
{
    CalendarStore *store = model.calendarService().store();
    const bool added = store && store->addAccountFolder(path);
    refreshAccess(model);
    if (!added && error)
        *error = L("このフォルダは使えません: {0}", QDir::toNativeSeparators(path));
    return added;
}

std::optional<QString> refusedFolder(const CalendarService &calendars)
{
    if (!calendars.store())
        return std::nullopt;
    for (const QString &folder : calendars.store()->accountFolders())
        if (QFileInfo(folder).isDir())
            return folder;
    return std::nullopt;
}

std::optional<QString> defaultTitle(const CalendarService &calendars)
{
    if (calendars.authorization() != CalendarAccess::FullAccess || !calendars.store())
        return std::nullopt;
    if (const std::optional<CalendarInfo> calendar = calendars.store()->defaultCalendarForNewEvents())
        return calendar->title;
    return std::nullopt;
}

QStringList allIdentifiers(const QList<CalendarService::CalendarGroup> &groups)
{
    QStringList ids;
    for (const CalendarService::CalendarGroup &group : groups)
        for (const CalendarInfo &calendar : group.calendars)
            ids << calendar.id;
    return ids;
}

bool isShown(const AppSettings &settings, const QString &id)
{
    const QStringList shown = settings.visibleCalendarIDs();
    return shown.isEmpty() || shown.contains(id);
}

void toggleShown(AppModel &model, const QString &id)
{
    model.settings().toggleCalendar(id, allIdentifiers(model.calendarService().allCalendarsBySource()));
    model.rememberCalendarNames(true);
}

QString writeBackNote(const AppSettings &settings, const CalendarService &calendars)
{
    if (const std::optional<QString> chosen = settings.calendarIdentifier()) {
        for (const CalendarService::CalendarGroup &group : calendars.writableCalendarsBySource())
            for (const CalendarInfo &calendar : group.calendars)
                if (calendar.id == *chosen)
                    return L("坐った記録は「{0}」へ書きます。", calendar.title);
    }
    if (const std::optional<QString> title = defaultTitle(calendars))
        return L("坐った記録は、既定の「{0}」へ書きます。ふだん見ている暦と違うなら、上で選び直してください。", *title);
    return L("坐った記録は、既定のカレンダーへ書きます。");
}

QString titleCaption(bool showsTitle)
{
    return showsTitle ? L("「◯ 見積書を仕上げる」と書きます。共有しているカレンダーなら、何に取りかかっていたかが相手にも見えます。")
                      : L("「◯ 味わう」とだけ書きます。何をしていたかは残りません。");
}

QString unreadableNote(const QList<UnreadableItem> &items)
{
    if (items.isEmpty())
        return QString();
    QStringList lines{L("読めなかったため、出していない項目があります。ファイルはそのままです。")};
    for (const UnreadableItem &item : items) {
        QString reason;
        switch (item.reason) {
        case UnreadableItem::Reason::CannotOpen: reason = L("開けません"); break;
        case UnreadableItem::Reason::NotCalendar: reason = L("予定として読めません"); break;
        case UnreadableItem::Reason::NoUid: reason = L("UID がありません"); break;
        }
        const QString name = item.title.isEmpty() ? QFileInfo(item.path).fileName() : item.title;
        lines << L("・{0} / {1}（{2}）", item.calendarTitle, name, reason);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace CalendarChoices
