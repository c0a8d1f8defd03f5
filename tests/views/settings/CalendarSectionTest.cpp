#include "views/settings/CalendarChoices.h"
#include "views/settings/SettingsFixture.h"

#include "core/AppSettings.h"
#include "platform/calendar/IcalFolderStore.h"
#include "sources/RemindersTaskSource.h"
#include "sources/TaskHub.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

namespace {

CalendarInfo calendar(const QString &id, const QString &title, const QString &account, bool writable)
{
    CalendarInfo info;
    info.id = id;
    info.title = title;
    info.accountTitle = account;
    info.writable = writable;
    return info;
}

// The rig's calendar "Rounds" (no account) and an account "Work" with a
// writable "Plans" and a read-only "Holidays".
struct CalendarSectionTest : SettingsFixture
{
    void SetUp() override
    {
        SettingsFixture::SetUp();
        rig->calendars.addCalendar(calendar(QStringLiteral("plans"), QStringLiteral("Plans"), QStringLiteral("Work"), true));
        rig->calendars.addCalendar(
            calendar(QStringLiteral("holidays"), QStringLiteral("Holidays"), QStringLiteral("Work"), false));
    }
    AppSettings &settings() { return rig->settings; }
};

} // namespace

TEST_F(CalendarSectionTest, EachAccessShowsItsOwnBlock)
{
    struct Case
    {
        CalendarAccess access;
        bool full, refused, notYet;
    };
    const Case cases[] = {
        {CalendarAccess::NotDetermined, false, false, true},
        {CalendarAccess::WriteOnly, false, false, true},
        {CalendarAccess::Restricted, false, true, false},
        {CalendarAccess::Denied, false, true, false},
        {CalendarAccess::FullAccess, true, false, false},
    };
    build();
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.access));
        rig->calendars.setAuthorization(c.access);
        // The window reads the access afresh each time it is shown.
        view->hide();
        view->show();
        EXPECT_EQ(model->calendarService().authorization(), c.access);
        EXPECT_EQ(rig->hub->reminders().authorization(), c.access);
        EXPECT_EQ(shows(QStringLiteral("settings.calendar.planPicker")), c.full);
        EXPECT_EQ(shows(QStringLiteral("settings.calendar.recordPicker")), c.full);
        EXPECT_EQ(shows(QStringLiteral("settings.calendar.shown.rounds")), c.full);
        EXPECT_FALSE(shows(QStringLiteral("settings.calendar.openSettings"))) << "no account folder to open";
        EXPECT_EQ(shows(QStringLiteral("settings.calendar.chooseFolderRefused")), c.refused);
        EXPECT_EQ(shows(QStringLiteral("settings.calendar.allow")), c.notYet);
    }
}

TEST_F(CalendarSectionTest, OpeningWithUnchangedAccessChangesNothing)
{
    build();
    QSignalSpy calendarSpy(&model->calendarService(), &CalendarService::authorizationChanged);
    QSignalSpy reminderSpy(&rig->hub->reminders(), &RemindersTaskSource::authorizationChanged);
    view->hide();
    view->show();
    EXPECT_EQ(calendarSpy.count(), 0);
    EXPECT_EQ(reminderSpy.count(), 0);
    EXPECT_EQ(rig->calendars.requestCount(), 0) << "opening never asks";
}

TEST_F(CalendarSectionTest, AskingForAccessGrantsItOrSaysWhyNot)
{
    rig->calendars.setAuthorization(CalendarAccess::NotDetermined);
    rig->calendars.setGrantsAccess(false);
    build();
    click(QStringLiteral("settings.calendar.allow"));
    EXPECT_TRUE(shows(QStringLiteral("settings.calendar.allow")));
    EXPECT_FALSE(text(QStringLiteral("settings.calendar.status")).isEmpty());

    rig->calendars.setGrantsAccess(true);
    click(QStringLiteral("settings.calendar.allow"));
    EXPECT_EQ(model->calendarService().authorization(), CalendarAccess::FullAccess);
    EXPECT_EQ(rig->hub->reminders().authorization(), CalendarAccess::FullAccess);
    EXPECT_TRUE(shows(QStringLiteral("settings.calendar.recordPicker")));
    EXPECT_FALSE(shows(QStringLiteral("settings.calendar.status"))) << "the failure is gone with the access given";
}

TEST_F(CalendarSectionTest, AFolderTheUserPicksBecomesAnAccount)
{
    rig->calendars.setAuthorization(CalendarAccess::NotDetermined);
    build();
    desk.cancelNext();
    click(QStringLiteral("settings.calendar.chooseFolder"));
    EXPECT_TRUE(rig->calendars.accountFolders().isEmpty());

    desk.answer(QStringLiteral("/srv/calendars/me"));
    click(QStringLiteral("settings.calendar.chooseFolder"));
    ASSERT_EQ(desk.asked().size(), 2);
    EXPECT_EQ(desk.asked().last().panel, FakeDesktop::Panel::folder);
    EXPECT_EQ(rig->calendars.accountFolders(), QStringList{QStringLiteral("/srv/calendars/me")});
}

// Over real calendar folders: a picked folder that can be written gives full
// access; an unreadable calendar item is named once in the section.
TEST_F(CalendarSectionTest, RealFoldersGiveAccessAndNameWhatCannotBeRead)
{
    Preferences prefs(QStringLiteral("calendar-folders"));
    IcalFolderStore folders(&prefs);
    rig->calendarsOverride = &folders;
    const QString account = rig->dirs.root() + QStringLiteral("/vdir");
    ASSERT_TRUE(QDir().mkpath(account + QStringLiteral("/home")));
    QFile broken(account + QStringLiteral("/home/broken.ics"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nSUMMARY:No id\r\n"
                 "DTSTART:20250305T090000Z\r\nDTEND:20250305T100000Z\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    broken.close();

    build();
    EXPECT_TRUE(shows(QStringLiteral("settings.calendar.allow")));
    desk.answer(account);
    click(QStringLiteral("settings.calendar.chooseFolder"));
    EXPECT_EQ(model->calendarService().authorization(), CalendarAccess::FullAccess);
    EXPECT_TRUE(shows(QStringLiteral("settings.calendar.shown.") + folders.calendars(CollectionKind::Events).first().id));
    const QString unreadable = text(QStringLiteral("settings.calendar.unreadable"));
    EXPECT_TRUE(shows(QStringLiteral("settings.calendar.unreadable")));
    EXPECT_EQ(unreadable.count(QStringLiteral("No id")), 1) << unreadable.toStdString();

    // The folder is listed, and opens in the file manager.
    click(QStringLiteral("settings.calendar.folder"));
    EXPECT_EQ(desk.openedFolders(), QStringList{account});

    // A folder that does not exist is refused with a word.
    desk.answer(rig->dirs.root() + QStringLiteral("/nowhere"));
    click(QStringLiteral("settings.calendar.addFolder"));
    EXPECT_TRUE(text(QStringLiteral("settings.calendar.status")).contains(QStringLiteral("nowhere")));
    EXPECT_EQ(folders.accountFolders(), QStringList{account});
}

TEST_F(CalendarSectionTest, RefusedAccessOpensTheAccountFolder)
{
    rig->calendars.setAuthorization(CalendarAccess::Denied);
    const QString account = rig->dirs.root() + QStringLiteral("/locked");
    ASSERT_TRUE(QDir().mkpath(account));
    rig->calendars.addAccountFolder(QStringLiteral("/gone"));
    rig->calendars.addAccountFolder(account);
    build();
    click(QStringLiteral("settings.calendar.openSettings"));
    EXPECT_EQ(desk.openedFolders(), QStringList{account}) << "the first folder that exists";
}

TEST_F(CalendarSectionTest, ShownCalendarsSwitchOffOneAtATimeAndBackToAll)
{
    build();
    EXPECT_TRUE(find<ToggleRow>(QStringLiteral("settings.calendar.shown.plans"))->isOn()) << "all shown at first";

    flip(QStringLiteral("settings.calendar.shown.plans"));
    // Every other calendar, group by group ("Work" before "その他").
    EXPECT_EQ(settings().visibleCalendarIDs(), (QStringList{QStringLiteral("holidays"), QStringLiteral("rounds")}));
    EXPECT_FALSE(find<ToggleRow>(QStringLiteral("settings.calendar.shown.plans"))->isOn());
    EXPECT_EQ(settings().visibleCalendarNames(), (QStringList{QStringLiteral("Holidays"), QStringLiteral("Rounds")}));

    flip(QStringLiteral("settings.calendar.shown.plans"));
    EXPECT_TRUE(settings().visibleCalendarIDs().isEmpty());
    EXPECT_TRUE(find<ToggleRow>(QStringLiteral("settings.calendar.shown.plans"))->isOn());
}

TEST_F(CalendarSectionTest, PlanPickerOffersWritableCalendarsAndStoresTheChoice)
{
    build();
    EXPECT_EQ(optionTexts(QStringLiteral("settings.calendar.planPicker")),
              (QStringList{QStringLiteral("書き出さない"), QStringLiteral("Plans（Work）"), QStringLiteral("Rounds（その他）")}));
    choose(QStringLiteral("settings.calendar.planPicker"), QStringLiteral("Plans（Work）"));
    EXPECT_EQ(settings().planCalendarIdentifier(), QStringLiteral("plans"));
    EXPECT_EQ(settings().planCalendarName(), QStringLiteral("Plans"));
    choose(QStringLiteral("settings.calendar.planPicker"), QStringLiteral("書き出さない"));
    EXPECT_EQ(settings().planCalendarIdentifier(), std::nullopt);
    EXPECT_EQ(settings().planCalendarName(), QString());
}

TEST_F(CalendarSectionTest, RecordPickerTurnsWritingOnAndOffAndKeepsTheCalendar)
{
    build();
    EXPECT_EQ(optionTexts(QStringLiteral("settings.calendar.recordPicker")),
              (QStringList{QStringLiteral("書き出さない"), QStringLiteral("既定のカレンダー（Rounds）"),
                           QStringLiteral("Plans（Work）"), QStringLiteral("Rounds（その他）")}));
    EXPECT_TRUE(shows(QStringLiteral("settings.calendar.notWriting")));
    EXPECT_FALSE(shows(QStringLiteral("settings.calendar.recordBreaks")));

    choose(QStringLiteral("settings.calendar.recordPicker"), QStringLiteral("Plans（Work）"));
    EXPECT_TRUE(settings().calendarEnabled());
    EXPECT_EQ(settings().calendarIdentifier(), QStringLiteral("plans"));
    EXPECT_EQ(settings().recordCalendarName(), QStringLiteral("Plans"));
    EXPECT_EQ(text(QStringLiteral("settings.calendar.writeBackNote")), QStringLiteral("坐った記録は「Plans」へ書きます。"));
    EXPECT_FALSE(shows(QStringLiteral("settings.calendar.notWriting")));

    choose(QStringLiteral("settings.calendar.recordPicker"), QStringLiteral("書き出さない"));
    EXPECT_FALSE(settings().calendarEnabled());
    EXPECT_EQ(settings().calendarIdentifier(), QStringLiteral("plans")) << "kept for later";

    choose(QStringLiteral("settings.calendar.recordPicker"), QStringLiteral("既定のカレンダー（Rounds）"));
    EXPECT_TRUE(settings().calendarEnabled());
    EXPECT_EQ(settings().calendarIdentifier(), std::nullopt);
    EXPECT_EQ(text(QStringLiteral("settings.calendar.writeBackNote")),
              QStringLiteral("坐った記録は、既定の「Rounds」へ書きます。ふだん見ている暦と違うなら、上で選び直してください。"));
}

// Writing finished rounds needs access: each turn to on asks for it (a
// prompt only while access is not held), a turn to off asks nothing.
TEST_F(CalendarSectionTest, TurningWritingOnAsksForAccess)
{
    rig->calendars.setAuthorization(CalendarAccess::NotDetermined);
    build();
    settings().setCalendarEnabled(true);
    EXPECT_EQ(rig->calendars.requestCount(), 1);
    EXPECT_EQ(model->calendarService().authorization(), CalendarAccess::FullAccess);
    settings().setCalendarEnabled(false);
    EXPECT_EQ(rig->calendars.requestCount(), 1);
    EXPECT_TRUE(shows(QStringLiteral("settings.calendar.notWriting")));
    rig->calendars.setAuthorization(CalendarAccess::NotDetermined);
    settings().setCalendarEnabled(true);
    EXPECT_EQ(rig->calendars.requestCount(), 2);

    // Without the window nothing asks.
    view.reset();
    settings().setCalendarEnabled(false);
    rig->calendars.setAuthorization(CalendarAccess::NotDetermined);
    settings().setCalendarEnabled(true);
    EXPECT_EQ(rig->calendars.requestCount(), 2);
}

TEST_F(CalendarSectionTest, BreaksAndTitlesSwitchesAndTheCaptionThatFollows)
{
    settings().setCalendarEnabled(true);
    build();
    flip(QStringLiteral("settings.calendar.recordBreaks"));
    EXPECT_TRUE(settings().recordBreaks());

    EXPECT_EQ(text(QStringLiteral("settings.calendar.titleCaption")), CalendarChoices::titleCaption(true));
    flip(QStringLiteral("settings.calendar.showsTitle"));
    EXPECT_FALSE(settings().calendarShowsTitle());
    EXPECT_EQ(text(QStringLiteral("settings.calendar.titleCaption")),
              QStringLiteral("「◯ 味わう」とだけ書きます。何をしていたかは残りません。"));
}

TEST_F(CalendarSectionTest, AStoredCalendarThatNoLongerTakesWritesFallsBackInTheNote)
{
    settings().setCalendarEnabled(true);
    settings().setCalendarIdentifier(QStringLiteral("holidays")); // read-only
    build();
    auto *picker = find<PickerRow>(QStringLiteral("settings.calendar.recordPicker"));
    EXPECT_EQ(picker->selection(), std::nullopt) << "no option matches";
    EXPECT_EQ(settings().calendarIdentifier(), QStringLiteral("holidays")) << "stays stored";
    EXPECT_TRUE(text(QStringLiteral("settings.calendar.writeBackNote")).contains(QStringLiteral("既定の「Rounds」")));
}

TEST_F(CalendarSectionTest, WithoutCalendarsOnlyTheFixedOptionsRemain)
{
    auto empty = std::make_unique<FakeCalendarStore>();
    rig->calendarsOverride = empty.get();
    build();
    EXPECT_EQ(optionTexts(QStringLiteral("settings.calendar.planPicker")), QStringList{QStringLiteral("書き出さない")});
    EXPECT_EQ(optionTexts(QStringLiteral("settings.calendar.recordPicker")),
              (QStringList{QStringLiteral("書き出さない"), QStringLiteral("既定のカレンダー")}));
    EXPECT_TRUE(shows(QStringLiteral("settings.calendar.notWriting")));
    view.reset();
    rig.reset();
}

TEST_F(CalendarSectionTest, TheCreateLinkOpensTheWebCalendar)
{
    build();
    click(QStringLiteral("settings.calendar.create"));
    ASSERT_EQ(desk.openedUrls().size(), 1);
    EXPECT_EQ(desk.openedUrls().first().path(), QStringLiteral("/calendar/r/settings/createcalendar"));
    EXPECT_EQ(desk.openedUrls().first().scheme(), QStringLiteral("https"));
}

TEST(CalendarChoices, UnreadableItemsAreNamedOnceEachWithWhy)
{
    Lang::setForTesting(false);
    const QString note = CalendarChoices::unreadableNote(
        {{QStringLiteral("/c/home/a.ics"), QStringLiteral("Home"), QString(), UnreadableItem::Reason::NotCalendar},
         {QStringLiteral("/c/home/b.ics"), QStringLiteral("Home"), QStringLiteral("Dentist"), UnreadableItem::Reason::NoUid}});
    EXPECT_EQ(note.split(QLatin1Char('\n')).size(), 3);
    EXPECT_TRUE(note.contains(QStringLiteral("• Home / a.ics (not readable as an event)")));
    EXPECT_TRUE(note.contains(QStringLiteral("• Home / Dentist (no UID)")));
    EXPECT_EQ(CalendarChoices::unreadableNote({}), QString());
    Lang::setForTesting(std::nullopt);
}
