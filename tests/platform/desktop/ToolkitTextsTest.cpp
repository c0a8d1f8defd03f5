// Qt's own texts follow the interface language: in Japanese a field's edit
// menu is Japanese; in English, or where Qt's translations are not
// installed, Qt's English stays.
#include "platform/desktop/ToolkitTexts.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The texts of a field's own edit menu, without the separators.
QStringList editMenuTexts()
{
    QLineEdit field;
    field.setText(QStringLiteral("draft"));
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList texts;
    for (const QAction *action : menu->actions())
        if (!action->isSeparator())
            texts << action->text();
    return texts;
}

bool hasJapanese(const QString &text)
{
    for (const QChar c : text)
        if (c.script() == QChar::Script_Katakana || c.script() == QChar::Script_Hiragana
            || c.script() == QChar::Script_Han)
            return true;
    return false;
}

} // namespace

TEST(ToolkitTexts, JapaneseEditMenuAndFileButtons)
{
    const QStringList english = editMenuTexts();
    ASSERT_TRUE(english.contains(QStringLiteral("&Undo\tCtrl+Z"))) << english.join(u'|').toStdString();

    std::unique_ptr<QTranslator> translator(ToolkitTexts::install(true));
    ASSERT_NE(translator, nullptr) << "Qt's translations (qt6-translations-l10n) are not in "
                                   << ToolkitTexts::installedFolder().toStdString();
    const QStringList japanese = editMenuTexts();
    ASSERT_EQ(japanese.size(), english.size());
    for (const QString &text : japanese)
        EXPECT_TRUE(hasJapanese(text)) << text.toStdString();
    EXPECT_TRUE(hasJapanese(QCoreApplication::translate("QFileDialog", "Look in:")));
    EXPECT_TRUE(hasJapanese(QCoreApplication::translate("QPlatformTheme", "Cancel")));
    // The file panel's type column, which Debian's file leaves in English.
    EXPECT_EQ(QFileIconProvider().type(QFileInfo(QDir::tempPath())), QStringLiteral("フォルダー"));

    // Deleting the translator takes its texts away again.
    translator.reset();
    EXPECT_EQ(editMenuTexts(), english);
}

TEST(ToolkitTexts, EnglishOrNoTranslationsLeaveQtsEnglish)
{
    const QStringList english = editMenuTexts();
    EXPECT_EQ(ToolkitTexts::install(false), nullptr);

    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    EXPECT_EQ(ToolkitTexts::install(true, empty.path()), nullptr);
    EXPECT_EQ(ToolkitTexts::install(true, empty.path() + QStringLiteral("/missing")), nullptr);
    EXPECT_EQ(editMenuTexts(), english);
}
