#pragma once

#include <QByteArray>
#include <QtGlobal>

// Points the home, data, config, cache and state folders at root, so that a
// test or benchmark program never touches the user's real files.
inline void pointHomeAt(const QByteArray &root)
{
    qputenv("HOME", root);
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_CACHE_HOME", root + "/cache");
    qputenv("XDG_STATE_HOME", root + "/state");
}
