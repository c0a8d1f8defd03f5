#include "views/settings/DevicesSection.h"

#include "core/AppSettings.h"
#include "core/Kiv.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "platform/desktop/Desktop.h"
#include "sync/GoogleAuth.h"
#include "sync/SyncService.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/settings/SettingsStyle.h"
#include "views/settings/SyncRows.h"
#include "views/settings/ToggleRow.h"

#include <QPointer>
#include <QVBoxLayout>

DevicesSection::DevicesSection(const ViewContext &context, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.devices"));
    QVBoxLayout *column = addColumn();

    m_place = new ToggleRow(L("Google ドライブで合わせる"), SettingsStyle::labelFont());
    m_place->setObjectName(QStringLiteral("settings.devices.syncPlace"));
    connect(m_place, &ToggleRow::toggled, this, [this](bool on) {
        m_context.model->settings().setSyncPlace(on ? SyncPlace::drive : SyncPlace::none);
    });
    column->addWidget(m_place);
    m_notYet = SettingsStyle::caption(QString());
    m_notYet->setObjectName(QStringLiteral("settings.devices.notYet"));
    column->addWidget(m_notYet);
    column->addWidget(SettingsStyle::caption(
        L("アプリ専用の隠し棚に置きます。ご自分のほかの端末が、同じものを見ます。\nほかの人からは見えませんし、こちらにも届きません。\n開いたとき・書き換えたあと・一日などの頁を開いたときに、自動で合わせています。")));

    // Not connected: connect, the client file, the last sign-in error.
    m_notConnected = new QWidget;
    auto *notConnected = new QVBoxLayout(m_notConnected);
    notConnected->setContentsMargins(0, 0, 0, 0);
    notConnected->setSpacing(8);
    m_connect = SettingsStyle::button(L("Google と繋ぐ"), QStringLiteral("settings.devices.connect"));
    connect(m_connect, &InkButton::clicked, this, [this] {
        if (!m_context.snapshot)
            m_context.model->googleAuth().connect();
    });
    notConnected->addLayout(SettingsStyle::buttonRow({m_connect}));
    m_cannotConnect = SettingsStyle::caption(QString());
    m_cannotConnect->setObjectName(QStringLiteral("settings.devices.cannotConnect"));
    notConnected->addWidget(m_cannotConnect);
    m_loadClient = SettingsStyle::button(L("Google の設定ファイルを読み込む…"), QStringLiteral("settings.devices.loadClient"));
    connect(m_loadClient, &InkButton::clicked, this, &DevicesSection::loadGoogleClient);
    notConnected->addLayout(SettingsStyle::buttonRow({m_loadClient}));
    m_clientFile = SettingsStyle::caption(QString());
    m_clientFile->setObjectName(QStringLiteral("settings.devices.clientFile"));
    notConnected->addWidget(m_clientFile);
    m_error = SettingsStyle::errorText();
    m_error->setObjectName(QStringLiteral("settings.devices.error"));
    notConnected->addWidget(m_error);
    column->addWidget(m_notConnected);

    // Connected: sync now, disconnect, the line on the last sync.
    m_connected = new QWidget;
    auto *connected = new QVBoxLayout(m_connected);
    connected->setContentsMargins(0, 0, 0, 0);
    connected->setSpacing(8);
    m_sync = SettingsStyle::button(L("いま合わせる"), QStringLiteral("settings.devices.syncNow"));
    connect(m_sync, &InkButton::clicked, this, &DevicesSection::syncNow);
    m_disconnect = SettingsStyle::button(L("外す"), QStringLiteral("settings.devices.disconnect"));
    connect(m_disconnect, &InkButton::clicked, this, [this] {
        if (!m_context.snapshot)
            m_context.model->googleAuth().disconnect();
    });
    connected->addLayout(SettingsStyle::buttonRow({m_sync, m_disconnect}));
    m_stateNote = SettingsStyle::caption(QString());
    m_stateNote->setObjectName(QStringLiteral("settings.devices.stateNote"));
    connected->addWidget(m_stateNote);
    column->addWidget(m_connected);

    m_result = SettingsStyle::description(QString());
    m_result->setObjectName(QStringLiteral("settings.devices.result"));
    column->addWidget(m_result);

    AppModel &model = *m_context.model;
    connect(&model.settings(), &AppSettings::syncPlaceChanged, this, &DevicesSection::refresh);
    connect(&model.settings(), &AppSettings::lastSyncedAtChanged, this, &DevicesSection::refresh);
    GoogleAuth &auth = model.googleAuth();
    QObject::connect(&auth, &GoogleAuth::isConnectedChanged, this, &DevicesSection::refresh);
    QObject::connect(&auth, &GoogleAuth::isConnectingChanged, this, &DevicesSection::refresh);
    QObject::connect(&auth, &GoogleAuth::lastErrorChanged, this, &DevicesSection::refresh);
    connect(&model.sync(), &SyncService::stateChanged, this, &DevicesSection::refresh);
    refresh();
}

void DevicesSection::refresh()
{
    const SyncRows rows = SyncRows::of(*m_context.model);
    m_place->setOn(rows.showsGoogle);
    m_notYet->setText(rows.notYetNote);
    m_notYet->setVisible(!rows.notYetNote.isEmpty());
    m_notConnected->setVisible(rows.showsGoogle && !rows.connected);
    m_connected->setVisible(rows.showsGoogle && rows.connected);

    m_connect->setText(rows.connectLabel);
    m_connect->setEnabled(rows.canConnect);
    m_connect->setToolTip(rows.cannotConnectNote);
    m_connect->setAccessibleDescription(rows.cannotConnectNote);
    m_cannotConnect->setText(rows.cannotConnectNote);
    m_cannotConnect->setVisible(!rows.cannotConnectNote.isEmpty());
    m_loadClient->setVisible(rows.needsClientFile);
    m_clientFile->setText(rows.clientFileNote);
    m_clientFile->setVisible(!rows.clientFileNote.isEmpty());
    m_error->setText(rows.error);
    m_error->setVisible(!rows.error.isEmpty());

    m_sync->setEnabled(rows.canSync);
    m_stateNote->setText(rows.stateNote);

    m_result->setText(m_syncResult.value_or(QString()));
    m_result->setVisible(m_syncResult.has_value());
}

void DevicesSection::loadGoogleClient()
{
    if (m_context.snapshot)
        return;
    Desktop::FileQuestion question;
    question.message = L("client_secret_….json を選んでください");
    question.confirm = L("読み込む");
    question.nameFilters = {Desktop::jsonFiles()};
    const std::optional<QString> path = m_context.desk().openFile(question, window());
    if (!path)
        return;
    GoogleAuth &auth = m_context.model->googleAuth();
    if (auth.loadClient(*path)) {
        refresh();
        return;
    }
    m_context.model->showNotice(auth.lastError().isEmpty() ? L("読み込めませんでした。") : auth.lastError());
}

void DevicesSection::syncNow()
{
    if (m_context.snapshot)
        return;
    QPointer<DevicesSection> self(this);
    m_context.model->syncNow(true, [self](const QString &result) {
        if (!self)
            return;
        self->m_syncResult = result;
        self->refresh();
    });
}
