#include "model/AppModel.h"
#include "platform/calendar/IcalFolderStore.h"
#include "sound/Chime.h"
#include "support/LanguageFixtures.h"
#include "ModelRig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {
using namespace ModelRigs;
struct AppModelStartUp : InJapanese
{
};
} // namespace

namespace {

// A history and preferences that do not read, as a model finds them at start.
struct UnreadableFiles
{
    ScopedDirs dirs;
    std::optional<SessionStore> history;
    std::optional<Preferences> prefs;
    std::optional<AppSettings> settings;

    UnreadableFiles()
    {
        write(dirs.dataDir() + QStringLiteral("/sessions.json"),
              R"([{"id": "not-a-uuid", "phase": "focus", "title": "x", "start": "2025-03-04T09:00:00Z",
                  "end": "2025-03-04T09:25:00Z", "completed": true}])");
        write(dirs.configDir() + QStringLiteral("/preferences.json"), "{\"focusMinutes\": ");
        history.emplace(dirs.dataDir());
        prefs.emplace(QStringLiteral("preferences"));
        settings.emplace(*prefs);
        settings->setPrepares(false);
    }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList asideIn(const QString &folder, const char *name) const
    {
        return QDir(folder).entryList({QString::fromLatin1(name) + QStringLiteral(".unreadable-*")});
    }
};

} // namespace

// Each file that did not read is told on a line of its own, with why in the
// interface language, and the lines stay until the user puts them away:
// passing notices come and go in front of them, time does not clear them.
TEST_F(AppModelStartUp, FilesKeptAsideAreToldLineByLineUntilDismissed)
{
    struct Case
    {
        const char *name;
        bool japanese;
        QString history;     // what the history's line holds
        QString preferences; // what the preferences' line holds
    };
    const Case cases[] = {
        {"Japanese", true, QStringLiteral("を読めませんでした。sessions.json.unreadable-"),
         QStringLiteral("preferences.json を読めませんでした。preferences.json.unreadable-")},
        {"English", false, QStringLiteral("Couldn’t read sessions.json. It was kept as sessions.json.unreadable-"),
         QStringLiteral("Couldn’t read preferences.json. It was kept as preferences.json.unreadable-")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Lang::setForTesting(c.japanese);
        UnreadableFiles files;
        Rig rig;
        rig.sessionsOverride = &*files.history;
        rig.settingsOverride = &*files.settings;
        AppModel &model = rig.build();

        ASSERT_EQ(model.keptAside().size(), 2) << model.keptAside().join(QLatin1Char('|')).toStdString();
        const QString history = model.keptAside()[0];
        EXPECT_TRUE(history.contains(c.history)) << history.toStdString();
        EXPECT_TRUE(history.endsWith(c.japanese ? QStringLiteral("(UUIDとして読めません: not-a-uuid)")
                                                : QStringLiteral("(not a UUID: not-a-uuid)")))
            << history.toStdString();
        EXPECT_TRUE(model.keptAside()[1].contains(c.preferences)) << model.keptAside()[1].toStdString();
        EXPECT_EQ(files.asideIn(files.dirs.dataDir(), "sessions.json").size(), 1);
        EXPECT_EQ(files.asideIn(files.dirs.configDir(), "preferences.json").size(), 1);

        const AppModel::NoticeBanner kept{model.keptAside().join(QLatin1Char('\n')), true};
        EXPECT_EQ(model.noticeBanner(), kept);
        rig.clock.advance(60 * 1000);
        EXPECT_EQ(model.noticeBanner(), kept) << "time does not clear it";
        model.showNotice(QStringLiteral("Saved."));
        EXPECT_EQ(model.noticeBanner(), (AppModel::NoticeBanner{QStringLiteral("Saved."), false}));
        rig.clock.advance(AppModel::kNoticeMs + 10);
        EXPECT_EQ(model.noticeBanner(), kept) << "back once the passing notice has gone";

        model.dismissKeptAside();
        EXPECT_TRUE(model.keptAside().isEmpty());
        EXPECT_FALSE(model.noticeBanner());
    }
}

TEST_F(AppModelStartUp, FilesThatReadTellNothing)
{
    Rig rig;
    AppModel &model = rig.build();
    EXPECT_TRUE(model.keptAside().isEmpty());
    EXPECT_FALSE(model.noticeBanner());
}

TEST_F(AppModelStartUp, TheBellThatRingsFollowsTheSetting)
{
    Rig rig;
    rig.build();
    rig.settings.setBell(QStringLiteral("Keisu"));
    EXPECT_EQ(Chime::kind, ChimeBell::keisu);
    rig.settings.setBell(QStringLiteral("Bonsho"));
    EXPECT_EQ(Chime::kind, ChimeBell::temple);
}

namespace {

// Calendar folders as a user keeps them: a calendar of two events and a
// list of one to-do, read by the program the way it reads them (on a worker).
struct CalendarFolders
{
    Rig rig;
    std::unique_ptr<IcalFolderStore> folders;
    static constexpr qint64 kFiles = 3;

    CalendarFolders()
    {
        const QString account = rig.dirs.root() + QStringLiteral("/calendars");
        put(account + QStringLiteral("/office/a.ics"), "VEVENT", "a", "Standup");
        put(account + QStringLiteral("/office/b.ics"), "VEVENT", "b", "Review");
        put(account + QStringLiteral("/errands/t.ics"), "VTODO", "t", "Buy tea");
        rig.prefs.setValue(IcalFolderStore::accountsKey(), QJsonArray{account});
        folders = std::make_unique<IcalFolderStore>(&rig.prefs);
        rig.calendarsOverride = folders.get();
        rig.readCalendarsInBackground = true;
    }
    static void put(const QString &path, const char *kind, const char *uid, const char *title)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        const QByteArray times = qstrcmp(kind, "VEVENT") == 0
                                     ? QByteArray("DTSTART:20250305T100000\r\nDTEND:20250305T110000\r\n")
                                     : QByteArray();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\nBEGIN:" + QByteArray(kind) + "\r\nUID:"
                   + uid + "\r\nDTSTAMP:20250101T000000Z\r\n" + times + "SUMMARY:" + title + "\r\nEND:" + kind
                   + "\r\nEND:VCALENDAR\r\n");
    }
    // Waits for the reading on the worker to be done.
    void waitForReading()
    {
        QSignalSpy read(folders.get(), &CalendarStore::changed);
        if (folders->isLoading()) {
            ASSERT_TRUE(read.wait(10000));
        }
    }
    QStringList taskTitles() const
    {
        QStringList titles;
        for (const TodoItem &item : rig.hub->items())
            titles << item.title;
        return titles;
    }
};

} // namespace

// Rounds written to a calendar, or to-dos taken from the calendar folders,
// want the calendars from the start; with neither, a start reads no calendar
// file, and the first page that asks for them has them read then.
TEST_F(AppModelStartUp, CalendarFilesAreReadAtStartOnlyWhenSomethingWantsThem)
{
    const struct
    {
        bool recordsToCalendar;
        const char *taskMode;
        bool readsAtStart;
        QStringList tasks; // once the calendars are read
    } cases[] = {
        {false, "off", false, {}},
        {true, "off", true, {}},
        {false, "adopt", true, {QStringLiteral("Buy tea")}},
        {false, "mirror", true, {QStringLiteral("Buy tea")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.taskMode) + (c.recordsToCalendar ? " recording" : ""));
        CalendarFolders home;
        home.rig.settings.setCalendarEnabled(c.recordsToCalendar);
        home.rig.prefs.setValue(QStringLiteral("externalTaskMode"), QString::fromLatin1(c.taskMode));
        const qint64 before = IcalFolderStore::itemFilesRead();
        home.rig.build();
        home.waitForReading();
        EXPECT_EQ(IcalFolderStore::itemFilesRead() > before, c.readsAtStart);
        EXPECT_EQ(home.taskTitles(), c.tasks);

        // The day page asks: the calendars are read then.
        QSignalSpy changed(home.folders.get(), &CalendarStore::changed);
        const QList<CalendarInfo> first = home.folders->calendars(CollectionKind::Events);
        if (!c.readsAtStart) {
            EXPECT_TRUE(first.isEmpty());
            EXPECT_TRUE(home.folders->isLoading());
            ASSERT_TRUE(changed.wait(10000));
        }
        ASSERT_EQ(home.folders->calendars(CollectionKind::Events).size(), 1);
        EXPECT_EQ(home.folders->events(at(5, 0), at(6, 0), {}).size(), 2);
        EXPECT_GE(IcalFolderStore::itemFilesRead() - before, CalendarFolders::kFiles);
    }
}

// Turning the writing of rounds on later starts the reading put off at start.
TEST_F(AppModelStartUp, TurningCalendarRecordsOnReadsTheCalendars)
{
    CalendarFolders home;
    home.rig.settings.setCalendarEnabled(false);
    home.rig.prefs.setValue(QStringLiteral("externalTaskMode"), QStringLiteral("off"));
    const qint64 before = IcalFolderStore::itemFilesRead();
    home.rig.build();
    ASSERT_FALSE(home.folders->isLoading());
    home.rig.settings.setCalendarEnabled(true);
    EXPECT_TRUE(home.folders->isLoading());
    home.waitForReading();
    EXPECT_GE(IcalFolderStore::itemFilesRead() - before, CalendarFolders::kFiles);
}

// A calendar known by name from another machine is matched once the
// calendars are read, also when that reading was put off past the start.
TEST_F(AppModelStartUp, CalendarNamesAreMatchedWhenTheReadingPutOffIsDone)
{
    CalendarFolders home;
    home.rig.settings.setCalendarEnabled(false);
    home.rig.prefs.setValue(QStringLiteral("externalTaskMode"), QStringLiteral("off"));
    home.rig.settings.setPlanCalendarName(QStringLiteral("office"));
    const qint64 before = IcalFolderStore::itemFilesRead();
    home.rig.build();
    EXPECT_FALSE(home.folders->isLoading());
    EXPECT_EQ(IcalFolderStore::itemFilesRead(), before);
    EXPECT_FALSE(home.rig.settings.planCalendarIdentifier());

    // The day page asks for the day's events.
    home.folders->events(at(5, 0), at(6, 0), {});
    home.waitForReading();
    EXPECT_EQ(home.rig.settings.planCalendarIdentifier(), home.rig.dirs.root() + QStringLiteral("/calendars/office"));
}
