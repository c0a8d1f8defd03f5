#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

#include "platform/time/Clock.h"

class InkButton;

// The rows of "ask an AI": a button that copies the request text for an AI
// chat assistant to the clipboard and reads "Copied" (and cannot be pressed)
// for 2 s afterwards; the caption points to the export with titles hidden.
class CounselSection : public SettingsSection
{
    Q_OBJECT
public:
    static constexpr int kCopiedMs = 2000;

    CounselSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);

    void copyPrompt();
    bool copiedPrompt() const { return m_copied; }

private:
    void setCopied(bool copied);

    ViewContext m_context;
    InkButton *m_copy = nullptr;
    ClockTimer m_revert;
    bool m_copied = false;
};
