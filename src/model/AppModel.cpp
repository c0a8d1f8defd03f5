#include "model/AppModel.h"

#include "sources/LocalTaskSource.h"

#include "core/AppSettings.h"
#include "core/Kiv.h"
#include "core/L.h"
#include "core/PomodoroEngine.h"
#include "core/TaskTitle.h"
#include "model/ClockText.h"
#include "platform/time/Clock.h"
#include "platform/notify/NotificationCenter.h"
#include "platform/files/Preferences.h"
#include "sound/Ambience.h"
#include "sound/AmbienceLibrary.h"
#include "sound/AmbienceScene.h"
#include "sound/Chime.h"
#include "sources/CalendarService.h"
#include "sources/NoticeRoute.h"
#include "sources/Notifier.h"
#include "sources/TaskHub.h"
#include "stores/DayNote.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "stores/Shikunichi.h"
#include "sync/GoogleAuth.h"
#include "sync/Keychain.h"
#include "sync/SyncService.h"

#include <memory>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QSignalBlocker>
#include <cmath>
#include <vector>

namespace {

qint64 stepMs(Preparation step)
{
    return step == Preparation::breath ? 6000 : 4000;
}

bool sameFound(const std::optional<NewVersion::Found> &a, const std::optional<NewVersion::Found> &b)
{
    if (!a || !b)
        return !a && !b;
    return a->version == b->version && a->url == b->url && a->note == b->note;
}

} // namespace

AppModel::AppModel(Parts parts, QObject *parent)
    : QObject(parent)
{
    m_defaults = parts.defaults ? parts.defaults : &Preferences::standard();
    m_notifier = parts.notifier ? parts.notifier : &Notifier::shared();
    m_noticeRoute = parts.noticeRoute ? parts.noticeRoute : &NoticeRoute::shared();
    m_ambience = parts.ambience;
    m_ringBell = parts.ringBell;
    m_requestAttention = parts.requestAttention;
    m_updateFeed = parts.updateFeed;
    m_version = parts.version;
    m_driveConfig = parts.drive;
    m_syncStoreFactory = parts.syncStore;

    // The Google connection over the standard preferences.
    if (parts.googleAuth) {
        m_googleAuth = parts.googleAuth;
    } else {
        m_ownGoogleAuth = std::make_unique<GoogleAuth>(*m_defaults);
        m_googleAuth = m_ownGoogleAuth.get();
    }

    m_settings = parts.settings ? parts.settings : &AppSettings::sharedInstance();
    if (!m_settings->soundNamed)
        m_settings->soundNamed = [](const QString &name) -> std::optional<QUrl> {
            if (auto sound = AmbienceLibrary::sound(name))
                return sound->url;
            return std::nullopt;
        };
    if (!m_settings->librarySounds)
        m_settings->librarySounds = [] {
            QList<QUrl> urls;
            for (const AmbienceLibrary::Sound &sound : AmbienceLibrary::sounds())
                urls << sound.url;
            return urls;
        };
    Kiv::setScale(m_settings->textScale());

    m_engine = std::make_unique<PomodoroEngine>(*m_settings);

    if (parts.store) {
        m_store = parts.store;
    } else {
        m_ownStore = std::make_unique<SessionStore>();
        m_store = m_ownStore.get();
    }
    if (parts.calendarService) {
        m_calendarService = parts.calendarService;
    } else {
        m_ownCalendarService = std::make_unique<CalendarService>();
        m_calendarService = m_ownCalendarService.get();
    }
    if (parts.taskHub) {
        m_taskHub = parts.taskHub;
    } else {
        // Reminders are read from the same calendar folders as the events.
        m_ownTaskHub = std::make_unique<TaskHub>(nullptr, &m_settings->defaults(), m_calendarService->store());
        m_taskHub = m_ownTaskHub.get();
    }
    if (parts.readCalendarsInBackground)
        readCalendarsWhenWanted();
    if (parts.days) {
        m_days = parts.days;
    } else {
        m_ownDays = std::make_unique<DayNoteStore>();
        m_days = m_ownDays.get();
    }
    m_sync = std::make_unique<SyncService>(*m_store, m_taskHub->local(), *m_settings, m_days);

    m_preparationFlow = std::make_unique<ClockTimer>();
    m_preparationFlow->setSingleShot(true);
    connect(m_preparationFlow.get(), &ClockTimer::timeout, this, &AppModel::runPreparationStep);
    m_previewWatch = std::make_unique<ClockTimer>();
    m_previewWatch->setSingleShot(true);
    // The preview's end by time gives the ambience back to the sitting, as
    // ending it by hand does.
    connect(m_previewWatch.get(), &ClockTimer::timeout, this, &AppModel::endAmbiencePreview);
    m_pushSoon = std::make_unique<ClockTimer>();
    m_pushSoon->setSingleShot(true);
    // The delayed sync runs on a later turn of its own, so that a new
    // syncSoon cancelling the timer never reaches a sync already on its way.
    connect(m_pushSoon.get(), &ClockTimer::timeout, this, [this] {
        later([this] {
            if (m_syncing)
                syncSoon(kSyncRetrySeconds);
            else
                syncNow(true);
        });
    });

    wireCallbacks();
    wireDerivedSignals();
    startUp();
}

AppModel::~AppModel()
{
    // The engine may call back while it goes; nothing of the model is left to call.
    m_engine->onSessionFinished = nullptr;
    m_engine->onPhaseCompleted = nullptr;
    m_engine->onPlanCompleted = nullptr;
    m_engine->onRunChanged = nullptr;
    m_store->onChanged = nullptr;
    m_taskHub->local().onChanged = nullptr;
    m_days->onChanged = nullptr;
    m_settings->onChanged = nullptr;
    m_taskHub->onAdopted = nullptr;
    m_noticeRoute->setOnPlan(nullptr);
}

void AppModel::later(std::function<void()> fn)
{
    ClockTimer::singleShot(0, this, std::move(fn));
}

void AppModel::wireCallbacks()
{
    QPointer<AppModel> self(this);
    m_taskHub->onAdopted = [self](int count) {
        if (self)
            self->showNotice(L(QStringLiteral("{0} 件を迎え入れました。"), count));
    };
    m_engine->onSessionFinished = [self](const SessionRecord &r) {
        if (!self)
            return;
        self->setLastRunEnded(r.end);
        if (self)
            self->record(r);
    };
    m_engine->onPhaseCompleted = [self](Phase phase) {
        if (self)
            self->signal(phase);
    };
    m_engine->onPlanCompleted = [self](Mode mode) {
        if (self)
            self->signalPlanCompleted(mode);
    };
    m_engine->onRunChanged = [self](Phase phase, RunState state) {
        if (!self)
            return;
        self->updateAmbience(phase, state);
        self->updateScheduledNotice();
        self->updatePlanNotices(Clock::current().now());
        if (state == RunState::running)
            self->m_notifier->requestAuthorizationIfNeeded();
    };

    // Every save that fails is told, whenever it happens; what was not saved
    // stays in memory and goes to disk with the next change.
    for (StoreBase *s : std::initializer_list<StoreBase *>{m_store, &m_taskHub->local(), m_days})
        if (s)
            connect(s, &StoreBase::saveFailed, this, &AppModel::showNotice);
    auto toldFailure = [this](const QString &path) {
        return [this, name = QFileInfo(path).fileName()](const QString &error) {
            showNotice(L(QStringLiteral("{0} を保存できませんでした: {1}"), name, error));
        };
    };
    QList<Preferences *> domains{&m_settings->defaults()};
    if (m_defaults != domains.first())
        domains << m_defaults;
    for (Preferences *prefs : domains)
        connect(prefs, &Preferences::saveFailed, this, toldFailure(prefs->filePath()));
    connect(&Keychain::notifier(), &KeychainNotifier::saveFailed, this, toldFailure(Keychain::filePath()));
}

void AppModel::wireDerivedSignals()
{
    connect(m_engine.get(), &PomodoroEngine::changed, this, &AppModel::menuBarTitleChanged);
    connect(m_engine.get(), &PomodoroEngine::modeChanged, this, &AppModel::showsSanshinFooterChanged);
    connect(this, &AppModel::tabChanged, this, &AppModel::showsSanshinFooterChanged);
    connect(m_settings, &AppSettings::showSecondsInMenuBarChanged, this, &AppModel::menuBarTitleChanged);
    connect(m_settings, &AppSettings::ambienceSceneChanged, this, &AppModel::ambienceTitleChanged);
    connect(m_settings, &AppSettings::customSoundNameChanged, this, &AppModel::ambienceTitleChanged);
    // The notice settings take effect at once.
    connect(m_settings, &AppSettings::planNoticesChanged, this,
            [this] { updatePlanNotices(Clock::current().now()); });
    for (auto sig : {&AppSettings::dayPromptsChanged, &AppSettings::morningHourChanged,
                     &AppSettings::eveningHourChanged})
        connect(m_settings, sig, this, &AppModel::applyDayPrompts);
    // Round lengths and the ambience take effect at once, whether changed
    // here or arriving by sync while the program runs: an idle engine shows
    // the new length, and a sitting's ambience follows its scene and volume.
    for (auto sig : {&AppSettings::focusMinutesChanged, &AppSettings::shortBreakMinutesChanged,
                     &AppSettings::longBreakMinutesChanged, &AppSettings::choreMinutesChanged})
        connect(m_settings, sig, m_engine.get(), &PomodoroEngine::applyDurationChangeIfIdle);
    for (auto sig : {&AppSettings::ambienceSceneChanged, &AppSettings::ambienceVolumeChanged})
        connect(m_settings, sig, this, [this] { updateAmbience(m_engine->phase(), m_engine->state()); });
}

void AppModel::readCalendarsWhenWanted()
{
    CalendarStore *calendars = m_calendarService->store();
    if (!calendars)
        return;
    // Rounds written to a calendar and to-dos taken from the calendar folders
    // want the calendars from the start; without either, nothing is read
    // until a page asks for them.
    if (m_settings->calendarEnabled() || m_taskHub->externalMode() != TaskHub::ExternalMode::off)
        calendars->loadInBackground();
    else
        calendars->loadWhenFirstAsked();
    // Turned on later, the first question starts the reading put off.
    connect(m_settings, &AppSettings::calendarEnabledChanged, calendars, [this, calendars] {
        if (m_settings->calendarEnabled())
            calendars->calendars(CollectionKind::Events);
    });
}

void AppModel::startUp()
{
    QPointer<TaskHub> hub(m_taskHub);
    later([hub] {
        if (hub)
            hub->refresh();
    });

    if (auto raw = m_defaults->string(QStringLiteral("startTab")))
        if (auto tab = rootTabFromRaw(*raw))
            setTab(*tab);
    // A stored start mode begins at once: no bell, no preparation.
    if (auto raw = m_defaults->string(QStringLiteral("startMode")))
        if (auto mode = modeFromRaw(*raw))
            m_engine->begin(*mode, false, {});

    applyDayPrompts();

    const QDateTime now = Clock::current().now();
    if (Shikunichi::isSweepDay(now) && !m_days->isSwept(now)) {
        ClockTimer::singleShot(1000, this, [this] {
            if (needsSweep())
                showNotice(L(QStringLiteral("今日は四九日（しくにち）。作務を払う日です。")));
        });
    }

    Chime::kind = ChimeBell::from(m_settings->bell());
    // The bell that rings follows the setting, also when a sync writes it.
    m_settings->onBellWritten = [](const QString &name) { Chime::kind = ChimeBell::from(name); };

    // A file that could not be read was kept aside and what it held starts
    // empty: say so, one line a file, until the user has seen it.
    QStringList keptAside;
    for (const StoreBase *s : std::initializer_list<const StoreBase *>{m_store, &m_taskHub->local(), m_days})
        if (s && !s->lastError().isEmpty())
            keptAside << s->lastError();
    QList<Preferences *> domains{&m_settings->defaults()};
    if (m_defaults != domains.first())
        domains << m_defaults;
    for (const Preferences *prefs : std::as_const(domains)) {
        const std::optional<QString> kept = prefs->keptAsideAs();
        if (!kept)
            continue;
        const QString name = QFileInfo(prefs->filePath()).fileName();
        if (!kept->isEmpty())
            keptAside << L("{0} を読めませんでした。{1} として残し、設定は初めの状態で始めます。", name,
                           QFileInfo(*kept).fileName());
    }
    if (!keptAside.isEmpty()) {
        m_keptAside = keptAside;
        emit keptAsideChanged();
    }

    auto changed = [self = QPointer<AppModel>(this)] {
        if (self)
            self->later([self] {
                if (self)
                    self->localDataChanged();
            });
    };
    m_store->onChanged = changed;
    m_taskHub->local().onChanged = changed;
    m_settings->onChanged = changed;
    m_days->onChanged = [self = QPointer<AppModel>(this), changed] {
        changed();
        if (self)
            self->later([self] {
                if (self)
                    self->updatePlanNotices(Clock::current().now());
            });
    };

    updatePlanNotices(now);

    // Calendar names are matched once the calendars are read (a reading
    // put off is not started for them).
    CalendarStore *calendars = m_calendarService->store();
    if (calendars && (calendars->isLoading() || calendars->isReadingPutOff())) {
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = connect(calendars, &CalendarStore::changed, this, [this, once] {
            disconnect(*once);
            rememberCalendarNames(false);
            resolveCalendarNames();
        });
    } else {
        rememberCalendarNames(false);
        resolveCalendarNames();
    }

    QPointer<AppModel> self(this);
    m_noticeRoute->setOnPlan([self](const QUuid &planID, const QString &day) {
        if (self)
            self->takePlan(planID, day);
    });

    // The first quiet sync of the run.
    if (m_settings->syncPlace() == SyncPlace::drive && m_googleAuth->isConnected())
        later([self] {
            if (self)
                self->syncNow(true);
        });
    tellIfDisconnected();
}

void AppModel::localDataChanged()
{
    syncSoon(kSyncDelaySeconds);
}

// MARK: observable state

void AppModel::setNotice(const std::optional<QString> &notice)
{
    assign(m_notice, notice, &AppModel::noticeChanged);
}

void AppModel::dismissKeptAside()
{
    if (m_keptAside.isEmpty())
        return;
    m_keptAside.clear();
    emit keptAsideChanged();
}

std::optional<AppModel::NoticeBanner> AppModel::noticeBanner() const
{
    if (m_notice)
        return NoticeBanner{*m_notice, false};
    if (!m_keptAside.isEmpty())
        return NoticeBanner{m_keptAside.join(QLatin1Char('\n')), true};
    return std::nullopt;
}

void AppModel::setGlossaryRequest(int request)
{
    assign(m_glossaryRequest, request, &AppModel::glossaryRequestChanged);
}

void AppModel::setTab(RootTab tab)
{
    assign(m_tab, tab, &AppModel::tabChanged);
}

void AppModel::setNewVersion(const std::optional<NewVersion::Found> &found)
{
    if (sameFound(m_newVersion, found))
        return;
    m_newVersion = found;
    emit newVersionChanged();
}

void AppModel::setPreparing(const std::optional<Preparing> &preparing)
{
    assign(m_preparing, preparing, &AppModel::preparingChanged);
}

void AppModel::setLastRunEnded(const std::optional<QDateTime> &at)
{
    assign(m_lastRunEnded, at, &AppModel::lastRunEndedChanged);
}

void AppModel::setPlanLists(const QList<PlanNotice::Item> &advance, const QList<PlanNotice::Item> &arrivals)
{
    assign(m_planNotices, advance, &AppModel::planNoticesChanged);
    assign(m_planArrivals, arrivals, &AppModel::planArrivalsChanged);
}

void AppModel::setScheduledEnd(const std::optional<ScheduledEnd> &end)
{
    assign(m_scheduledEnd, end, &AppModel::scheduledEndChanged);
}

void AppModel::setPreviewingAmbience(bool previewing)
{
    assign(m_previewingAmbience, previewing, &AppModel::previewingAmbienceChanged);
}

// MARK: transient notice

void AppModel::showNotice(const QString &text)
{
    setNotice(text);
    ClockTimer::singleShot(kNoticeMs, this, [this, text] {
        if (m_notice == text)
            setNotice(std::nullopt);
    });
}

// MARK: beginning rounds and the preparation

void AppModel::ring(ChimeBell bell)
{
    if (m_ringBell)
        m_ringBell(bell);
    else
        Chime::shared().play(bell);
}

void AppModel::begin(Mode mode)
{
    // A preparation still running is abandoned, so it can never start a
    // second run after this one.
    m_preparationFlow->stop();
    setPreparing(std::nullopt);

    if (m_settings->soundEnabled())
        ring(Chime::kind);
    const QDateTime now = Clock::current().now();
    if (m_settings->prepares() && (!m_lastRunEnded || m_lastRunEnded->msecsTo(now) > kPreparationGapSeconds * 1000)) {
        setPreparing(Preparing{mode, Preparation::body});
        m_preparationFlow->start(stepMs(Preparation::body));
        return;
    }
    beginEngine(mode);
}

void AppModel::beginEngine(Mode mode)
{
    const QStringList rounds = mode == Mode::rounds ? m_pendingRounds : QStringList();
    m_pendingRounds.clear();
    m_engine->begin(mode, false, rounds);
}

void AppModel::beginRounds(const QStringList &titles)
{
    QStringList cleaned;
    for (const QString &title : titles) {
        // QString::trimmed also takes the ideographic space and the Unicode line
        // and paragraph separators.
        const QString t = title.trimmed();
        if (!t.isEmpty())
            cleaned << t;
    }
    if (cleaned.isEmpty())
        return;
    m_pendingRounds = cleaned;
    begin(Mode::rounds);
}

void AppModel::runPreparationStep()
{
    // The timer only fires for the step it was armed for: skip and cancel
    // stop it, and each new step re-arms it.
    if (!m_preparing)
        return;
    advancePreparation();
    if (m_preparing)
        m_preparationFlow->start(stepMs(m_preparing->step));
}

void AppModel::advancePreparation()
{
    if (!m_preparing)
        return;
    const Preparing current = *m_preparing;
    switch (current.step) {
    case Preparation::body:
    case Preparation::breath:
        setPreparing(Preparing{current.mode,
                               current.step == Preparation::body ? Preparation::breath : Preparation::mind});
        if (m_settings->soundEnabled())
            ring(ChimeBell::inkin);
        break;
    case Preparation::mind:
        setPreparing(std::nullopt);
        m_preparationFlow->stop();
        beginEngine(current.mode);
        break;
    }
}

void AppModel::skipPreparation()
{
    if (!m_preparing)
        return;
    const Mode mode = m_preparing->mode;
    m_preparationFlow->stop();
    setPreparing(std::nullopt);
    beginEngine(mode);
}

void AppModel::cancelPreparation()
{
    m_preparationFlow->stop();
    setPreparing(std::nullopt);
}

void AppModel::endForQuit(Ending ending)
{
    if (m_ending)
        return;
    m_ending = true;
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    if (ending == Ending::quietly) {
        for (QObject *o : std::initializer_list<QObject *>{
                 this, m_engine.get(), m_store, &m_taskHub->local(), m_days, m_taskHub, m_calendarService,
                 m_calendarService->store(), m_settings, &m_settings->defaults(), m_defaults, m_sync.get()})
            if (o)
                quiet.push_back(std::make_unique<QSignalBlocker>(o));
    }
    cancelPreparation();
    // Nothing follows the run any more: its sound and its pending notices end
    // with the program.
    m_engine->onRunChanged = nullptr;
    if (m_engine->mode())
        m_engine->stop();
}

// MARK: recording finished phases

void AppModel::record(const SessionRecord &finished)
{
    SessionRecord r = finished;
    r.taskRef = taskRefForCurrentTitle();
    if (shouldSendToCalendar(r)) {
        r.calendarEventID =
            m_calendarService->write(r, m_settings->calendarIdentifier(), m_settings->calendarShowsTitle());
        if (!r.calendarEventID && !m_calendarService->lastError().isEmpty())
            showNotice(m_calendarService->lastError());
    } else if (m_settings->calendarEnabled() && m_calendarService->authorization() != CalendarAccess::FullAccess &&
               !m_didWarnAboutCalendar) {
        m_didWarnAboutCalendar = true;
        showNotice(L(QStringLiteral("カレンダーが許可されていないので、書き出せませんでした。設定から許可してください。")));
    }
    m_store->append(r);
    writeBackToTask(r);
}

std::optional<TaskRef> AppModel::taskRefForCurrentTitle() const
{
    const std::optional<TodoItem> selected = m_taskHub->selected();
    if (!selected)
        return std::nullopt;
    if (TaskTitle::same(m_engine->taskTitle(), selected->title))
        return selected->ref;
    return std::nullopt;
}

bool AppModel::shouldSendToCalendar(const SessionRecord &r) const
{
    return m_settings->calendarEnabled() && m_calendarService->authorization() == CalendarAccess::FullAccess &&
           (r.phase == Phase::focus || m_settings->recordBreaks());
}

void AppModel::writeBackToTask(const SessionRecord &r)
{
    if (r.phase != Phase::focus || !r.taskRef)
        return;
    const SessionStore::FocusSummary summary = m_store->focusSummary(*r.taskRef, r.start);
    if (summary.sessions < 1 && summary.minutes < 1)
        return;
    const TaskProgress progress{r.start, summary.sessions, summary.minutes};
    const TaskRef ref = *r.taskRef;
    if (m_ending) {
        m_taskHub->logProgress(progress, ref, [](bool) {});
        return;
    }
    QPointer<TaskHub> hub(m_taskHub);
    later([hub, progress, ref] {
        if (hub)
            hub->logProgress(progress, ref, [](bool) {});
    });
}

void AppModel::signal(Phase phase)
{
    if (m_settings->soundEnabled()) {
        const ChimeBell chosen = Chime::kind;
        if (phase == Phase::focus)
            ring(chosen);
        else
            ring(chosen == ChimeBell::temple || chosen == ChimeBell::small ? ChimeBell(ChimeBell::small) : chosen);
    }
    if (m_requestAttention)
        m_requestAttention();
    // The phase that ends the run is told by the run's own notice: a sit
    // with no walk after it is not sent off to walk.
    if (!m_engine->phaseAt(m_engine->stepIndex() + 1))
        return;
    QString body;
    switch (phase) {
    case Phase::focus:
        body = L(QStringLiteral("ひと区切りつきました。立って、歩きましょう。"));
        break;
    case Phase::shortBreak:
        body = L(QStringLiteral("経行はここまで。戻りましょう。"));
        break;
    case Phase::longBreak:
        body = L(QStringLiteral("十分に休みました。次の一巡へ。"));
        break;
    }
    m_notifier->postEnding(L(QStringLiteral("{0}を終えました"), phaseTitle(phase)), body);
}

void AppModel::signalPlanCompleted(Mode mode)
{
    const long long minutes = std::llround(m_engine->focusSecondsInRun() / 60.0);
    const QString body = minutes < 1 ? L(QStringLiteral("おつかれさまでした。"))
                                     : L(QStringLiteral("{0}分、向き合いました。"), minutes);
    m_notifier->postEnding(L(QStringLiteral("{0}を終えました"), ModeInfo::title(mode)), body);
}

void AppModel::updateAmbience(Phase phase, RunState state)
{
    Ambience &ambience = m_ambience ? *m_ambience : Ambience::shared();
    const auto scene = AmbienceScenes::fromRawValue(m_settings->ambienceScene()).value_or(AmbienceScene::bell);
    if (phase == Phase::focus && state == RunState::running && scene != AmbienceScene::silent) {
        ambience.start(scene, m_settings->ambienceVolume(), m_settings->customSoundURL());
        if (ambience.lastError())
            showNotice(*ambience.lastError());
        return;
    }
    ambience.stop();
}

// MARK: notices

void AppModel::updateScheduledNotice()
{
    const double remaining = m_engine->remaining();
    if (m_engine->state() == RunState::running && !m_engine->isOpenEnded() && remaining > 0.5) {
        const QString title = L(QStringLiteral("{0}を終えました"), phaseTitle(m_engine->phase()));
        const QString body = m_engine->taskTitle().isEmpty() ? L(QStringLiteral("ひと区切りです"))
                                                             : L(QStringLiteral("「{0}」"), m_engine->taskTitle());
        setScheduledEnd(
            ScheduledEnd{Clock::current().now().addMSecs(qint64(std::llround(remaining * 1000.0))), title});
        m_notifier->schedule(remaining, title, body);
        return;
    }
    setScheduledEnd(std::nullopt);
    // Scheduling nothing withdraws the pending phase-end notice.
    m_notifier->schedule(0, QString(), QString());
}

void AppModel::updatePlanNotices(const QDateTime &now)
{
    if (!m_settings->planNotices()) {
        // Both kinds go: the advance and the arrival notices.
        m_notifier->cancelPlanNotices();
        setPlanLists({}, {});
        return;
    }
    const QList<DayPlan> plans = m_days->note(now).plans;
    const bool running = m_engine->state() == RunState::running;
    const QList<PlanNotice::Item> advance = PlanNotice::upcoming(plans, now, now, running);
    const QList<PlanNotice::Item> arrivals = PlanNotice::arrivals(plans, now, now, running);
    setPlanLists(advance, arrivals);
    if (!advance.isEmpty() || !arrivals.isEmpty())
        m_notifier->requestAuthorizationIfNeeded();
    m_notifier->schedulePlanNotices(advance, arrivals, now, now);
}

void AppModel::applyDayPrompts()
{
    if (m_settings->dayPrompts())
        m_notifier->requestAuthorizationIfNeeded();
    m_notifier->scheduleDayPrompts(m_settings->morningHour(), m_settings->eveningHour(), m_settings->dayPrompts());
}

void AppModel::takePlan(const QUuid &planID, const QString &day)
{
    const std::optional<QDateTime> date = DayNote::dateOfKey(day);
    if (!date)
        return;
    for (const DayPlan &plan : m_days->note(*date).plans) {
        if (plan.id == planID) {
            take(plan);
            return;
        }
    }
}

// MARK: task operations around rounds

QList<TodoItem> AppModel::candidates() const
{
    return m_taskHub->items() + m_taskHub->dailyItems();
}

void AppModel::selectAndTitle(const std::optional<TodoItem> &item, const QString &title, bool stopFirst)
{
    if (stopFirst)
        m_engine->stop();
    m_taskHub->setSelected(item);
    m_engine->setTaskTitle(title);
    setTab(RootTab::pomodoro);
}

void AppModel::take(const TodoItem &item)
{
    selectAndTitle(item, item.title, m_engine->state() == RunState::finished);
}

void AppModel::take(const DayPlan &plan)
{
    if (plan.taskID) {
        for (const TodoItem &item : candidates()) {
            if (LocalTaskSource::localId(item.ref) == plan.taskID) {
                take(item);
                return;
            }
        }
    }
    selectAndTitle(std::nullopt, plan.title, m_engine->state() == RunState::finished);
}

QStringList AppModel::roundsToDwell() const
{
    if (m_engine->mode() != Mode::rounds)
        return {};
    // The run holds its titles trimmed; a task whose own title carries
    // blanks at its ends is still offered under the run's title.
    QStringList titles;
    const QList<TodoItem> open = candidates();
    for (const QString &title : m_engine->rounds()) {
        if (titles.contains(title))
            continue;
        if (std::any_of(open.begin(), open.end(), [&](const TodoItem &i) { return TaskTitle::same(i.title, title); }))
            titles << title;
    }
    return titles;
}

void AppModel::dwell(const QString &title)
{
    std::optional<TodoItem> found;
    for (const TodoItem &item : candidates()) {
        if (TaskTitle::same(item.title, title)) {
            found = item;
            break;
        }
    }
    selectAndTitle(found, title, true);
}

std::optional<TodoItem> AppModel::linkedTask() const
{
    const std::optional<TodoItem> selected = m_taskHub->selected();
    if (selected && TaskTitle::same(m_engine->taskTitle(), selected->title))
        return selected;
    return std::nullopt;
}

QString AppModel::pausedHelp() const
{
    QString help = L(QStringLiteral("手を離す＝ここまでにする"));
    if (linkedTask())
        help += L(QStringLiteral("　／　了とする＝この作務を終える"));
    return help;
}

void AppModel::completeSelectedTask()
{
    const std::optional<TodoItem> selected = m_taskHub->selected();
    if (!selected)
        return;
    const TodoItem item = *selected;
    QPointer<AppModel> self(this);
    later([self, item] {
        if (!self)
            return;
        self->m_taskHub->complete(item.ref, [self, item](bool ok) {
            if (!self)
                return;
            self->showNotice(ok ? L(QStringLiteral("「{0}」を完了にしました。"), item.title)
                                : L(QStringLiteral("完了にできませんでした。")));
        });
    });
}

// MARK: menu-bar title, ambience preview, update check

void AppModel::setClockInSight(ClockViewer viewer, bool inSight)
{
    if (inSight)
        m_clockViewers |= unsigned(viewer);
    else
        m_clockViewers &= ~unsigned(viewer);
    const unsigned fine = unsigned(ClockViewer::timerScreen) | unsigned(ClockViewer::trayMenu);
    m_engine->setTicks((m_clockViewers & fine)       ? PomodoroEngine::Ticks::fine
                       : m_clockViewers != 0          ? PomodoroEngine::Ticks::seconds
                                                      : PomodoroEngine::Ticks::stepEnd);
}

QString AppModel::menuBarTitle() const
{
    if (!m_engine->mode())
        return QStringLiteral("◯");
    if (m_engine->state() == RunState::finished)
        return L(QStringLiteral("◯ 済"));
    QString glyph;
    switch (m_engine->phase()) {
    case Phase::focus:
        glyph = QStringLiteral("◯");
        break;
    case Phase::shortBreak:
        glyph = QStringLiteral("·");
        break;
    case Phase::longBreak:
        glyph = QStringLiteral("‥");
        break;
    }
    const double remaining = m_engine->remaining();
    QString text = glyph + QLatin1Char(' ') +
                   (m_settings->showSecondsInMenuBar() ? ClockText::full(remaining) : ClockText::compact(remaining));
    if (m_engine->state() == RunState::paused)
        text += QStringLiteral(" ⏸");
    return text;
}

void AppModel::previewAmbience()
{
    if (m_previewingAmbience) {
        endAmbiencePreview();
        return;
    }
    Ambience &ambience = m_ambience ? *m_ambience : Ambience::shared();
    const auto scene = AmbienceScenes::fromRawValue(m_settings->ambienceScene()).value_or(AmbienceScene::bell);
    if (scene == AmbienceScene::silent) {
        ambience.stop();
        return;
    }
    ambience.preview(scene, m_settings->ambienceVolume(), m_settings->customSoundURL(), kPreviewSeconds);
    if (ambience.lastError()) {
        showNotice(*ambience.lastError());
        return;
    }
    setPreviewingAmbience(true);
    m_previewWatch->start(qint64(kPreviewSeconds * 1000));
}

void AppModel::ringChosenBell()
{
    ring(Chime::kind);
}

void AppModel::endAmbiencePreview()
{
    m_previewWatch->stop();
    setPreviewingAmbience(false);
    (m_ambience ? *m_ambience : Ambience::shared()).stop();
    updateAmbience(m_engine->phase(), m_engine->state());
}

QString AppModel::ambienceTitle() const
{
    const auto scene = AmbienceScenes::fromRawValue(m_settings->ambienceScene()).value_or(AmbienceScene::bell);
    if (scene != AmbienceScene::custom)
        return AmbienceScenes::title(scene);
    // Name the sound that plays: the stored one while the library holds it,
    // else the first of the library (as the settings' file lookup falls
    // back), so a removed file is never named while another one plays.
    const std::optional<QUrl> playing = m_settings->customSoundURL();
    if (!playing)
        return L(QStringLiteral("音源が未選択"));
    for (const AmbienceLibrary::Sound &sound : AmbienceLibrary::sounds())
        if (sound.url == *playing)
            return sound.name;
    return QFileInfo(playing->toLocalFile()).completeBaseName();
}

void AppModel::lookForNewVersion(std::function<void()> done)
{
    const QString here = m_version.isEmpty() ? QStringLiteral("0") : m_version;
    QPointer<AppModel> self(this);
    NewVersion::check(
        here, m_settings->lastLookedForVersionAt(), Clock::current().now(),
        [self, done](std::optional<NewVersion::Found> found) {
            if (self && found) {
                self->m_settings->setLastLookedForVersionAt(Clock::current().now());
                self->setNewVersion(found);
            }
            if (done)
                done();
        },
        m_updateFeed);
}

bool AppModel::showsSanshinFooter() const
{
    return m_tab != RootTab::pomodoro || !m_engine->mode();
}
