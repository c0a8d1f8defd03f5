#pragma once

#include "model/ModelRig.h"
#include "platform/fakes/FakeDesktop.h"
#include "views/ViewTest.h"
#include "views/day/DayCard.h"
#include "views/day/DayView.h"
#include "views/day/SlotRow.h"
#include "views/ink/InkButton.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <memory>

// A day page over a headless model (temporary data folder, the fake clock
// at 2025-03-05 14:20, the fake calendar store with full access).
struct DayFixture : ViewTest
{
    std::unique_ptr<ModelRigs::Rig> rig;
    FakeDesktop desk;
    AppModel *model = nullptr;
    std::unique_ptr<DayView> view;

    void SetUp() override
    {
        ViewTest::SetUp();
        rig = std::make_unique<ModelRigs::Rig>(QDateTime(QDate(2025, 3, 5), QTime(14, 20)));
        rig->settings.setPlanCalendarIdentifier(QStringLiteral("rounds"));
    }
    void TearDown() override
    {
        view.reset();
        rig.reset();
        ViewTest::TearDown();
    }

    DayView &build(int width = 480, bool snapshot = false)
    {
        if (!model)
            model = &rig->build();
        ViewContext context;
        context.model = model;
        context.desktop = &desk;
        context.snapshot = snapshot;
        view = std::make_unique<DayView>(context);
        view->resize(width, 800);
        if (!snapshot)
            view->show();
        settle();
        return *view;
    }
    void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    template<class T = QWidget>
    T *find(const QString &name, QWidget *in = nullptr) const
    {
        QWidget *root = in ? in : view.get();
        T *w = root->findChild<T *>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void click(QWidget *w)
    {
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(w->isVisible()) << w->objectName().toStdString();
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        settle();
    }
    void click(const QString &name, QWidget *in = nullptr) { click(find(name, in)); }
    SlotRow *row(int hour) const { return view->line()->row(hour); }
    QDialog *sheet() const { return qobject_cast<QDialog *>(view->openSheet()); }
    QDateTime day() const { return QDateTime(view->day(), QTime(12, 0)); }

    // The stored JSON array of a data file (empty when the file is missing).
    QJsonArray file(const QString &name) const
    {
        QFile f(rig->dirs.dataDir() + QLatin1Char('/') + name);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(f.readAll()).array();
    }
    bool fileExists(const QString &name) const { return QFile::exists(rig->dirs.dataDir() + QLatin1Char('/') + name); }

    void addEvent(const QString &title, const QDateTime &start, int minutes)
    {
        CalendarEvent e;
        e.calendarId = QStringLiteral("rounds");
        e.title = title;
        e.start = start;
        e.end = start.addSecs(minutes * 60);
        rig->calendars.addEvent(e);
        emit rig->calendars.changed(); // as the folder watch tells it
    }
};
