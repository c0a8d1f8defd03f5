#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

// The rows of "take your data with you": export every record, task and day
// note into one file (whole, or with titles hidden for handing to someone
// else) and merge such a file back. Each press opens its own panel; the
// outcome is told as the model's notice.
class ArchiveSection : public SettingsSection
{
    Q_OBJECT
public:
    ArchiveSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);

    void exportArchive(bool hidingTitles);
    void importArchive();

private:
    ViewContext m_context;
};
