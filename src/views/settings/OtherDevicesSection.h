#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

// The other-devices rows: that the same app runs elsewhere too, and a link
// to the maker's web page.
class OtherDevicesSection : public SettingsSection
{
    Q_OBJECT
public:
    OtherDevicesSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);

private:
    ViewContext m_context;
};
