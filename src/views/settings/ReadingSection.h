#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

// The reading rows: the glossary (raises the model's glossary request, the
// main window opens it), the introduction once more (marks it unseen, the
// main window shows it again), and a caption.
class ReadingSection : public SettingsSection
{
    Q_OBJECT
public:
    ReadingSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);

private:
    ViewContext m_context;
};
