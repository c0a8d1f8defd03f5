#include "platform/desktop/ToolkitTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Qt's Japanese file as Debian ships it, with the few texts it lacks: the
// file panel's type column names a folder through a context that file does
// not know, so "Folder" stood in English among Japanese columns.
class JapaneseTexts : public QTranslator
{
public:
    using QTranslator::QTranslator;
    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override
    {
        QString text = QTranslator::translate(context, sourceText, disambiguation, n);
        if (!text.isEmpty() || qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return text;
        if (qstrcmp(sourceText, "Folder") == 0)
            return QStringLiteral("フォルダー");
        if (qstrcmp(sourceText, "Drive") == 0)
            return QStringLiteral("ドライブ");
        return text;
    }
};

} // namespace

namespace ToolkitTexts {

QString installedFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QTranslator *install(bool japanese, const QString &folder)
{
    if (!japanese)
        return nullptr;
    auto *translator = new JapaneseTexts(QCoreApplication::instance());
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
