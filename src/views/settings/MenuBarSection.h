#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

class ToggleRow;

// The menu-bar row: whether the time left in the tray title shows seconds.
class MenuBarSection : public SettingsSection
{
    Q_OBJECT
public:
    MenuBarSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);

    void refresh();

private:
    ViewContext m_context;
    ToggleRow *m_seconds = nullptr;
};
