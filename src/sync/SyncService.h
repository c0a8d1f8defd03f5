#pragma once

#include "sync/SyncBundle.h"
#include "sync/SyncStore.h"

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
    // was stored. While a sync runs, a new call changes nothing, calls done
    // with false at once and returns false; otherwise it returns true.
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
    SyncBundle localBundle() const;
    void merged(const std::shared_ptr<SyncStore> &store, const SyncLoad &load, const std::function<void(bool)> &done);
    void writeBack(const SyncBundle &bundle);
    void uploaded(bool stored, const std::shared_ptr<SyncStore> &store, const QDateTime &settingsStamp,
                  const std::function<void(bool)> &done);
    void finish(const State &state, const std::function<void(bool)> &done);
    void setState(const State &state);
    void setLastPeers(const QStringList &peers);

    SessionStore &m_sessions;
    LocalTaskStore &m_tasks;
    AppSettings &m_settings;
    DayNoteStore *m_days;
    State m_state;
    QStringList m_lastPeers;
};
