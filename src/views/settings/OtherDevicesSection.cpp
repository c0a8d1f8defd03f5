#include "views/settings/OtherDevicesSection.h"

#include "platform/desktop/Desktop.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/reading/HowTo.h"
#include "views/settings/SettingsStyle.h"

#include <QVBoxLayout>

OtherDevicesSection::OtherDevicesSection(const ViewContext &context, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.otherDevices"));
    QVBoxLayout *column = addColumn();
    column->addWidget(SettingsStyle::description(HowTo::devices()));
    // The link only where the build names a web page.
    if (HowTo::siteURL().isEmpty())
        return;
    auto *site = SettingsStyle::link(HowTo::siteLink(), QStringLiteral("settings.otherDevices.site"));
    connect(site, &InkButton::clicked, this, [this] {
        const QUrl url = HowTo::siteURL();
        if (!m_context.snapshot && url.isValid())
            m_context.desk().openUrl(url);
    });
    column->addLayout(SettingsStyle::buttonRow({site}));
}
