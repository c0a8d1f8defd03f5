#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

class ToggleRow;

// The beginning rows: whether a sitting starts with the three preparation
// steps (body, breath, mind), and what that means.
class BeginningSection : public SettingsSection
{
    Q_OBJECT
public:
    BeginningSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);

    void refresh();

private:
    ViewContext m_context;
    ToggleRow *m_prepares = nullptr;
};
