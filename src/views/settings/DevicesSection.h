#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

#include <optional>

class InkButton;
class TextBlock;
class ToggleRow;

// The rows of the "across devices" section: whether history, tasks and day
// notes travel through Google Drive, the Google connection (the user's own
// OAuth client file, connect, disconnect), a sync by hand and when the
// last one succeeded. What shows follows SyncRows; the result of the last
// sync started here stays under the rows while the window lives.
class DevicesSection : public SettingsSection
{
    Q_OBJECT
public:
    DevicesSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);

    void refresh();
    // The text the last sync started here gave.
    std::optional<QString> syncResult() const { return m_syncResult; }

private:
    void loadGoogleClient();
    void syncNow();

    ViewContext m_context;
    ToggleRow *m_place = nullptr;
    QWidget *m_notConnected = nullptr;
    TextBlock *m_notYet = nullptr;
    InkButton *m_connect = nullptr;
    TextBlock *m_cannotConnect = nullptr;
    InkButton *m_loadClient = nullptr;
    TextBlock *m_clientFile = nullptr;
    TextBlock *m_error = nullptr;
    QWidget *m_connected = nullptr;
    InkButton *m_sync = nullptr;
    InkButton *m_disconnect = nullptr;
    TextBlock *m_stateNote = nullptr;
    TextBlock *m_result = nullptr;
    std::optional<QString> m_syncResult;
};
