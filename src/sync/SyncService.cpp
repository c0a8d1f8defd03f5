#include "sync/SyncService.h"

#include "core/AppSettings.h"
#include "core/Background.h"
#include "core/L.h"
#include "platform/time/Clock.h"
#include "platform/files/Preferences.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "sync/SyncReport.h"

#include <QLocale>
#include <QPointer>

namespace {

const QString kSettingsUnsent = QStringLiteral("settingsUnsent");

QString clockTime(const QDateTime &at)
{
    const QTime time = at.toLocalTime().time();
    return Lang::isJapanese() ? QLocale(QLocale::Japanese, QLocale::Japan).toString(time, QStringLiteral("H:mm"))
                              : QLocale(QLocale::English, QLocale::UnitedStates).toString(time, QStringLiteral("h:mm AP"));
}

// The merged bundle encoded, or why it could not be.
struct Encoded
{
    std::optional<QByteArray> bytes;
    QString why;
};

} // namespace

// One sync under way, from the download to the upload's answer.
struct SyncService::Run
{
    std::shared_ptr<SyncStore> store;
    std::function<void(bool)> done;
    // Whether the store had any copy at all.
    bool anyCopies = false;
    // What the copies gave: the names of those read, the newest settings
    // among them, and the local snapshot merged with all of them.
    QStringList readCopies;
    std::optional<SharedSettings> remoteSettings;
    SyncBundle running;
    // The local data the merged result was made from, and that result.
    SyncBundle snapshot;
    SyncBundle merged;
    // Written back, applied and encoded.
    QDateTime settingsStamp;
    Encoded encoded;
    // Background steps (store files, the bundle) still under way.
    int pending = 0;
};

SyncService::SyncService(SessionStore &sessions, LocalTaskStore &tasks, AppSettings &settings, DayNoteStore *days,
                         QObject *parent)
    : QObject(parent), m_sessions(sessions), m_tasks(tasks), m_settings(settings), m_days(days)
{
}

SyncBundle SyncService::localBundle() const
{
    SyncBundle b;
    b.device = SyncBundle::deviceName();
    b.savedAt = Clock::current().now();
    b.records = m_sessions.allRecords();
    b.tasks = m_tasks.allTasks();
    if (m_days)
        b.days = m_days->allNotes();
    b.settings = m_settings.shared();
    return b;
}

bool SyncService::sync(std::shared_ptr<SyncStore> store, std::function<void(bool)> done)
{
    if (isWorking() || !store) {
        if (done)
            done(false);
        return false;
    }
    setState(State{StateKind::working, {}, {}});
    auto run = std::make_shared<Run>();
    run->store = store;
    run->done = std::move(done);
    QPointer<SyncService> self(this);
    store->loadAll([self, run](SyncLoad load) {
        if (self)
            self->loaded(run, load);
        else if (run->done)
            run->done(false);
    });
    return true;
}

void SyncService::loaded(const std::shared_ptr<Run> &run, const SyncLoad &load)
{
    // A store that could not see everything must not have its copies merged
    // or replaced: what it missed would be lost on upload.
    if (!load.ok) {
        finish(State::failed(run->store->lastError().value_or(L("向こうの控えが読めませんでした。"))), run);
        return;
    }
    run->anyCopies = !load.copies.isEmpty();
    run->snapshot = localBundle();
    Background::run(
        this,
        [local = run->snapshot, copies = load.copies, me = SyncBundle::deviceName()] {
            return SyncWork::read(local, copies, me);
        },
        [this, run](const SyncWork::Reading &reading) { read(run, reading); });
}

void SyncService::read(const std::shared_ptr<Run> &run, const SyncWork::Reading &reading)
{
    if (reading.newerFormat) {
        finish(State::failed(SyncBundle::newerFormatRefusal()), run);
        return;
    }
    setLastPeers(reading.peers);
    if (run->anyCopies && reading.readCopies.isEmpty()) {
        finish(State::failed(L("向こうの控えが読めませんでした。")), run);
        return;
    }
    run->readCopies = reading.readCopies;
    run->remoteSettings = reading.remoteSettings;
    run->running = reading.running;
    run->merged = reading.merged;
    takeIn(run);
}

void SyncService::takeIn(const std::shared_ptr<Run> &run)
{
    // Whatever changed locally while the download and the merge were on their
    // way is taken in: the data as it stands now is merged with the copies
    // once more, on a worker, until a merge finds the data it started from.
    const SyncBundle fresh = localBundle();
    if (!SyncWork::sameData(fresh, run->snapshot)) {
        run->snapshot = fresh;
        Background::run(
            this, [fresh, running = run->running] { return SyncWork::takeIn(fresh, running); },
            [this, run](const SyncBundle &merged) {
                run->merged = merged;
                takeIn(run);
            });
        return;
    }
    writeBack(run);
}

void SyncService::writeBack(const std::shared_ptr<Run> &run)
{
    SyncBundle result = run->merged;
    result.device = SyncBundle::deviceName();
    result.savedAt = Clock::current().now();

    // A device whose settings were not changed since its last upload, or that
    // never synced, takes the newest settings found there as they are.
    const bool unsent = m_settings.defaults().boolean(kSettingsUnsent).value_or(false);
    bool force = false;
    if (run->remoteSettings && (!unsent || !m_settings.lastSyncedAt())) {
        result.settings = run->remoteSettings;
        force = true;
    }

    // The stores take the result at once, their change callbacks held off;
    // their files are encoded and written on workers.
    m_sessions.setApplyingRemote(true);
    m_tasks.setApplyingRemote(true);
    if (m_days)
        m_days->setApplyingRemote(true);
    m_sessions.setAllRecords(result.records);
    m_tasks.setAllTasks(result.tasks);
    if (m_days)
        m_days->setAllNotes(result.days);
    m_sessions.setApplyingRemote(false);
    m_tasks.setApplyingRemote(false);
    if (m_days)
        m_days->setApplyingRemote(false);

    if (result.settings)
        m_settings.apply(*result.settings, force);
    run->settingsStamp = m_settings.settingsChangedAt();

    // Uploads once the three files are written and the bundle is encoded.
    QPointer<SyncService> self(this);
    auto stepDone = [self, run] {
        if (self && --run->pending == 0)
            self->upload(run);
    };
    run->pending = m_days ? 4 : 3;
    m_sessions.saveInBackground(stepDone);
    m_tasks.saveInBackground(stepDone);
    if (m_days)
        m_days->saveInBackground(stepDone);
    Background::run(
        this,
        [result] {
            Encoded out;
            out.bytes = result.encode(&out.why);
            return out;
        },
        [run, stepDone](const Encoded &encoded) {
            run->encoded = encoded;
            stepDone();
        });
}

void SyncService::upload(const std::shared_ptr<Run> &run)
{
    if (!run->encoded.bytes) {
        const QString text = L("控えを包めませんでした（{0}）。", run->encoded.why);
        SyncReport::record(text, run->encoded.why);
        finish(State::failed(text), run);
        return;
    }
    QPointer<SyncService> self(this);
    run->store->save(*run->encoded.bytes, run->readCopies, [self, run](bool stored) {
        if (self)
            self->uploaded(stored, run);
        else if (run->done)
            run->done(false);
    });
}

void SyncService::uploaded(bool stored, const std::shared_ptr<Run> &run)
{
    if (!stored) {
        finish(State::failed(run->store->lastError().value_or(L("書き戻せませんでした。"))), run);
        return;
    }
    // A settings change made while the upload was on its way stays unsent.
    if (m_settings.settingsChangedAt() == run->settingsStamp)
        m_settings.defaults().setValue(kSettingsUnsent, false);
    const QDateTime now = Clock::current().now();
    m_settings.setLastSyncedAt(now);
    finish(State::done(now), run);
}

void SyncService::finish(const State &state, const std::shared_ptr<Run> &run)
{
    setState(state);
    if (run->done)
        run->done(state.kind == StateKind::done);
}

void SyncService::setState(const State &state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged();
    emit resultMessageChanged();
}

void SyncService::setLastPeers(const QStringList &peers)
{
    if (peers == m_lastPeers)
        return;
    m_lastPeers = peers;
    emit lastPeersChanged();
    emit resultMessageChanged();
}

QString SyncService::resultMessage() const
{
    switch (m_state.kind) {
    case StateKind::idle:
        return QString();
    case StateKind::working:
        return L("合わせています…");
    case StateKind::failed:
        return m_state.text;
    case StateKind::done:
        if (m_lastPeers.isEmpty())
            return L("合わせました（{0}）。\n向こうには、ほかの端末の控えがまだありません。", clockTime(m_state.at));
        return L("合わせました（{0}）。\n{1} と突き合わせました。", clockTime(m_state.at),
                 m_lastPeers.join(QStringLiteral("、")));
    }
    return QString();
}
