#pragma once

#include "sync/SyncBundle.h"
#include "sync/SyncStore.h"
#include "sync/SyncWork.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class AppSettings;
class DayNoteStore;
class LocalTaskStore;
class SessionStore;

// Runs one sync of this device's data against a bundle store: downloads every
// stored bundle, refuses a newer format, merges them with the local history,
// tasks, day notes and shared settings, writes the result back into the
// stores (with their applying-remote flags set, so no new sync is scheduled)
// and uploads the merged bundle. Only one sync runs at a time.
//
// The long work runs on worker threads, so that the interface never waits:
// reading the copies and merging them with a snapshot of the local data, and
// afterwards encoding the store files and the bundle. The main thread takes
// the snapshot, takes in what changed locally meanwhile (merging once more,
// on a worker, when anything did), writes the result into the stores and
// applies the settings in one step.
//
// A store that could not list or fetch its copies fails the sync: nothing is
// merged, written or uploaded. A bundle of a newer version fails the sync
// before it is decoded. A copy that does not decode is left in the store,
// never overwritten or removed by this sync.
class SyncService : public QObject
{
    Q_OBJECT
    Q_PROPERTY(StateKind stateKind READ stateKind NOTIFY stateChanged)
    Q_PROPERTY(QDateTime doneAt READ doneAt NOTIFY stateChanged)
    Q_PROPERTY(QString failure READ failure NOTIFY stateChanged)
    Q_PROPERTY(bool isWorking READ isWorking NOTIFY stateChanged)
    Q_PROPERTY(QStringList lastPeers READ lastPeers NOTIFY lastPeersChanged)
    Q_PROPERTY(QString resultMessage READ resultMessage NOTIFY resultMessageChanged)

public:
    enum class StateKind { idle, working, done, failed };
    Q_ENUM(StateKind)

    // idle until the first sync; done carries its time, failed its text
    // (already in the interface language).
    struct State
    {
        StateKind kind = StateKind::idle;
        QDateTime at;
        QString text;

        bool operator==(const State &) const = default;
        static State done(const QDateTime &at) { return {StateKind::done, at, {}}; }
        static State failed(const QString &text) { return {StateKind::failed, {}, text}; }
    };

    // The stores and settings are shared, not owned; days may be null (then
    // day notes are neither read nor written back).
    SyncService(SessionStore &sessions, LocalTaskStore &tasks, AppSettings &settings,
                DayNoteStore *days = nullptr, QObject *parent = nullptr);

    // Starts one sync against the store, which is kept alive until the sync
    // ends. done (when given) is called once with true when the merged bundle
    // was stored (the store files are written by then), on the main thread;
    // not at all when this service is destroyed first. While a sync runs, a
    // new call changes nothing, calls done with false at once and returns
    // false; otherwise it returns true.
    bool sync(std::shared_ptr<SyncStore> store, std::function<void(bool)> done = {});

    State state() const { return m_state; }
    StateKind stateKind() const { return m_state.kind; }
    QDateTime doneAt() const { return m_state.at; }
    QString failure() const { return m_state.text; }
    bool isWorking() const { return m_state.kind == StateKind::working; }

    // The other devices whose bundles the last sync read, in text order.
    QStringList lastPeers() const { return m_lastPeers; }

    // The one-line (two-line when done) text for the settings window and the
    // notices.
    QString resultMessage() const;

signals:
    void stateChanged();
    void lastPeersChanged();
    void resultMessageChanged();

private:
    struct Run;
    SyncBundle localBundle() const;
    void loaded(const std::shared_ptr<Run> &run, const SyncLoad &load);
    void read(const std::shared_ptr<Run> &run, const SyncWork::Reading &reading);
    void takeIn(const std::shared_ptr<Run> &run);
    void writeBack(const std::shared_ptr<Run> &run);
    void upload(const std::shared_ptr<Run> &run);
    void uploaded(bool stored, const std::shared_ptr<Run> &run);
    void finish(const State &state, const std::shared_ptr<Run> &run);
    void setState(const State &state);
    void setLastPeers(const QStringList &peers);

    SessionStore &m_sessions;
    LocalTaskStore &m_tasks;
    AppSettings &m_settings;
    DayNoteStore *m_days;
    State m_state;
    QStringList m_lastPeers;
};
