#include "support/ScopedDirs.h"

#include "platform/files/AppPaths.h"
#include "platform/files/Preferences.h"

ScopedDirs::ScopedDirs()
    : m_oldData(qgetenv("XDG_DATA_HOME"))
    , m_oldConfig(qgetenv("XDG_CONFIG_HOME"))
{
    qputenv("XDG_DATA_HOME", (m_dir.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (m_dir.path() + QStringLiteral("/config")).toUtf8());
    Preferences::resetStandard();
    m_dataDir = AppPaths::dataDir();
    m_configDir = AppPaths::configDir();
}

ScopedDirs::~ScopedDirs()
{
    Preferences::resetStandard();
    qputenv("XDG_DATA_HOME", m_oldData);
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
}
