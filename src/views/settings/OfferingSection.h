#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

#include <QPointer>

#include "views/settings/FuseAlert.h"

// The offering row: the word and a button that shows the alert of thanks
// (nothing is paid). While the alert shows, the button opens no second one.
class OfferingSection : public SettingsSection
{
    Q_OBJECT
public:
    OfferingSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);

    void offer();
    bool showsFuse() const;
    FuseAlert *alert() const { return m_alert; }

private:
    ViewContext m_context;
    QPointer<FuseAlert> m_alert;
};
