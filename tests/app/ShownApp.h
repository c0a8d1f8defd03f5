#pragma once

#include "app/PaperWindow.h"
#include "app/QuillmereApp.h"
#include "app/RootView.h"
#include "core/AppSettings.h"
#include "model/ModelRig.h"
#include "platform/fakes/FakeDesktop.h"
#include "views/ViewTest.h"

#include <QApplication>
#include <QTest>
#include <memory>

// The program's windows over a model rig, the main window shown at its
// ideal size and active, as a user meets it: for tests that drive the
// real window with real input.
struct ShownApp : ViewTest
{
    std::unique_ptr<ModelRigs::Rig> rig = std::make_unique<ModelRigs::Rig>();
    FakeDesktop desk;
    std::unique_ptr<QuillmereApp> app;

    // Builds the model (prepare the rig first) and shows the main window.
    void open()
    {
        rig->settings.setHasSeenIntro(true);
        rig->build();
        ViewContext context;
        context.model = rig->model.get();
        context.desktop = &desk;
        app = std::make_unique<QuillmereApp>(context);
        app->openWindow(QStringLiteral("timer"));
        app->mainWindow()->resize(RootView::kIdealSize);
        activate(app->mainWindow());
    }
    void TearDown() override
    {
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        app.reset();
        rig.reset();
        ViewTest::TearDown();
    }
    static void activate(QWidget *window)
    {
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window))
            QApplication::setActiveWindow(window);
        settle();
    }
    // Lets queued work (rebuilds, deferred deletes) run.
    static void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QCoreApplication::processEvents();
    }
    // Time passing on the rig's clock, events running meanwhile.
    void pause(int ms)
    {
        rig->clock.advance(ms);
        settle();
    }
    PaperWindow *main() const { return app->mainWindow(); }
    template<typename T = QWidget>
    T *find(const char *name, QWidget *in = nullptr) const
    {
        return (in ? in : static_cast<QWidget *>(main()))->findChild<T *>(QString::fromLatin1(name));
    }
};
