#include "views/settings/VersionSection.h"

#include "core/BuildStamp.h"
#include "core/L.h"
#include "views/ink/TextBlock.h"
#include "views/settings/SettingsStyle.h"

#include <QVBoxLayout>

VersionSection::VersionSection(const ViewContext &, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
{
    setObjectName(QStringLiteral("settings.version"));
    QVBoxLayout *column = addColumn();
    column->setSpacing(4);
    auto *line = SettingsStyle::caption(BuildStamp::line());
    line->setObjectName(QStringLiteral("settings.version.line"));
    column->addWidget(line);
    auto *note = new TextBlock(L("通しは、どの台で版が上がっても増えます。"), SettingsStyle::captionFont(),
                               Tone{Kiv::Colour::inkGhost});
    note->setObjectName(QStringLiteral("settings.version.note"));
    column->addWidget(note);
}
