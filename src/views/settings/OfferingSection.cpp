#include "views/settings/OfferingSection.h"

#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/reading/Fuse.h"
#include "views/settings/FuseAlert.h"
#include "views/settings/SettingsStyle.h"

#include <QHBoxLayout>

OfferingSection::OfferingSection(const ViewContext &context, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.offering"));
    auto *row = new QWidget;
    auto *line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(12);
    line->addWidget(new TextBlock(Fuse::word(), SettingsStyle::labelFont(), Tone{Kiv::Colour::ink}), 1,
                    Qt::AlignVCenter);
    auto *offer = SettingsStyle::button(Fuse::offerButton(), QStringLiteral("settings.offering.offer"));
    offer->setAccessibleDescription(Fuse::word());
    connect(offer, &InkButton::clicked, this, &OfferingSection::offer);
    line->addWidget(offer, 0, Qt::AlignVCenter);
    addRow(row);
}

bool OfferingSection::showsFuse() const
{
    return m_alert && m_alert->isVisible();
}

void OfferingSection::offer()
{
    if (m_context.snapshot || showsFuse())
        return;
    if (!m_alert) {
        m_alert = new FuseAlert(window());
        m_alert->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_alert->open();
}
