#include "views/settings/AppearanceSection.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "views/ink/TextBlock.h"
#include "views/settings/AppearanceChoices.h"
#include "views/settings/ChoiceRow.h"
#include "views/settings/PickerRow.h"
#include "views/settings/SettingsStyle.h"

#include <QVBoxLayout>

AppearanceSection::AppearanceSection(const ViewContext &context, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.appearance"));

    QVBoxLayout *sizes = addColumn();
    sizes->setSpacing(2);
    sizes->addWidget(new TextBlock(L("字の大きさ"), SettingsStyle::labelFont(), Tone{Kiv::Colour::ink}));
    const QList<AppearanceChoices::TextSize> choices = AppearanceChoices::textSizes();
    for (int i = 0; i < choices.size(); ++i) {
        auto *choice = new ChoiceRow(choices.at(i).label, SettingsStyle::captionFont(12.5),
                                     Tone{Kiv::Colour::indigo}, 12);
        choice->setObjectName(QStringLiteral("settings.appearance.textSize%1").arg(i));
        choice->setAccessibleDescription(L("字の大きさ"));
        const double value = choices.at(i).value;
        connect(choice, &ChoiceRow::clicked, this, [this, value] {
            if (!m_context.snapshot)
                m_context.model->settings().setTextScale(value);
        });
        sizes->addWidget(choice);
        m_sizes << choice;
    }

    QVBoxLayout *face = addColumn();
    m_face = new PickerRow(L("坐っているあいだ"));
    m_face->setObjectName(QStringLiteral("settings.appearance.face"));
    m_face->setOptions(AppearanceChoices::faceOptions());
    connect(m_face, &PickerRow::chosen, this, [this](const QString &tag) {
        if (const std::optional<FocusVisual> visual = focusVisualFromRaw(tag))
            m_context.model->settings().setFocusVisual(*visual);
    });
    face->addWidget(m_face);
    m_faceDescription = SettingsStyle::description(QString());
    m_faceDescription->setObjectName(QStringLiteral("settings.appearance.faceDescription"));
    face->addWidget(m_faceDescription);

    AppSettings &settings = m_context.model->settings();
    connect(&settings, &AppSettings::textScaleChanged, this, &AppearanceSection::refresh);
    connect(&settings, &AppSettings::focusVisualChanged, this, &AppearanceSection::refresh);
    refresh();
}

void AppearanceSection::refresh()
{
    const AppSettings &settings = m_context.model->settings();
    const std::optional<int> size = AppearanceChoices::textSizeIndex(settings.textScale());
    for (int i = 0; i < m_sizes.size(); ++i)
        m_sizes.at(i)->setChosen(size == i);
    m_face->setSelection(rawValue(settings.focusVisual()));
    m_faceDescription->setText(AppearanceChoices::faceDescription(settings.focusVisual()));
}
