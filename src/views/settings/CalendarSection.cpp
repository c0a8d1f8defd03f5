#include "views/settings/CalendarSection.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "platform/desktop/Desktop.h"
#include "platform/calendar/IcalFolderStore.h"
#include "sources/CalendarService.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/settings/CalendarChoices.h"
#include "views/settings/PickerRow.h"
#include "views/settings/SettingsStyle.h"
#include "views/settings/ToggleRow.h"

#include <QDir>
#include <QVBoxLayout>

namespace {

// The web calendar's page for making a new calendar.
const QUrl kCreateCalendar(QStringLiteral("https://calendar.google.com/calendar/r/settings/createcalendar"));

QString shownPath(const QString &path)
{
    const QString home = QDir::homePath();
    if (path == home || path.startsWith(home + QLatin1Char('/')))
        return QStringLiteral("~") + path.mid(home.size());
    return QDir::toNativeSeparators(path);
}

PickerRow::Options asOptions(const QList<CalendarChoices::Option> &options)
{
    PickerRow::Options out;
    for (const CalendarChoices::Option &o : options)
        out << qMakePair(o.tag, o.text);
    return out;
}

} // namespace

CalendarSection::CalendarSection(const ViewContext &context, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.calendar"));
    QVBoxLayout *shown = addColumn();
    m_shownRow = rows().last();
    buildShown(shown);
    QVBoxLayout *plans = addColumn();
    m_plansRow = rows().last();
    buildPlans(plans);
    QVBoxLayout *records = addColumn();
    m_recordsRow = rows().last();
    buildRecords(records);
    QVBoxLayout *refused = addColumn();
    m_refusedRow = rows().last();
    buildRefused(refused);
    QVBoxLayout *notYet = addColumn();
    m_notYetRow = rows().last();
    buildNotYet(notYet);

    AppModel &model = *m_context.model;
    AppSettings &settings = model.settings();
    CalendarService &calendars = model.calendarService();
    connect(&calendars, &CalendarService::authorizationChanged, this, &CalendarSection::refreshCalendars);
    if (calendars.store())
        connect(calendars.store(), &CalendarStore::changed, this, &CalendarSection::refreshCalendars);
    for (auto signal : {&AppSettings::calendarEnabledChanged, &AppSettings::calendarIdentifierChanged,
                        &AppSettings::planCalendarIdentifierChanged, &AppSettings::visibleCalendarIDsChanged,
                        &AppSettings::recordBreaksChanged, &AppSettings::calendarShowsTitleChanged})
        connect(&settings, signal, this, &CalendarSection::refresh);
    refreshCalendars();
}

void CalendarSection::buildShown(QVBoxLayout *column)
{
    auto *heading = SettingsStyle::description(L("一日の頁に出すカレンダー"));
    column->addWidget(heading);
    m_groups = new QWidget;
    auto *groups = new QVBoxLayout(m_groups);
    groups->setContentsMargins(0, 0, 0, 0);
    groups->setSpacing(6);
    column->addWidget(m_groups);
    column->addWidget(SettingsStyle::caption(L("Google カレンダーは、CalDAV を同期する道具でフォルダに写し、下でそのフォルダを足すと、ここに並びます。")));

    column->addSpacing(4);
    column->addWidget(SettingsStyle::description(L("カレンダーのフォルダ")));
    m_folders = new QWidget;
    auto *folders = new QVBoxLayout(m_folders);
    folders->setContentsMargins(0, 0, 0, 0);
    folders->setSpacing(2);
    column->addWidget(m_folders);
    m_folders->setVisible(false); // until there are folders
    auto *add = SettingsStyle::button(L("フォルダを足す…"), QStringLiteral("settings.calendar.addFolder"));
    connect(add, &InkButton::clicked, this, &CalendarSection::chooseFolder);
    column->addLayout(SettingsStyle::buttonRow({add}));
    auto *status = SettingsStyle::errorText();
    status->setObjectName(QStringLiteral("settings.calendar.status"));
    m_statusLines << status;
    column->addWidget(status);

    m_unreadable = SettingsStyle::description(QString());
    m_unreadable->setObjectName(QStringLiteral("settings.calendar.unreadable"));
    column->addWidget(m_unreadable);
}

void CalendarSection::buildPlans(QVBoxLayout *column)
{
    column->addWidget(SettingsStyle::caption(
        L("予定としたことは、それぞれ専用の Google カレンダーに分けておくのがおすすめです。名前は「Ondrevel_予定」「Ondrevel_したこと」のように。作ると、下の一覧に出てきます。")));
    auto *create = SettingsStyle::link(L("Google カレンダーで作る"), QStringLiteral("settings.calendar.create"));
    connect(create, &InkButton::clicked, this, [this] { m_context.desk().openUrl(kCreateCalendar); });
    column->addLayout(SettingsStyle::buttonRow({create}));
    m_planPicker = new PickerRow(L("予定を書き出す先"));
    m_planPicker->setObjectName(QStringLiteral("settings.calendar.planPicker"));
    connect(m_planPicker, &PickerRow::chosen, this,
            [this](const QString &tag) { CalendarChoices::choosePlan(*m_context.model, tag); });
    column->addWidget(m_planPicker);
    column->addWidget(SettingsStyle::caption(L("一日の頁で置いた作務を、予定として書きます。したこととは別の場所に。")));
}

void CalendarSection::buildRecords(QVBoxLayout *column)
{
    m_recordPicker = new PickerRow(L("したことを書き出す先"));
    m_recordPicker->setObjectName(QStringLiteral("settings.calendar.recordPicker"));
    connect(m_recordPicker, &PickerRow::chosen, this,
            [this](const QString &tag) { CalendarChoices::chooseRecord(*m_context.model, tag); });
    column->addWidget(m_recordPicker);

    m_writeBackNote = SettingsStyle::caption(QString());
    m_writeBackNote->setObjectName(QStringLiteral("settings.calendar.writeBackNote"));
    column->addWidget(m_writeBackNote);
    m_recordBreaks = new ToggleRow(L("休憩も記録する"), SettingsStyle::captionFont());
    m_recordBreaks->setObjectName(QStringLiteral("settings.calendar.recordBreaks"));
    connect(m_recordBreaks, &ToggleRow::toggled, this,
            [this](bool on) { m_context.model->settings().setRecordBreaks(on); });
    column->addWidget(m_recordBreaks);
    m_showsTitle = new ToggleRow(L("予定名に題目を出す"), SettingsStyle::captionFont());
    m_showsTitle->setObjectName(QStringLiteral("settings.calendar.showsTitle"));
    connect(m_showsTitle, &ToggleRow::toggled, this,
            [this](bool on) { m_context.model->settings().setCalendarShowsTitle(on); });
    column->addWidget(m_showsTitle);
    m_titleCaption = new TextBlock(QString(), SettingsStyle::captionFont(10), Tone{Kiv::Colour::inkFaint});
    m_titleCaption->setObjectName(QStringLiteral("settings.calendar.titleCaption"));
    column->addWidget(m_titleCaption);
    m_notWriting = SettingsStyle::caption(L("「これをやった」は、いまカレンダーへ書いていません。"));
    m_notWriting->setObjectName(QStringLiteral("settings.calendar.notWriting"));
    column->addWidget(m_notWriting);
}

void CalendarSection::buildRefused(QVBoxLayout *column)
{
    column->setSpacing(6);
    column->addWidget(SettingsStyle::plainText(L("カレンダーへのアクセスが拒否されています。")));
    column->addWidget(SettingsStyle::description(L("カレンダーのフォルダの権限で、読み書きを許可してください。")));
    m_openFolder = SettingsStyle::button(L("フォルダを開く"), QStringLiteral("settings.calendar.openSettings"));
    connect(m_openFolder, &InkButton::clicked, this, [this] {
        if (const std::optional<QString> folder = CalendarChoices::refusedFolder(m_context.model->calendarService()))
            m_context.desk().openFolder(*folder);
    });
    auto *choose = SettingsStyle::button(L("フォルダを選ぶ…"), QStringLiteral("settings.calendar.chooseFolderRefused"));
    connect(choose, &InkButton::clicked, this, &CalendarSection::chooseFolder);
    column->addLayout(SettingsStyle::buttonRow({m_openFolder, choose}));
    auto *status = SettingsStyle::errorText();
    m_statusLines << status;
    column->addWidget(status);
}

void CalendarSection::buildNotYet(QVBoxLayout *column)
{
    column->setSpacing(6);
    auto *allow = SettingsStyle::button(L("カレンダーへのアクセスを許可する"), QStringLiteral("settings.calendar.allow"));
    connect(allow, &InkButton::clicked, this, &CalendarSection::askForAccess);
    auto *choose = SettingsStyle::button(L("フォルダを選ぶ…"), QStringLiteral("settings.calendar.chooseFolder"));
    connect(choose, &InkButton::clicked, this, &CalendarSection::chooseFolder);
    column->addLayout(SettingsStyle::buttonRow({allow, choose}));
    column->addWidget(SettingsStyle::description(
        L("カレンダーのフォルダを読み、一日の頁に予定を並べます。坐った記録の書き出しにも使います。Google カレンダーは、CalDAV を同期する道具で Google アカウントのカレンダーをフォルダに写しておくと、一緒に使えます。")));
    auto *where = SettingsStyle::caption(
        L("既定では {0} に作ります。カレンダーを同期する道具が書き込むフォルダを選ぶこともできます。",
          shownPath(IcalFolderStore::defaultAccountFolder())));
    where->setObjectName(QStringLiteral("settings.calendar.defaultPlace"));
    column->addWidget(where);
    auto *status = SettingsStyle::errorText();
    m_statusLines << status;
    column->addWidget(status);
}

void CalendarSection::askForAccess()
{
    if (m_context.snapshot)
        return;
    QString error;
    if (CalendarChoices::requestAccess(*m_context.model, &error))
        showStatus(QString());
    else
        showStatus(error.isEmpty() ? L("カレンダーへのアクセスが許可されませんでした。") : error);
}

void CalendarSection::chooseFolder()
{
    if (m_context.snapshot)
        return;
    Desktop::FileQuestion question;
    question.message = L("カレンダーのフォルダを選んでください");
    question.confirm = L("選ぶ");
    const std::optional<QString> path = m_context.desk().chooseFolder(question, window());
    if (!path)
        return;
    QString error;
    if (CalendarChoices::addFolder(*m_context.model, *path, &error))
        showStatus(QString());
    else
        showStatus(error);
    refreshCalendars();
}

void CalendarSection::showStatus(const QString &text)
{
    m_status = text;
    for (TextBlock *line : m_statusLines) {
        line->setText(text);
        line->setVisible(!text.isEmpty());
    }
}

void CalendarSection::refreshCalendars()
{
    AppModel &model = *m_context.model;
    CalendarService &calendars = model.calendarService();

    // The shown-calendar switches, rebuilt only when the calendars changed.
    const QList<CalendarService::CalendarGroup> groups = calendars.allCalendarsBySource();
    QStringList key;
    for (const CalendarService::CalendarGroup &group : groups) {
        key << QStringLiteral("\x1f") + group.source;
        for (const CalendarInfo &calendar : group.calendars)
            key << calendar.id + QLatin1Char('\x1e') + calendar.title;
    }
    if (key != m_groupsKey) {
        m_groupsKey = key;
        m_shownSwitches.clear();
        QLayout *layout = m_groups->layout();
        while (QLayoutItem *item = layout->takeAt(0)) {
            if (QWidget *w = item->widget())
                w->deleteLater();
            delete item;
        }
        for (const CalendarService::CalendarGroup &group : groups) {
            auto *source = new TextBlock(group.source, SettingsStyle::captionFont(10), Tone{Kiv::Colour::inkFaint});
            if (layout->count() > 0)
                source->setContentsMargins(0, 6, 0, 0);
            layout->addWidget(source);
            for (const CalendarInfo &calendar : group.calendars) {
                auto *row = new ToggleRow(calendar.title, SettingsStyle::captionFont());
                row->setObjectName(QStringLiteral("settings.calendar.shown.") + calendar.id);
                connect(row, &ToggleRow::toggled, this, [this, id = calendar.id] {
                    CalendarChoices::toggleShown(*m_context.model, id);
                });
                m_shownSwitches.insert(calendar.id, row);
                layout->addWidget(row);
            }
        }
    }

    // The account folders.
    const QStringList folders = calendars.store() ? calendars.store()->accountFolders() : QStringList();
    if (folders != m_foldersKey) {
        m_foldersKey = folders;
        QLayout *layout = m_folders->layout();
        while (QLayoutItem *item = layout->takeAt(0)) {
            if (QWidget *w = item->widget())
                w->deleteLater();
            delete item;
        }
        for (const QString &folder : folders) {
            auto *open = SettingsStyle::link(shownPath(folder), QStringLiteral("settings.calendar.folder"));
            open->setName(L("フォルダを開く") + QStringLiteral(": ") + shownPath(folder));
            connect(open, &InkButton::clicked, this, [this, folder] { m_context.desk().openFolder(folder); });
            layout->addWidget(open);
        }
        m_folders->setVisible(!folders.isEmpty());
    }

    // Items that could not be read, named once each.
    const QString unreadable = CalendarChoices::unreadableNote(calendars.unreadableItems());
    m_unreadable->setText(unreadable);
    m_unreadable->setVisible(!unreadable.isEmpty());

    refresh();
}

void CalendarSection::refresh()
{
    AppModel &model = *m_context.model;
    const AppSettings &settings = model.settings();
    const CalendarService &calendars = model.calendarService();
    const CalendarChoices::Access access = CalendarChoices::access(calendars.authorization());
    const bool full = access == CalendarChoices::Access::full;

    m_shownRow->setVisible(full);
    m_plansRow->setVisible(full);
    m_recordsRow->setVisible(full);
    m_refusedRow->setVisible(access == CalendarChoices::Access::refused);
    m_notYetRow->setVisible(access == CalendarChoices::Access::notYet);
    showStatus(m_status);
    if (!full) {
        m_openFolder->setVisible(CalendarChoices::refusedFolder(calendars).has_value());
        return;
    }

    for (auto it = m_shownSwitches.cbegin(); it != m_shownSwitches.cend(); ++it)
        it.value()->setOn(CalendarChoices::isShown(settings, it.key()));

    const QList<CalendarService::CalendarGroup> writable = calendars.writableCalendarsBySource();
    m_planPicker->setOptions(asOptions(CalendarChoices::planOptions(writable)));
    m_planPicker->setSelection(CalendarChoices::planSelection(settings));
    m_recordPicker->setOptions(
        asOptions(CalendarChoices::recordOptions(writable, CalendarChoices::defaultTitle(calendars))));
    m_recordPicker->setSelection(CalendarChoices::recordSelection(settings));

    const bool writing = settings.calendarEnabled();
    m_writeBackNote->setVisible(writing);
    m_recordBreaks->setVisible(writing);
    m_showsTitle->setVisible(writing);
    m_titleCaption->setVisible(writing);
    m_notWriting->setVisible(!writing);
    if (writing) {
        m_writeBackNote->setText(CalendarChoices::writeBackNote(settings, calendars));
        m_recordBreaks->setOn(settings.recordBreaks());
        m_showsTitle->setOn(settings.calendarShowsTitle());
        m_titleCaption->setText(CalendarChoices::titleCaption(settings.calendarShowsTitle()));
    }
}
