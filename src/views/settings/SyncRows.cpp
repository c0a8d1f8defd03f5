#include "views/settings/SyncRows.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "sync/GoogleAuth.h"

#include <QLocale>

SyncRows SyncRows::of(const AppModel &model)
{
    const GoogleAuth &auth = model.googleAuth();
    const std::optional<QString> client = auth.clientID();
    const bool hasClient = client && !client->isEmpty();

    SyncRows rows;
    rows.showsGoogle = model.settings().syncPlace() == SyncPlace::drive;
    rows.connected = auth.isConnected();
    rows.connectLabel = auth.isConnecting() ? L("ブラウザで許可を待っています…") : L("Google と繋ぐ");
    rows.canConnect = !auth.isConnecting() && hasClient;
    rows.needsClientFile = !hasClient;
    if (rows.showsGoogle && !rows.connected)
        rows.notYetNote = L("Google のアカウントと繋ぐまでは、何も合わせません。");
    if (!hasClient) {
        rows.cannotConnectNote = L("繋ぐには、先に Google の設定ファイルを読み込みます。");
        rows.clientFileNote =
            L("Google Cloud コンソールで種類を「デスクトップ アプリ」にした OAuth クライアントを作り、そのファイル（client_secret_….json）をダウンロードして読み込みます。");
    }
    rows.error = auth.lastError();
    rows.canSync = !model.sync().isWorking();
    rows.stateNote = stateNoteFor(model.sync().state(), model.settings().lastSyncedAt());
    return rows;
}

QString SyncRows::stateNoteFor(const SyncService::State &state, const std::optional<QDateTime> &lastSyncedAt)
{
    if (state.kind == SyncService::StateKind::working)
        return L("合わせています…");
    const std::optional<QDateTime> at =
        state.kind == SyncService::StateKind::done && state.at.isValid() ? std::optional<QDateTime>(state.at)
                                                                          : lastSyncedAt;
    if (!at || !at->isValid())
        return L("まだ一度も合わせていません。");
    const QDateTime local = at->toLocalTime();
    const QString when = Lang::isJapanese()
                             ? QLocale(QLocale::Japanese, QLocale::Japan).toString(local, QStringLiteral("M月d日 H:mm"))
                             : QLocale(QLocale::English, QLocale::UnitedStates).toString(local, QStringLiteral("MMM d, h:mm AP"));
    return L("最後に合わせたのは {0}", when);
}
