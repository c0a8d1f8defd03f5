#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

// The version lines: version, release number and build time, and what the
// release number counts.
class VersionSection : public SettingsSection
{
    Q_OBJECT
public:
    VersionSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);
};
