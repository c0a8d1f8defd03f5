#include "views/settings/MenuBarSection.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "views/settings/SettingsStyle.h"
#include "views/settings/ToggleRow.h"

MenuBarSection::MenuBarSection(const ViewContext &context, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.menuBar"));
    m_seconds = new ToggleRow(L("トレイの残り時間を秒まで出す"), SettingsStyle::labelFont());
    m_seconds->setObjectName(QStringLiteral("settings.menuBar.showSeconds"));
    connect(m_seconds, &ToggleRow::toggled, this,
            [this](bool on) { m_context.model->settings().setShowSecondsInMenuBar(on); });
    addRow(m_seconds);
    connect(&m_context.model->settings(), &AppSettings::showSecondsInMenuBarChanged, this, &MenuBarSection::refresh);
    refresh();
}

void MenuBarSection::refresh()
{
    m_seconds->setOn(m_context.model->settings().showSecondsInMenuBar());
}
