#include "views/settings/SettingsFixture.h"

#include "core/AppSettings.h"
#include "sound/AmbienceLibrary.h"
#include "support/ScopedAddresses.h"
#include "views/ink/StillPicture.h"
#include "views/ink/ThemeBinding.h"
#include "views/settings/FuseAlert.h"
#include "views/settings/SettingsSection.h"

#include <QComboBox>
#include <QFile>
#include <QScrollArea>
#include <QScrollBar>

namespace {

const QString kFolder = QStringLiteral(QUILLMERE_BUILD_DIR "/snapshots/settings");

struct SettingsViewTest : SettingsFixture
{
};

} // namespace

TEST_F(SettingsViewTest, TheSectionsStandInTheFormsOrderInAFixedFrameThatScrolls)
{
    ScopedAddresses addresses; // the feedback row shows only with an address
    build();
    EXPECT_EQ(view->size(), QSize(SettingsView::kWidth, SettingsView::kHeight));
    QStringList names;
    int lastTop = -1;
    for (SettingsSection *section : view->sections()) {
        names << section->objectName();
        EXPECT_GT(section->y(), lastTop) << "top to bottom in order";
        lastTop = section->y();
    }
    QStringList expected;
    for (const SettingsView::Entry &entry : SettingsView::entries())
        expected << QStringLiteral("settings.") + entry.name;
    EXPECT_EQ(names, expected) << "every section is present";
    EXPECT_EQ(names.size(), 16);
    EXPECT_EQ(view->section(QStringLiteral("calendar"))->header(), QStringLiteral("カレンダー"));
    // Longer than the frame: it scrolls rather than grows.
    auto *scroll = find<QScrollArea>(QStringLiteral("settings.scroll"));
    EXPECT_GT(scroll->widget()->height(), SettingsView::kHeight);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
}

TEST_F(SettingsViewTest, EveryControlHasItsNameAndIsReachedByTab)
{
    rig->settings.setCalendarEnabled(true);
    rig->settings.setSyncPlace(SyncPlace::drive);
    build();
    QSet<QWidget *> controls;
    for (QWidget *w : view->findChildren<QWidget *>()) {
        const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w);
        if (!control || !w->isVisibleTo(view.get()) || !w->isEnabled())
            continue;
        EXPECT_FALSE(w->accessibleName().isEmpty() && static_cast<QAbstractButton *>(w)->text().isEmpty())
            << w->objectName().toStdString();
        EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus) << w->objectName().toStdString();
        controls.insert(w);
    }
    EXPECT_GE(controls.size(), 12);
    // Walking the tab chain meets each of them.
    QSet<QWidget *> reached;
    QWidget *w = view.get();
    for (int i = 0; i < 400; ++i) {
        w = w->nextInFocusChain();
        if (controls.contains(w))
            reached.insert(w);
    }
    EXPECT_EQ(reached.size(), controls.size());
}

// Still pictures of each section and of the window, in Japanese and
// English, light and dark, at text scale 1.0 and 1.6, written to
// <build>/snapshots/settings for looking at.
TEST_F(SettingsViewTest, Pictures)
{
    ModelRigs::Rig::connectGoogle();
    CalendarInfo plans;
    plans.id = QStringLiteral("plans");
    plans.title = QStringLiteral("Ondrevel_予定");
    plans.accountTitle = QStringLiteral("me@example.org");
    plans.writable = true;
    rig->calendars.addCalendar(plans);
    rig->settings.setSyncPlace(SyncPlace::drive);
    rig->settings.setLastSyncedAt(QDateTime(QDate(2025, 3, 4), QTime(21, 40)));
    rig->settings.setCalendarEnabled(true);
    rig->settings.setPlanCalendarIdentifier(QStringLiteral("plans"));
    // The rows that come with a setting are shown: the hours of the day
    // prompts and the user's sounds of the custom scene, one of them chosen.
    rig->settings.setDayPrompts(true);
    rig->settings.setAmbienceScene(QStringLiteral("custom"));
    for (const QString &name : {QStringLiteral("般若心経.wav"), QStringLiteral("morning rain in the garden.flac")}) {
        const QString path = rig->dirs.root() + QLatin1Char('/') + name;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("RIFF");
        file.close();
        ASSERT_TRUE(AmbienceLibrary::add(path));
    }
    rig->settings.setCustomSoundName(QStringLiteral("般若心経"));
    model = &rig->build();

    using A = Kiv::Appearance;
    for (A appearance : {A::light, A::dark})
        for (double scale : {1.0, 1.6})
            for (bool japanese : {true, false}) {
                const StillPicture::Setting setting{appearance, scale, japanese, 1.0};
                StillPicture::Applied applied(setting);
                for (CalendarAccess access : {CalendarAccess::FullAccess, CalendarAccess::NotDetermined,
                                              CalendarAccess::Denied}) {
                    rig->calendars.setAuthorization(access);
                    model->calendarService().refreshAuthorization();
                    ViewContext context;
                    context.model = model;
                    context.desktop = &desk;
                    context.snapshot = true;
                    SettingsView still(context);
                    ThemeBinding::applyTo(&still);
                    still.adjustSize();
                    still.show();
                    QCoreApplication::processEvents();
                    still.resize(SettingsView::kWidth, still.heightForWidth(SettingsView::kWidth) > 0
                                                           ? still.heightForWidth(SettingsView::kWidth)
                                                           : still.sizeHint().height());
                    QCoreApplication::processEvents();
                    if (access == CalendarAccess::FullAccess) {
                        ASSERT_TRUE(StillPicture::save(StillPicture::grab(&still, setting.devicePixelRatio), kFolder,
                                                       QStringLiteral("form-") + setting.tag()));
                    }
                    for (SettingsSection *section : still.sections()) {
                        const QString name = section->objectName().section(QLatin1Char('.'), 1);
                        if (name != QStringLiteral("calendar") && access != CalendarAccess::FullAccess)
                            continue;
                        const QString suffix = name == QStringLiteral("calendar") && access != CalendarAccess::FullAccess
                                                   ? (access == CalendarAccess::Denied ? QStringLiteral("-refused")
                                                                                       : QStringLiteral("-notyet"))
                                                   : QString();
                        const QImage image = StillPicture::grab(section, setting.devicePixelRatio);
                        EXPECT_GT(image.height(), 40);
                        ASSERT_TRUE(StillPicture::save(image, kFolder, name + suffix + QLatin1Char('-') + setting.tag()));
                    }
                }
                // The offering alert.
                {
                    FuseAlert alert;
                    ThemeBinding::applyTo(&alert);
                    alert.show();
                    QCoreApplication::processEvents();
                    ASSERT_TRUE(StillPicture::save(StillPicture::grab(&alert, setting.devicePixelRatio), kFolder,
                                                   QStringLiteral("offering-alert-") + setting.tag()));
                }
                // The window as it opens.
                rig->calendars.setAuthorization(CalendarAccess::FullAccess);
                model->calendarService().refreshAuthorization();
                ViewContext context;
                context.model = model;
                context.desktop = &desk;
                SettingsView window(context);
                ThemeBinding::applyTo(&window);
                window.show();
                QCoreApplication::processEvents();
                ASSERT_TRUE(StillPicture::save(StillPicture::grab(&window, 1.0), kFolder,
                                               QStringLiteral("window-") + setting.tag()));
            }
}
