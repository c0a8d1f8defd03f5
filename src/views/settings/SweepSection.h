#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

class TextBlock;

// The sweep rows: "Clear today" begins the sweep on any day and closes the
// settings window (the main window shows the sweep); the hint names the
// next sweep day, read afresh whenever the section is shown.
class SweepSection : public SettingsSection
{
    Q_OBJECT
public:
    SweepSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);

    void refresh();

protected:
    void showEvent(QShowEvent *event) override;

private:
    ViewContext m_context;
    TextBlock *m_hint = nullptr;
};
