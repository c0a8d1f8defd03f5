#include "model/AppModel.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "platform/files/DataFile.h"
#include "platform/time/Clock.h"
#include "sources/TaskHub.h"
#include "sync/Archive.h"
#include "sync/DriveBundleStore.h"
#include "sync/DriveSyncStore.h"
#include "sync/GoogleAuth.h"
#include "sync/SyncService.h"

#include <QPointer>

namespace {

// The Drive file for one sync: a Drive store of its own over the model's
// Google connection, gone with the sync that holds it.
class DriveRun : public SyncStore
{
public:
    DriveRun(GoogleAuth *auth, const DriveSyncConfig &config)
        : m_drive(new DriveSyncStore(auth, config))
        , m_bundle(*m_drive)
    {
    }
    ~DriveRun() override
    {
        // The last answer of a sync may arrive from inside the Drive store's
        // own reply handling; it is deleted once that has unwound.
        m_drive->deleteLater();
    }

    void loadAll(std::function<void(SyncLoad)> done) override { m_bundle.loadAll(std::move(done)); }
    void save(const QByteArray &bytes, const QStringList &replaceable, std::function<void(bool)> done) override
    {
        m_bundle.save(bytes, replaceable, std::move(done));
    }
    std::optional<QString> lastError() const override { return m_bundle.lastError(); }

private:
    DriveSyncStore *m_drive;
    DriveBundleStore m_bundle;
};

} // namespace

std::shared_ptr<SyncStore> AppModel::syncStore(bool quiet)
{
    if (m_settings->syncPlace() == SyncPlace::none) {
        if (!quiet)
            showNotice(L(QStringLiteral("合わせない設定になっています。")));
        return nullptr;
    }
    if (!m_googleAuth->isConnected()) {
        if (!quiet)
            showNotice(L(QStringLiteral("先に Google と繋いでください。")));
        return nullptr;
    }
    if (m_syncStoreFactory)
        return m_syncStoreFactory();
    return std::make_shared<DriveRun>(m_googleAuth, m_driveConfig);
}

void AppModel::syncSoon(double afterSeconds)
{
    if (m_settings->syncPlace() == SyncPlace::none || !m_googleAuth->isConnected()) {
        tellIfDisconnected();
        return;
    }
    // Restarting the timer drops the sync scheduled before: a burst of
    // changes gives one sync, afterSeconds after the last of them.
    m_pushSoon->start(qint64(afterSeconds * 1000.0));
}

void AppModel::syncNow(bool quiet, std::function<void(QString)> done)
{
    if (m_syncing) {
        if (done)
            done(L(QStringLiteral("いま合わせています。")));
        return;
    }
    m_syncing = true;
    m_lastQuietSyncAt = Clock::current().now();
    const std::shared_ptr<SyncStore> store = syncStore(quiet);
    if (!store) {
        m_syncing = false;
        if (done)
            done(L(QStringLiteral("合わせ先が決まっていません。")));
        return;
    }
    QPointer<AppModel> self(this);
    m_sync->sync(store, [self, quiet, done](bool ok) {
        if (self)
            self->syncEnded(ok, quiet, done);
    });
}

void AppModel::syncEnded(bool ok, bool quiet, const std::function<void(QString)> &done)
{
    const QDateTime now = Clock::current().now();
    if (ok) {
        m_taskHub->reload();
        resolveCalendarNames();
        if (!quiet)
            showNotice(L(QStringLiteral("合わせました。")));
    } else if (m_sync->stateKind() == SyncService::StateKind::failed) {
        const bool toldLately =
            m_lastFailureToldAt && m_lastFailureToldAt->msecsTo(now) <= kFailureQuietSeconds * 1000;
        if (!(quiet && toldLately)) {
            m_lastFailureToldAt = now;
            showNotice(m_sync->failure());
        }
    }
    const QString result = m_sync->resultMessage();
    m_syncing = false;
    if (done)
        done(result);
}

void AppModel::syncIfStale(double withinSeconds, std::function<void(bool)> done)
{
    const QDateTime now = Clock::current().now();
    const bool stale = m_settings->syncPlace() == SyncPlace::drive && m_googleAuth->isConnected() &&
                       (!m_lastQuietSyncAt || m_lastQuietSyncAt->msecsTo(now) >= qint64(withinSeconds * 1000.0));
    if (!stale) {
        if (done)
            done(false);
        return;
    }
    m_lastQuietSyncAt = now;
    syncNow(true, [done](const QString &) {
        if (done)
            done(true);
    });
}

void AppModel::tellIfDisconnected()
{
    if (m_settings->syncPlace() != SyncPlace::drive || m_googleAuth->isConnected() || m_toldDisconnected ||
        !m_settings->lastSyncedAt())
        return;
    m_toldDisconnected = true;
    ClockTimer::singleShot(kDisconnectedNoticeMs, this, [this] {
        showNotice(L(QStringLiteral("Google との繋がりが切れています。設定の「端末をまたぐ」から繋ぎ直してください。")));
    });
}

bool AppModel::importArchive(const QString &path)
{
    QString error;
    const std::optional<Archive::Restored> restored =
        Archive::restoreFile(path, *m_store, m_taskHub->local(), *m_days, &error);
    if (!restored) {
        showNotice(error);
        return false;
    }
    m_taskHub->reload();
    showNotice(Archive::summary(*restored));
    return true;
}

bool AppModel::exportArchive(const QString &path, bool hidingTitles)
{
    QString error;
    const std::optional<QByteArray> bytes = Archive::data(*m_store, m_taskHub->local(), *m_days, hidingTitles, &error);
    if (!bytes || !DataFile::writeAtomically(path, *bytes, false, &error)) {
        showNotice(L("書き出せませんでした: {0}", error));
        return false;
    }
    showNotice(hidingTitles ? L("題目を伏せて書き出しました。") : L("書き出しました。"));
    return true;
}
