#include "views/settings/DayNoticesSection.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "views/ink/TextBlock.h"
#include "views/settings/PickerRow.h"
#include "views/settings/PromptHours.h"
#include "views/settings/SettingsStyle.h"
#include "views/settings/ToggleRow.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

DayNoticesSection::DayNoticesSection(const ViewContext &context, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.dayNotices"));

    QVBoxLayout *plans = addColumn();
    m_planNotices = new ToggleRow(L("置いた時刻の少し前に、そっと知らせる"), SettingsStyle::labelFont());
    m_planNotices->setObjectName(QStringLiteral("settings.dayNotices.planNotices"));
    connect(m_planNotices, &ToggleRow::toggled, this,
            [this](bool on) { m_context.model->settings().setPlanNotices(on); });
    plans->addWidget(m_planNotices);
    plans->addWidget(SettingsStyle::caption(PromptHours::planNoticeCaption()));

    QVBoxLayout *prompts = addColumn();
    m_dayPrompts = new ToggleRow(L("朝と暮れに、問いかけを届ける"), SettingsStyle::labelFont());
    m_dayPrompts->setObjectName(QStringLiteral("settings.dayNotices.dayPrompts"));
    connect(m_dayPrompts, &ToggleRow::toggled, this, [this](bool on) { m_context.model->settings().setDayPrompts(on); });
    prompts->addWidget(m_dayPrompts);

    m_hours = new QWidget;
    auto *hours = new QHBoxLayout(m_hours);
    hours->setContentsMargins(0, 0, 0, 0);
    hours->setSpacing(16);
    m_morning = new PickerRow(L("朝"));
    m_morning->setObjectName(QStringLiteral("settings.dayNotices.morningHour"));
    m_morning->setOptions(PromptHours::morning());
    connect(m_morning, &PickerRow::chosen, this,
            [this](const QString &hour) { m_context.model->settings().setMorningHour(hour.toInt()); });
    hours->addWidget(m_morning, 1);
    m_evening = new PickerRow(L("暮"));
    m_evening->setObjectName(QStringLiteral("settings.dayNotices.eveningHour"));
    m_evening->setOptions(PromptHours::evening());
    connect(m_evening, &PickerRow::chosen, this,
            [this](const QString &hour) { m_context.model->settings().setEveningHour(hour.toInt()); });
    hours->addWidget(m_evening, 1);
    prompts->addWidget(m_hours);
    prompts->addWidget(SettingsStyle::caption(
        L("朝は「今日、大切にすること」、暮れは「今日、心に残ったこと」。\n答えは一日の頁に書きます。")));

    AppSettings &settings = m_context.model->settings();
    for (auto sig : {&AppSettings::planNoticesChanged, &AppSettings::dayPromptsChanged,
                     &AppSettings::morningHourChanged, &AppSettings::eveningHourChanged})
        connect(&settings, sig, this, &DayNoticesSection::refresh);
    refresh();
}

void DayNoticesSection::refresh()
{
    const AppSettings &settings = m_context.model->settings();
    m_planNotices->setOn(settings.planNotices());
    m_dayPrompts->setOn(settings.dayPrompts());
    m_hours->setVisible(settings.dayPrompts());
    // An hour outside a list's range selects nothing there.
    m_morning->setSelection(PromptHours::tag(settings.morningHour()));
    m_evening->setSelection(PromptHours::tag(settings.eveningHour()));
}
