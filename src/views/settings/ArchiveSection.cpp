#include "views/settings/ArchiveSection.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "platform/desktop/Desktop.h"
#include "platform/time/Clock.h"
#include "sync/Archive.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/settings/SettingsStyle.h"

#include <QVBoxLayout>

ArchiveSection::ArchiveSection(const ViewContext &context, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.archive"));
    QVBoxLayout *column = addColumn();
    auto *exportButton = SettingsStyle::button(L("書き出す…"), QStringLiteral("settings.archive.export"));
    connect(exportButton, &InkButton::clicked, this, [this] { exportArchive(false); });
    auto *importButton = SettingsStyle::button(L("読み戻す…"), QStringLiteral("settings.archive.import"));
    connect(importButton, &InkButton::clicked, this, &ArchiveSection::importArchive);
    column->addLayout(SettingsStyle::buttonRow({exportButton, importButton}));
    // The form the advice caption below points to, for files handed to others.
    auto *hidden = SettingsStyle::button(L("題目を伏せて書き出す…"), QStringLiteral("settings.archive.exportHidden"));
    connect(hidden, &InkButton::clicked, this, [this] { exportArchive(true); });
    column->addLayout(SettingsStyle::buttonRow({hidden}));
    column->addWidget(SettingsStyle::caption(
        L("記録・作務・一日を、一枚のファイルにまとめます。\nGoogle とつないでいないときの機種変更や、下の「AI に聞いてもらう」に使います。\n読み戻しは入れ替えではなく突き合わせなので、古い控えを読んでも、いま手元にあるものは消えません。")));
}

void ArchiveSection::exportArchive(bool hidingTitles)
{
    if (m_context.snapshot)
        return;
    Desktop::FileQuestion question;
    question.message = hidingTitles ? L("題目を伏せて書き出します。時刻と長さはそのまま残ります。")
                                    : L("記録・作務・一日を、一枚にまとめて書き出します。");
    question.suggestedName = Archive::fileName(Clock::current().now(), hidingTitles);
    question.nameFilters = {Desktop::jsonFiles()};
    const std::optional<QString> path = m_context.desk().saveFile(question, window());
    if (!path)
        return;
    m_context.model->exportArchive(*path, hidingTitles);
}

void ArchiveSection::importArchive()
{
    if (m_context.snapshot)
        return;
    Desktop::FileQuestion question;
    question.message = L("書き出した控えを読み戻します。いま手元にあるものは消えません。");
    question.nameFilters = {Desktop::jsonFiles()};
    const std::optional<QString> path = m_context.desk().openFile(question, window());
    if (!path)
        return;
    m_context.model->importArchive(*path);
}
