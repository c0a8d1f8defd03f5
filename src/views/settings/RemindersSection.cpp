#include "views/settings/RemindersSection.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "platform/desktop/Desktop.h"
#include "sources/RemindersTaskSource.h"
#include "sources/TaskHub.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/settings/CalendarChoices.h"
#include "views/settings/SettingsStyle.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QVBoxLayout>

namespace {

// The first reminders folder that exists, where the user grants access.
std::optional<QString> remindersFolder(const RemindersTaskSource &reminders)
{
    for (const QString &folder : reminders.store().accountFolders())
        if (QFileInfo(folder).isDir())
            return folder;
    return std::nullopt;
}

} // namespace

RemindersSection::RemindersSection(const ViewContext &context, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.reminders"));
    QVBoxLayout *column = addColumn();

    m_refused = new QWidget;
    auto *refused = new QVBoxLayout(m_refused);
    refused->setContentsMargins(0, 0, 0, 0);
    refused->setSpacing(6);
    refused->addWidget(SettingsStyle::plainText(L("リマインダーへのアクセスが拒否されています。")));
    m_openFolder = SettingsStyle::button(L("フォルダを開く"), QStringLiteral("settings.reminders.openSettings"));
    connect(m_openFolder, &InkButton::clicked, this, [this] {
        if (m_context.snapshot)
            return;
        if (const std::optional<QString> folder = remindersFolder(m_context.model->taskHub().reminders()))
            m_context.desk().openFolder(*folder);
    });
    refused->addLayout(SettingsStyle::buttonRow({m_openFolder}));
    column->addWidget(m_refused);

    m_connected = new QWidget;
    m_connected->setObjectName(QStringLiteral("settings.reminders.connected"));
    auto *connected = new QHBoxLayout(m_connected);
    connected->setContentsMargins(0, 0, 0, 0);
    connected->addWidget(new TextBlock(L("カレンダーのフォルダの todo"), SettingsStyle::labelFont(), Tone{Kiv::Colour::ink}), 1);
    connected->addWidget(SettingsStyle::description(L("繋がっています")), 0, Qt::AlignVCenter);
    column->addWidget(m_connected);

    m_notYet = new QWidget;
    auto *notYet = new QVBoxLayout(m_notYet);
    notYet->setContentsMargins(0, 0, 0, 0);
    auto *connectButton = SettingsStyle::button(L("カレンダーのフォルダの todo と繋ぐ"), QStringLiteral("settings.reminders.connect"));
    connect(connectButton, &InkButton::clicked, this, &RemindersSection::connectReminders);
    notYet->addLayout(SettingsStyle::buttonRow({connectButton}));
    column->addWidget(m_notYet);

    column->addWidget(SettingsStyle::caption(
        L("繋いだ先の todo が一覧に混ざり、終えた時間がその todo の備考に戻ります。")));

    connect(&m_context.model->taskHub().reminders(), &RemindersTaskSource::authorizationChanged, this,
            &RemindersSection::refresh);
    refresh();
}

void RemindersSection::refresh()
{
    const RemindersTaskSource &reminders = m_context.model->taskHub().reminders();
    const CalendarChoices::Access access = CalendarChoices::access(reminders.authorization());
    m_refused->setVisible(access == CalendarChoices::Access::refused);
    m_connected->setVisible(access == CalendarChoices::Access::full);
    m_notYet->setVisible(access == CalendarChoices::Access::notYet);
    m_openFolder->setVisible(remindersFolder(reminders).has_value());
}

void RemindersSection::connectReminders()
{
    if (m_context.snapshot)
        return;
    // The list is refreshed after the answer, whatever it is.
    QPointer<TaskHub> hub(&m_context.model->taskHub());
    hub->reminders().requestAccess([hub](bool) {
        if (hub)
            hub->refresh();
    });
}
