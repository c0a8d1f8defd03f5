// Escape and Ctrl+W close what a desktop user expects them to close: the
// settings, history and glossary windows, every sheet and popover; the
// main window stays.
#include "ShownApp.h"
#include "app/FooterBar.h"
#include "app/RootWorkspace.h"
#include "app/SheetDialog.h"
#include "support/RealInput.h"

#include <QDialog>
#include <functional>

namespace {

struct ClosingKeysTest : ShownApp
{
    void SetUp() override
    {
        ShownApp::SetUp();
        open();
    }
    RootWorkspace *workspace() const { return app->rootView()->workspace(); }
    // The sheet (a dialog of the main window) with that object name, shown.
    QWidget *sheet(const char *name) const
    {
        for (QDialog *d : main()->findChildren<QDialog *>(QString::fromLatin1(name)))
            if (d->isVisible())
                return d;
        return nullptr;
    }
};

TEST_F(ClosingKeysTest, EscapeAndCtrlWCloseWindowsSheetsAndPopovers)
{
    struct Surface
    {
        const char *what;
        std::function<QWidget *()> open; // opens it and returns it, shown and active
    };
    const Surface surfaces[] = {
        {"settings", [&] {
             app->openSettings();
             return app->window(QStringLiteral("settings"));
         }},
        {"history", [&] {
             app->openWindow(QStringLiteral("history"));
             return app->window(QStringLiteral("history"));
         }},
        {"glossary window", [&] {
             app->openWindow(QStringLiteral("glossary"));
             return app->window(QStringLiteral("glossary"));
         }},
        {"glossary sheet", [&] {
             workspace()->showGlossary();
             return static_cast<QWidget *>(workspace()->glossarySheet());
         }},
        {"how-to sheet", [&] {
             QTest::mouseClick(find("footer.howTo"), Qt::LeftButton);
             return static_cast<QWidget *>(workspace()->footer()->howToSheet());
         }},
        {"place picker", [&] {
             rig->model->setTab(RootTab::day);
             settle();
             auto *opening = find("day.opening");
             if (!opening)
                 return static_cast<QWidget *>(nullptr);
             QTest::mouseClick(opening, Qt::LeftButton);
             settle();
             return sheet("day.placePicker");
         }},
        {"task panel", [&] {
             rig->local.add(QStringLiteral("Mend the gate"));
             rig->model->setTab(RootTab::tasks);
             settle();
             QTest::mouseClick(find("tasks.row.name"), Qt::LeftButton);
             settle();
             return find("tasks.row.actionsPopover");
         }},
    };
    const std::pair<const char *, std::pair<Qt::Key, Qt::KeyboardModifiers>> keys[] = {
        {"Escape", {Qt::Key_Escape, Qt::NoModifier}},
        {"Ctrl+W", {Qt::Key_W, Qt::ControlModifier}},
    };
    for (const Surface &s : surfaces)
        for (const auto &[name, key] : keys) {
            SCOPED_TRACE(std::string(s.what) + ", " + name);
            QWidget *surface = s.open();
            ASSERT_TRUE(surface);
            settle();
            if (!(surface->windowFlags() & Qt::Popup))
                activate(surface);
            ASSERT_TRUE(surface->isVisible());
            RealInput::key(key.first, key.second);
            settle();
            EXPECT_FALSE(surface->isVisible());
            EXPECT_TRUE(main()->isVisible());
            activate(main());
        }

    // The main window is the program: neither key closes it.
    for (const auto &[name, key] : keys) {
        SCOPED_TRACE(name);
        main()->setFocus();
        RealInput::key(key.first, key.second);
        settle();
        EXPECT_TRUE(main()->isVisible());
    }
}

} // namespace
