#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

// The feedback row: opens a prepared mail (subject, and a body that ends
// with the version and the system) in the user's mail program. When no
// program takes the link, the notice names the address to write to.
class FeedbackSection : public SettingsSection
{
    Q_OBJECT
public:
    FeedbackSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);

    void openFeedbackMail();

private:
    ViewContext m_context;
};
