#include "platform/desktop/ToolkitTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ToolkitTexts {

QString installedFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QTranslator *install(bool japanese, const QString &folder)
{
    if (!japanese)
        return nullptr;
    auto *translator = new QTranslator(QCoreApplication::instance());
    // qtbase_ja.qm: the widgets' and the dialogs' texts. The file is mapped,
    // not read, so this costs the start next to nothing.
    if (!translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"), folder)
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

} // namespace ToolkitTexts
