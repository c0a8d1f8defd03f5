#pragma once

#include "model/ModelRig.h"
#include "views/ViewTest.h"
#include "views/daily/FadingText.h"
#include "views/daily/SweepView.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/GrowingTextField.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"

#include <QTest>
#include <memory>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// A sweep screen over a headless model on a sweep day (19 March 2025),
// with quiet tasks written two weeks earlier. build() begins the sweep
// and shows the screen.
struct SweepFixture : ViewTest
{
    std::unique_ptr<ModelRigs::Rig> rig = std::make_unique<ModelRigs::Rig>(ModelRigs::at(5, 9));
    AppModel *model = nullptr;
    std::unique_ptr<SweepView> view;
    QList<LocalTask> quiet;

    void TearDown() override
    {
        view.reset();
        rig.reset();
        ViewTest::TearDown();
    }

    // Tasks made on the 5th, then the clock moved to the sweep day.
    void addQuietTasks(int count)
    {
        for (int i = 0; i < count; ++i)
            rig->local.add(QStringLiteral("task %1").arg(i + 1));
    }

    SweepView &build(bool snapshot = false)
    {
        rig->clock.setNow(ModelRigs::at(19, 9));
        model = &rig->build();
        model->beginSweep();
        if (model->sweeping())
            quiet = model->sweeping()->targets;
        ViewContext context;
        context.model = model;
        context.snapshot = snapshot;
        view = std::make_unique<SweepView>(context);
        view->resize(520, 760);
        view->show();
        QCoreApplication::processEvents();
        return *view;
    }

    template<class T = QWidget>
    T *find(const QString &name) const
    {
        T *w = view->findChild<T *>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    bool shows(const QString &name) const
    {
        QWidget *w = view->findChild<QWidget *>(name);
        return w && w->isVisibleTo(view.get());
    }
    void click(const QString &name)
    {
        QCoreApplication::processEvents();
        auto *button = find<QAbstractButton>(name);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isVisibleTo(view.get())) << name.toStdString();
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        QCoreApplication::processEvents();
    }
    QString text(const QString &name) const
    {
        if (auto *label = view->findChild<ElidedLabel *>(name))
            return label->text();
        if (auto *block = view->findChild<TextBlock *>(name))
            return block->text();
        if (auto *fading = view->findChild<FadingText *>(name))
            return fading->text();
        if (auto *button = view->findChild<QAbstractButton *>(name))
            return button->text();
        ADD_FAILURE() << name.toStdString();
        return QString();
    }
    AppModel::SweepStep step() const
    {
        EXPECT_TRUE(model->sweeping());
        return model->sweeping() ? model->sweeping()->step : AppModel::SweepStep::opening();
    }
    // The tasks as the file holds them now.
    std::optional<LocalTask> stored(const QUuid &id) const
    {
        LocalTaskStore reread(rig->dirs.dataDir());
        return reread.task(id);
    }
};
