#include "views/settings/BeginningSection.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "views/ink/TextBlock.h"
#include "views/settings/SettingsStyle.h"
#include "views/settings/ToggleRow.h"

#include <QVBoxLayout>

BeginningSection::BeginningSection(const ViewContext &context, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.beginning"));
    QVBoxLayout *column = addColumn();
    m_prepares = new ToggleRow(L("始める前に、身・息・心を調える"), SettingsStyle::labelFont());
    m_prepares->setObjectName(QStringLiteral("settings.beginning.prepares"));
    connect(m_prepares, &ToggleRow::toggled, this, [this](bool on) { m_context.model->settings().setPrepares(on); });
    column->addWidget(m_prepares);
    column->addWidget(SettingsStyle::caption(
        L("進み方を選んだあと、調身・調息・調心を順に踏んでから走り出します。\n終えたばかりで次へ入るときは、まだ調っているので飛ばします。")));

    connect(&m_context.model->settings(), &AppSettings::preparesChanged, this, &BeginningSection::refresh);
    refresh();
}

void BeginningSection::refresh()
{
    m_prepares->setOn(m_context.model->settings().prepares());
}
