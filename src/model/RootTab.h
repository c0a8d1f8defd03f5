#pragma once

#include <QList>
#include <QString>
#include <optional>

// The pages of the main window. Stored ("startTab") as the case name.
enum class RootTab { pomodoro, day, tasks, daily };

QString rawValue(RootTab tab);
std::optional<RootTab> rootTabFromRaw(const QString &raw);

// The tabs in their order on screen.
QList<RootTab> allRootTabs();
// The tab's name as a key of L (Japanese), also its glossary key, and the
// one-line gloss under the tab row; both as keys, looked up where shown.
QString titleKey(RootTab tab);
QString hintKey(RootTab tab);
