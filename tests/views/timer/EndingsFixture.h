#pragma once

#include "model/ModelRig.h"
#include "views/ViewTest.h"
#include "views/ink/InkButton.h"
#include "views/ink/ViewContext.h"

#include <QAccessible>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

// The endings of a run (completion view, rounds line and stay button) over a
// headless model, in English, shown in a window the test clicks in.
struct EndingsFixture : ViewTest
{
    std::unique_ptr<ModelRigs::Rig> rig = std::make_unique<ModelRigs::Rig>();
    AppModel *model = nullptr;
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QVBoxLayout *column = new QVBoxLayout(window.get());

    void SetUp() override
    {
        ViewTest::SetUp();
        Lang::setForTesting(false);
        model = &rig->build();
        window->resize(480, 640);
    }
    void TearDown() override
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        rig.reset();
        ViewTest::TearDown();
    }

    ViewContext context() const
    {
        ViewContext c;
        c.model = model;
        return c;
    }

    template<class View>
    View *place(View *view)
    {
        column->addWidget(view);
        window->show();
        QCoreApplication::processEvents();
        return view;
    }

    PomodoroEngine &engine() { return rig->engine(); }

    // Runs every phase of the run to its end.
    void finishRun()
    {
        for (int i = 0; i < 20 && engine().state() != RunState::finished; ++i)
            rig->finishPhase();
        ASSERT_EQ(engine().state(), RunState::finished);
    }

    template<class T = InkButton>
    T *find(const QString &name) const
    {
        return window->findChild<T *>(name);
    }
    // What assistive technology reads for a widget.
    static QString spokenName(QWidget *w)
    {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        return a ? a->text(QAccessible::Name) : QString();
    }
    // The buttons shown, by their accessible names.
    QStringList shownButtons() const
    {
        QStringList names;
        for (InkButton *b : window->findChildren<InkButton *>())
            if (b->isVisibleTo(window.get()))
                names << spokenName(b);
        return names;
    }
    InkButton *buttonNamed(const QString &name) const
    {
        for (InkButton *b : window->findChildren<InkButton *>())
            if (b->isVisibleTo(window.get()) && spokenName(b) == name)
                return b;
        return nullptr;
    }
    static void click(QWidget *w)
    {
        ASSERT_TRUE(w);
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
        QCoreApplication::processEvents();
    }
};
