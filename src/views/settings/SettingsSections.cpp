#include "views/settings/SettingsSections.h"

#include "views/reading/Feedback.h"
#include "views/settings/AppearanceSection.h"
#include "views/settings/ArchiveSection.h"
#include "views/settings/BeginningSection.h"
#include "views/settings/CalendarSection.h"
#include "views/settings/CounselSection.h"
#include "views/settings/DayNoticesSection.h"
#include "views/settings/DevicesSection.h"
#include "views/settings/FeedbackSection.h"
#include "views/settings/MenuBarSection.h"
#include "views/settings/OfferingSection.h"
#include "views/settings/OtherDevicesSection.h"
#include "views/settings/ReadingSection.h"
#include "views/settings/RemindersSection.h"
#include "views/settings/SoundSection.h"
#include "views/settings/SweepSection.h"
#include "views/settings/VersionSection.h"

namespace SettingsSections {

SettingsSection *reading(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new ReadingSection(context, header, parent);
}

SettingsSection *beginning(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new BeginningSection(context, header, parent);
}

SettingsSection *sound(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new SoundSection(context, header, parent);
}

SettingsSection *appearance(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new AppearanceSection(context, header, parent);
}

SettingsSection *menuBar(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new MenuBarSection(context, header, parent);
}

SettingsSection *devices(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new DevicesSection(context, header, parent);
}

SettingsSection *dayNotices(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new DayNoticesSection(context, header, parent);
}

SettingsSection *calendar(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new CalendarSection(context, header, parent);
}

SettingsSection *reminders(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new RemindersSection(context, header, parent);
}

SettingsSection *sweep(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new SweepSection(context, header, parent);
}

SettingsSection *archive(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new ArchiveSection(context, header, parent);
}

SettingsSection *counsel(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new CounselSection(context, header, parent);
}

SettingsSection *feedback(const ViewContext &context, const QString &header, QWidget *parent)
{
    // No feedback address was built in: nowhere to send it, no row.
    return Feedback::offered() ? new FeedbackSection(context, header, parent) : nullptr;
}

SettingsSection *offering(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new OfferingSection(context, header, parent);
}

SettingsSection *otherDevices(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new OtherDevicesSection(context, header, parent);
}

SettingsSection *version(const ViewContext &context, const QString &header, QWidget *parent)
{
    return new VersionSection(context, header, parent);
}

} // namespace SettingsSections
