#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

#include <QList>

class ChoiceRow;
class PickerRow;
class TextBlock;

// The appearance rows: the text size as a group of four choices (the
// shell rebuilds the screens at the new size), the face shown during a
// sitting and the line that describes it.
class AppearanceSection : public SettingsSection
{
    Q_OBJECT
public:
    AppearanceSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);

    void refresh();

private:
    ViewContext m_context;
    QList<ChoiceRow *> m_sizes;
    PickerRow *m_face = nullptr;
    TextBlock *m_faceDescription = nullptr;
};
