#pragma once

#include <QString>

class QWidget;
class SettingsSection;
struct ViewContext;

// One builder per section of the settings form, in the form's order. Each
// makes the section under the header the form gives it (empty: none), or
// gives nothing while the section's rows are not built yet; the form then
// leaves it out. A new section is added by making its builder return it:
// the form, its order and its headers stay as they are.
namespace SettingsSections {

using Builder = SettingsSection *(*)(const ViewContext &context, const QString &header, QWidget *parent);

// 1 "読みもの": glossary, the introduction again, caption.
SettingsSection *reading(const ViewContext &context, const QString &header, QWidget *parent);
// 2 "始め方": the preparation switch, caption.
SettingsSection *beginning(const ViewContext &context, const QString &header, QWidget *parent);
// 3 "音": bells, ambience scenes, the user's sounds, volume and preview.
SettingsSection *sound(const ViewContext &context, const QString &header, QWidget *parent);
// 4 "見た目": text size, the face shown during a sitting, its description.
SettingsSection *appearance(const ViewContext &context, const QString &header, QWidget *parent);
// 5 "トレイ": seconds in the tray's time left.
SettingsSection *menuBar(const ViewContext &context, const QString &header, QWidget *parent);
// 6 "端末をまたぐ": Google connection and sync.
SettingsSection *devices(const ViewContext &context, const QString &header, QWidget *parent);
// 7 "一日": plan notices, day prompts and their hours.
SettingsSection *dayNotices(const ViewContext &context, const QString &header, QWidget *parent);
// 8 "カレンダー": access, the calendars, recording.
SettingsSection *calendar(const ViewContext &context, const QString &header, QWidget *parent);
// 9 "手がけること": reminders.
SettingsSection *reminders(const ViewContext &context, const QString &header, QWidget *parent);
// 10 "四九日（しくにち）": the sweep.
SettingsSection *sweep(const ViewContext &context, const QString &header, QWidget *parent);
// 11 "控えを持ち出す": archive export and import.
SettingsSection *archive(const ViewContext &context, const QString &header, QWidget *parent);
// 12 "AI に聞いてもらう": the advice prompt.
SettingsSection *counsel(const ViewContext &context, const QString &header, QWidget *parent);
// 13 (no header): feedback.
SettingsSection *feedback(const ViewContext &context, const QString &header, QWidget *parent);
// 14 (no header): the offering row.
SettingsSection *offering(const ViewContext &context, const QString &header, QWidget *parent);
// 15 "ほかの台でも": other devices.
SettingsSection *otherDevices(const ViewContext &context, const QString &header, QWidget *parent);
// 16 (no header): the version.
SettingsSection *version(const ViewContext &context, const QString &header, QWidget *parent);

} // namespace SettingsSections
