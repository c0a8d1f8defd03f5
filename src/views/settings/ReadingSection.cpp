#include "views/settings/ReadingSection.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/settings/SettingsStyle.h"

#include <QVBoxLayout>

ReadingSection::ReadingSection(const ViewContext &context, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.reading"));
    QVBoxLayout *column = addColumn();
    auto *glossary = SettingsStyle::button(L("言葉のしおり"), QStringLiteral("settings.reading.glossary"));
    connect(glossary, &InkButton::clicked, this, [this] {
        if (!m_context.snapshot)
            m_context.model->setGlossaryRequest(m_context.model->glossaryRequest() + 1);
    });
    column->addLayout(SettingsStyle::buttonRow({glossary}));
    auto *intro = SettingsStyle::button(L("初めの三枚を、もう一度"), QStringLiteral("settings.reading.intro"));
    connect(intro, &InkButton::clicked, this, [this] {
        if (!m_context.snapshot)
            m_context.model->settings().setHasSeenIntro(false);
    });
    column->addLayout(SettingsStyle::buttonRow({intro}));
    column->addWidget(SettingsStyle::caption(
        L("この app が何のためのものかを、三枚だけ。言葉のしおりは、頁の上の読みを押しても開きます。")));
}
