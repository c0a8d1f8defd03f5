// The mouse wheel over the settings window, as the desktop delivers it:
// over every control the page scrolls, and no preference changes.
#include "ShownApp.h"
#include "support/FocusWalk.h"
#include "support/RealInput.h"
#include "views/ink/WheelGuard.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScrollArea>
#include <QScrollBar>

namespace {

using WheelTest = ShownApp;

// The stored preferences as one text, so a difference reads in the message.
std::string stored(const Preferences &prefs)
{
    QJsonObject out;
    for (const QString &key : prefs.storedKeys())
        out.insert(key, prefs.value(key));
    return QJsonDocument(out).toJson(QJsonDocument::Compact).toStdString();
}

std::string saved(const Preferences &prefs)
{
    QFile file(prefs.filePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

TEST_F(WheelTest, ScrollingTheSettingsOverEveryControlChangesNoPreference)
{
    open();
    app->openSettings();
    QWidget *settings = app->window(QStringLiteral("settings"));
    ASSERT_TRUE(settings);
    activate(settings);
    auto *scroll = settings->findChild<QScrollArea *>();
    ASSERT_TRUE(scroll);
    QScrollBar *bar = scroll->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);

    const std::string before = stored(rig->prefs);
    const std::string file = saved(rig->prefs);
    QWidget *focus = QApplication::focusWidget();
    int values = 0, controls = 0;
    for (QWidget *w : scroll->widget()->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(settings) || !FocusWalk::isControl(w))
            continue;
        SCOPED_TRACE(FocusWalk::describe(w).toStdString());
        ++controls;
        values += WheelGuard::takesValue(w) ? 1 : 0;
        // The control in the middle of the page, the pointer over it.
        scroll->ensureWidgetVisible(w, 0, scroll->viewport()->height() / 2 - w->height() / 2);
        settle();
        const int at = bar->value();
        const QPoint pointer = RealInput::wheel(w, -1);
        settle();
        if (at < bar->maximum()) {
            EXPECT_GT(bar->value(), at) << "the page did not scroll";
        }
        RealInput::wheelAt(settings, pointer, 1); // the pointer kept still
        settle();
        EXPECT_EQ(bar->value(), at);
        EXPECT_EQ(QApplication::focusWidget(), focus) << "the wheel moved the focus";
        EXPECT_EQ(stored(rig->prefs), before);
    }
    EXPECT_GE(values, 5) << "drop-downs, the volume slider";
    EXPECT_GE(controls, 20);
    EXPECT_EQ(saved(rig->prefs), file) << "the preferences file was written";
}

} // namespace
