#pragma once

#include "core/AppSettings.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "platform/audio/AudioFileDecoder.h"
#include "platform/fakes/FakeClock.h"
#include "platform/fakes/FakeAudioOutput.h"
#include "platform/fakes/FakeCalendarStore.h"
#include "platform/fakes/FakeNotificationCenter.h"
#include "platform/files/Preferences.h"
#include "sound/Ambience.h"
#include "sources/CalendarService.h"
#include "sources/NoticeRoute.h"
#include "sources/Notifier.h"
#include "sources/TaskHub.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "support/ScopedDirs.h"
#include "sync/GoogleAuth.h"
#include "sync/Keychain.h"
#include "sync/SyncStore.h"

#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace ModelRigs {

inline QDateTime at(int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2025, 3, day), QTime(hour, minute));
}

// A headless model over a temporary data folder, the fake clock and fakes of
// the calendar, the notification center and the audio output. Everything is
// built before the model so a test can set preferences first (build()).
struct Rig
{
    FakeClock ownClock;
    FakeClock &clock;
    ScopedDirs dirs;
    // The rig's own preferences (in its config folder), so that two rigs
    // can live side by side as two machines.
    Preferences prefs;
    AppSettings settings{prefs};
    SessionStore store{dirs.dataDir()};
    DayNoteStore days{dirs.dataDir()};
    LocalTaskStore local{dirs.dataDir()};
    FakeCalendarStore calendars;
    std::unique_ptr<TaskHub> hub;
    std::unique_ptr<CalendarService> calendarService;
    FakeNotificationCenter center;
    Notifier notifier{&center};
    NoticeRoute route;
    FakeAudioOutput *audio = new FakeAudioOutput();
    Ambience ambience{std::unique_ptr<AudioOutput>(audio), nullptr};
    QList<ChimeBell> bells;
    std::unique_ptr<AppModel> model;
    // Another history in place of the rig's own (one read from a prepared folder).
    SessionStore *sessionsOverride = nullptr;
    // Other settings in place of the rig's own (over preferences read from a
    // prepared folder); they are the model's standard preferences too.
    AppSettings *settingsOverride = nullptr;
    // Other calendars in place of the fake ones (real calendar folders).
    CalendarStore *calendarsOverride = nullptr;
    // The calendars read on a worker, as the program reads them.
    bool readCalendarsInBackground = false;

    // Where sign-in and the Drive store talk to; by default nowhere, so a
    // test that syncs without a server fails instead of going out.
    GoogleAuthConfig authConfig;
    DriveSyncConfig drive;
    // Where the model looks for a newer version; by default nowhere.
    NewVersionConfig updateFeed{QUrl(QStringLiteral("http://127.0.0.1:1"))};
    // The store each sync runs against; empty: the Drive file.
    std::function<std::shared_ptr<SyncStore>()> syncStore;
    std::unique_ptr<GoogleAuth> googleAuth;

    explicit Rig(const QDateTime &start = at(5, 9))
        : ownClock(start)
        , clock(ownClock)
    {
        setUp();
    }
    // A rig on a clock shared with another rig (two machines, one time).
    explicit Rig(FakeClock &shared)
        : clock(shared)
    {
        setUp();
    }
    void setUp()
    {
        Clock::setCurrent(&clock);
        authConfig.tokenUrl = QUrl(QStringLiteral("http://127.0.0.1:1/token"));
        authConfig.revokeUrl = QUrl(QStringLiteral("http://127.0.0.1:1/revoke"));
        drive.host = QUrl(QStringLiteral("http://127.0.0.1:1"));
        settings.setPrepares(false);
        calendars.setAuthorization(CalendarAccess::FullAccess);
        CalendarInfo cal;
        cal.id = QStringLiteral("rounds");
        cal.title = QStringLiteral("Rounds");
        cal.writable = true;
        calendars.addCalendar(cal);
        route.listen(&center);
    }
    ~Rig()
    {
        model.reset();
        googleAuth.reset();
        if (&clock == &ownClock)
            Clock::setCurrent(nullptr);
    }

    // Stores a refresh token, so the model built next is connected to Google.
    static void connectGoogle()
    {
        Keychain::set(QStringLiteral("client"), QStringLiteral("googleClientID"));
        Keychain::set(QStringLiteral("refresh"), QStringLiteral("googleRefreshToken"));
    }

    AppModel &build()
    {
        CalendarStore *calendarStore = calendarsOverride ? calendarsOverride : &calendars;
        AppSettings &chosen = settingsOverride ? *settingsOverride : settings;
        hub = std::make_unique<TaskHub>(&local, &chosen.defaults(), calendarStore);
        calendarService = std::make_unique<CalendarService>(calendarStore);
        AppModel::Parts parts;
        parts.settings = &chosen;
        parts.store = sessionsOverride ? sessionsOverride : &store;
        parts.taskHub = hub.get();
        parts.days = &days;
        parts.calendarService = calendarService.get();
        parts.readCalendarsInBackground = readCalendarsInBackground;
        parts.notifier = &notifier;
        parts.noticeRoute = &route;
        parts.ambience = &ambience;
        parts.ringBell = [this](ChimeBell bell) { bells << bell; };
        parts.defaults = &chosen.defaults();
        googleAuth = std::make_unique<GoogleAuth>(chosen.defaults(), authConfig);
        parts.googleAuth = googleAuth.get();
        parts.drive = drive;
        parts.updateFeed = updateFeed;
        parts.syncStore = syncStore;
        model = std::make_unique<AppModel>(parts);
        clock.advance(0); // the start-up tasks
        return *model;
    }

    PomodoroEngine &engine() { return model->engine(); }

    // Runs the current phase to its end.
    void finishPhase() { clock.advance(qint64(engine().remaining() * 1000) + 500); }

    TodoItem addTask(const QString &title)
    {
        const std::optional<TodoItem> item = hub->add(title);
        EXPECT_TRUE(item);
        return *item;
    }

    QStringList pendingIDs() const
    {
        QStringList ids;
        for (const PendingNotification &p : center.pendingRequests())
            ids << p.request.identifier;
        return ids;
    }
    // The notices on screen now, as "title / body", oldest first.
    QStringList onScreen() const
    {
        QStringList notices;
        for (const NotificationRequest &r : center.delivered())
            notices << r.title + QStringLiteral(" / ") + r.body;
        return notices;
    }
    // Every notice shown so far, replaced ones included, as "title / body".
    QStringList shownSoFar() const
    {
        QStringList notices;
        for (const NotificationRequest &r : center.shownSoFar())
            notices << r.title + QStringLiteral(" / ") + r.body;
        return notices;
    }
};

} // namespace ModelRigs
