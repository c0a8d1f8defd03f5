#include "SnapshotRig.h"

#include "core/AppSettings.h"
#include "model/AppModel.h"
#include "platform/audio/AudioFileDecoder.h"
#include "platform/fakes/FakeAudioOutput.h"
#include "platform/fakes/FakeCalendarStore.h"
#include "platform/fakes/FakeClock.h"
#include "platform/fakes/FakeDesktop.h"
#include "platform/fakes/FakeNotificationCenter.h"
#include "platform/files/AppPaths.h"
#include "platform/files/Preferences.h"
#include "sound/Ambience.h"
#include "sources/CalendarService.h"
#include "sources/NoticeRoute.h"
#include "sources/Notifier.h"
#include "sources/TaskHub.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "sync/GoogleAuth.h"
#include "views/ink/ViewContext.h"

struct SnapshotRig::Parts
{
    FakeClock clock;
    Preferences prefs;
    AppSettings settings{prefs};
    SessionStore store{AppPaths::dataDir()};
    DayNoteStore days{AppPaths::dataDir()};
    LocalTaskStore local{AppPaths::dataDir()};
    FakeCalendarStore calendars;
    std::unique_ptr<TaskHub> hub;
    std::unique_ptr<CalendarService> calendarService;
    FakeNotificationCenter center;
    Notifier notifier{&center};
    NoticeRoute route;
    Ambience ambience{std::make_unique<FakeAudioOutput>(), nullptr};
    std::unique_ptr<GoogleAuth> googleAuth;
    FakeDesktop desktop;
    std::unique_ptr<AppModel> model;
    QDateTime morning;

    explicit Parts(const QDateTime &now)
        : clock(now)
        , morning(now)
    {
    }
};

SnapshotRig::SnapshotRig(const QDateTime &now)
    : m(std::make_unique<Parts>(now))
{
    Clock::setCurrent(&m->clock);
    m->calendars.setAuthorization(CalendarAccess::FullAccess);
    CalendarInfo calendar;
    calendar.id = QStringLiteral("rounds");
    calendar.title = QStringLiteral("Quillmere");
    calendar.writable = true;
    m->calendars.addCalendar(calendar);
    m->hub = std::make_unique<TaskHub>(&m->local, &m->settings.defaults(), &m->calendars);
    m->calendarService = std::make_unique<CalendarService>(&m->calendars);

    GoogleAuthConfig auth;
    auth.tokenUrl = QUrl(QStringLiteral("http://127.0.0.1:1/token"));
    auth.revokeUrl = QUrl(QStringLiteral("http://127.0.0.1:1/revoke"));
    m->googleAuth = std::make_unique<GoogleAuth>(m->prefs, auth);

    AppModel::Parts parts;
    parts.settings = &m->settings;
    parts.store = &m->store;
    parts.taskHub = m->hub.get();
    parts.days = &m->days;
    parts.calendarService = m->calendarService.get();
    parts.googleAuth = m->googleAuth.get();
    parts.defaults = &m->prefs;
    parts.notifier = &m->notifier;
    parts.noticeRoute = &m->route;
    parts.ambience = &m->ambience;
    parts.ringBell = [](ChimeBell) {};
    parts.updateFeed.updateHost = QUrl(QStringLiteral("http://127.0.0.1:1"));
    parts.drive.host = QUrl(QStringLiteral("http://127.0.0.1:1"));
    m->settings.setHasSeenIntro(true);
    m->model = std::make_unique<AppModel>(parts);
    m->clock.advance(0); // the start-up work

    // A few tasks and the morning's rounds.
    const QDateTime day = now;
    m->hub->add(QStringLiteral("Draft the spring letter"), day.addDays(1));
    m->hub->add(QStringLiteral("Tidy the workshop"));
    m->hub->add(QStringLiteral("読書ノートをまとめる"));
    // Two practices on the shelf: one of every day, one of now and then.
    for (const auto &[title, occasional] : {std::pair{QStringLiteral("朝の坐禅"), false},
                                             std::pair{QStringLiteral("Sharpen the chisels"), true}})
        if (const std::optional<LocalTask> task = m->local.add(title)) {
            m->local.setDaily(task->id, true);
            if (occasional)
                m->local.setOccasional(task->id, true);
        }
    m->hub->reload();
    for (int i = 0; i < 2; ++i) {
        SessionRecord record;
        record.id = QUuid::createUuid();
        record.phase = Phase::focus;
        record.title = QStringLiteral("Draft the spring letter");
        record.start = QDateTime(day.date(), QTime(7, 0)).addSecs(i * 1800);
        record.end = record.start.addSecs(25 * 60);
        record.completed = true;
        m->store.append(record);
    }
    m->clock.advance(0);
}

SnapshotRig::~SnapshotRig()
{
    m->model.reset();
    Clock::setCurrent(nullptr);
}

AppModel &SnapshotRig::model()
{
    return *m->model;
}

FakeDesktop &SnapshotRig::desktop()
{
    return m->desktop;
}

FakeCalendarStore &SnapshotRig::calendars()
{
    return m->calendars;
}

QDateTime SnapshotRig::morning() const
{
    return m->morning;
}

ViewContext SnapshotRig::context()
{
    ViewContext context;
    context.model = m->model.get();
    context.desktop = &m->desktop;
    context.snapshot = true;
    return context;
}

void SnapshotRig::setNow(const QDateTime &now)
{
    m->clock.setNow(now);
}

void SnapshotRig::advance(qint64 ms)
{
    m->clock.advance(ms);
}
