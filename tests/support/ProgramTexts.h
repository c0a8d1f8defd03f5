#pragma once

#include <QStringList>

// Every fixed text the program can show, in both languages: each Japanese
// key of the text table as Japanese readers see it (without its "|" word),
// each English text, and the texts kept in Japanese. The glossary, the
// introduction, the how-to page and the notices are all keys of the table.
namespace ProgramTexts {

QStringList japanese();
QStringList english();
QStringList all();

} // namespace ProgramTexts
