#include "sync/SyncService.h"

#include "core/AppSettings.h"
#include "core/KivJSON.h"
#include "core/L.h"
#include "platform/time/Clock.h"
#include "platform/files/Preferences.h"
#include "stores/DayMath.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "sync/SyncMerge.h"
#include "sync/SyncReport.h"

#include <QLocale>
#include <QPointer>
#include <QSet>
#include <algorithm>

namespace {

const QString kSettingsUnsent = QStringLiteral("settingsUnsent");

// A running merge: the merged lists with this device's name and the time.
SyncBundle mergedBundle(const SyncBundle &a, const SyncBundle &b)
{
    SyncBundle out;
    out.device = SyncBundle::deviceName();
    out.savedAt = Clock::current().now();
    out.records = SyncMerge::mergeRecords(a.records, b.records);
    out.tasks = SyncMerge::mergeTasks(a.tasks, b.tasks);
    out.days = SyncMerge::mergeDays(a.days, b.days);
    out.settings = SharedSettings::pick(a.settings, b.settings);
    return out;
}

QString clockTime(const QDateTime &at)
{
    const QTime time = at.toLocalTime().time();
    return Lang::isJapanese() ? QLocale(QLocale::Japanese, QLocale::Japan).toString(time, QStringLiteral("H:mm"))
                              : QLocale(QLocale::English, QLocale::UnitedStates).toString(time, QStringLiteral("h:mm AP"));
}

} // namespace

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
    QPointer<SyncService> self(this);
    store->loadAll([self, store, done](SyncLoad load) {
        if (self)
            self->merged(store, load, done);
        else if (done)
            done(false);
    });
    return true;
}

void SyncService::merged(const std::shared_ptr<SyncStore> &store, const SyncLoad &load,
                         const std::function<void(bool)> &done)
{
    // A store that could not see everything must not have its copies merged
    // or replaced: what it missed would be lost on upload.
    if (!load.ok) {
        finish(State::failed(store->lastError().value_or(L("向こうの控えが読めませんでした。"))), done);
        return;
    }

    const QString me = SyncBundle::deviceName();
    SyncBundle running = localBundle();
    QSet<QString> peers;
    std::optional<SharedSettings> remoteSettings;
    QStringList readCopies;
    for (const SyncCopy &copy : load.copies) {
        const std::optional<QJsonObject> top = SyncBundle::topLevel(copy.bytes);
        if (!top)
            continue;
        // A newer format is refused before anything of it is decoded: its
        // elements may mean something this version cannot know.
        if (SyncBundle::isNewerFormat(*top)) {
            finish(State::failed(SyncBundle::newerFormatRefusal()), done);
            return;
        }
        SyncBundle bundle;
        try {
            bundle = SyncBundle::decode(copy.bytes);
        } catch (const KivJSON::DecodeError &) {
            continue;
        }
        readCopies.append(copy.id);
        if (bundle.device != me)
            peers.insert(bundle.device);
        remoteSettings = SharedSettings::pick(remoteSettings, bundle.settings);
        running = mergedBundle(running, bundle);
    }

    QStringList peerList(peers.begin(), peers.end());
    std::sort(peerList.begin(), peerList.end(), DayMath::textLess);
    setLastPeers(peerList);

    if (!load.copies.isEmpty() && readCopies.isEmpty()) {
        finish(State::failed(L("向こうの控えが読めませんでした。")), done);
        return;
    }

    // Take in whatever changed locally while the download was on its way.
    SyncBundle result = mergedBundle(localBundle(), running);

    // A device whose settings were not changed since its last upload, or that
    // never synced, takes the newest settings found there as they are.
    const bool unsent = m_settings.defaults().boolean(kSettingsUnsent).value_or(false);
    bool force = false;
    if (remoteSettings && (!unsent || !m_settings.lastSyncedAt())) {
        result.settings = remoteSettings;
        force = true;
    }

    writeBack(result);
    if (result.settings)
        m_settings.apply(*result.settings, force);
    const QDateTime settingsStamp = m_settings.settingsChangedAt();

    QString why;
    const std::optional<QByteArray> bytes = result.encode(&why);
    if (!bytes) {
        const QString text = L("控えを包めませんでした（{0}）。", why);
        SyncReport::record(text, why);
        finish(State::failed(text), done);
        return;
    }

    QPointer<SyncService> self(this);
    store->save(*bytes, readCopies, [self, store, settingsStamp, done](bool stored) {
        if (self)
            self->uploaded(stored, store, settingsStamp, done);
        else if (done)
            done(false);
    });
}

void SyncService::writeBack(const SyncBundle &bundle)
{
    m_sessions.setApplyingRemote(true);
    m_tasks.setApplyingRemote(true);
    if (m_days)
        m_days->setApplyingRemote(true);
    m_sessions.setAllRecords(bundle.records);
    m_sessions.save();
    m_tasks.setAllTasks(bundle.tasks);
    m_tasks.save();
    if (m_days)
        m_days->replaceAll(bundle.days);
    m_sessions.setApplyingRemote(false);
    m_tasks.setApplyingRemote(false);
    if (m_days)
        m_days->setApplyingRemote(false);
}

void SyncService::uploaded(bool stored, const std::shared_ptr<SyncStore> &store, const QDateTime &settingsStamp,
                           const std::function<void(bool)> &done)
{
    if (!stored) {
        finish(State::failed(store->lastError().value_or(L("書き戻せませんでした。"))), done);
        return;
    }
    // A settings change made while the upload was on its way stays unsent.
    if (m_settings.settingsChangedAt() == settingsStamp)
        m_settings.defaults().setValue(kSettingsUnsent, false);
    const QDateTime now = Clock::current().now();
    m_settings.setLastSyncedAt(now);
    finish(State::done(now), done);
}

void SyncService::finish(const State &state, const std::function<void(bool)> &done)
{
    setState(state);
    if (done)
        done(state.kind == StateKind::done);
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
