#pragma once

#include <QString>

class QTranslator;

// Qt's own texts in the interface language: a field's edit menu ("Undo",
// "Paste"), a file panel's labels and buttons, the standard buttons of a
// dialog. The program's own texts have their own table; these come from the
// translations Debian ships for Qt (qt6-translations-l10n), with the few
// texts that file lacks (a folder in the file panel's type column). Qt's
// texts are English already, so only Japanese needs a translation.
namespace ToolkitTexts {

// Where Qt's translations are installed.
QString installedFolder();

// Installs Qt's Japanese texts from `folder` when `japanese`; returns the
// installed translator (the application owns it; deleting it takes the texts
// away again), or null for English, or when the folder has no Japanese
// texts, which leaves Qt's English in place.
QTranslator *install(bool japanese, const QString &folder = installedFolder());

} // namespace ToolkitTexts
