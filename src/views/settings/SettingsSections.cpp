#include "views/settings/SettingsSections.h"

#include "views/settings/ArchiveSection.h"
#include "views/settings/CalendarSection.h"
#include "views/settings/CounselSection.h"
#include "views/settings/DevicesSection.h"

namespace SettingsSections {

// Sections whose rows are still to be built give nothing for now.

SettingsSection *reading(const ViewContext &, const QString &, QWidget *)
{
    return nullptr;
}

SettingsSection *beginning(const ViewContext &, const QString &, QWidget *)
{
    return nullptr;
}

SettingsSection *sound(const ViewContext &, const QString &, QWidget *)
{
    return nullptr;
}

SettingsSection *appearance(const ViewContext &, const QString &, QWidget *)
{
    return nullptr;
}

SettingsSection *menuBar(const ViewContext &, const QString &, QWidget *)
{
    return nullptr;
}

SettingsSection *devices(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new DevicesSection(context, header, parent);
}

SettingsSection *dayNotices(const ViewContext &, const QString &, QWidget *)
{
    return nullptr;
}

SettingsSection *calendar(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new CalendarSection(context, header, parent);
}

SettingsSection *reminders(const ViewContext &, const QString &, QWidget *)
{
    return nullptr;
}

SettingsSection *sweep(const ViewContext &, const QString &, QWidget *)
{
    return nullptr;
}

SettingsSection *archive(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new ArchiveSection(context, header, parent);
}

SettingsSection *counsel(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new CounselSection(context, header, parent);
}

SettingsSection *feedback(const ViewContext &, const QString &, QWidget *)
{
    return nullptr;
}

SettingsSection *offering(const ViewContext &, const QString &, QWidget *)
{
    return nullptr;
}

SettingsSection *otherDevices(const ViewContext &, const QString &, QWidget *)
{
    return nullptr;
}

SettingsSection *version(const ViewContext &, const QString &, QWidget *)
{
    return nullptr;
}

} // namespace SettingsSections
