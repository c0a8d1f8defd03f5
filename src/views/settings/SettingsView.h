#pragma once

#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSections.h"

#include <QList>
#include <QString>
#include <QWidget>

class QScrollArea;
class SettingsSection;

// The whole content of the settings window: one form of sections on the
// paper, in a fixed frame of 440 × 560 that scrolls. Each time it is shown
// it reads the calendar and reminders access afresh (a permission given or
// withdrawn meanwhile shows at once). Turning on the writing of finished
// rounds to a calendar asks for calendar access. The settings themselves
// are never copied: every section reads and writes the settings object.
class SettingsView : public QWidget
{
    Q_OBJECT
public:
    // One section of the form, in order: its object name, its header
    // (empty: none) and its builder.
    struct Entry
    {
        QString name;
        QString header;
        SettingsSections::Builder build;
    };
    static QList<Entry> entries();

    static constexpr int kWidth = 440;
    static constexpr int kHeight = 560;

    explicit SettingsView(const ViewContext &context, QWidget *parent = nullptr);

    // The built sections, in order, and one by its object name.
    const QList<SettingsSection *> &sections() const { return m_sections; }
    SettingsSection *section(const QString &name) const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    ViewContext m_context;
    QScrollArea *m_scroll = nullptr;
    QList<SettingsSection *> m_sections;
};
