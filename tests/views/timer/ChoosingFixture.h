#pragma once

#include "model/ModelRig.h"
#include "sound/Chime.h"
#include "views/ViewTest.h"
#include "views/ink/ViewContext.h"
#include "views/timer/TaskChooserView.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QScrollBar>
#include <QTest>
#include <memory>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// The screens of choosing a round over a headless model on the fake clock
// (9:00 on 5 March 2025), with the bell on so each AppModel::begin rings
// once, and helpers that fill the hub and press what a user presses.
struct ChoosingFixture : ViewTest
{
    std::unique_ptr<ModelRigs::Rig> rig = std::make_unique<ModelRigs::Rig>();
    AppModel *model = nullptr;

    void SetUp() override
    {
        ViewTest::SetUp();
        rig->settings.setSoundEnabled(true);
        model = &rig->build();
    }
    void TearDown() override
    {
        model = nullptr;
        rig.reset();
        ViewTest::TearDown();
    }

    ViewContext context(bool snapshot = false) const
    {
        ViewContext c;
        c.model = model;
        c.snapshot = snapshot;
        return c;
    }

    TodoItem task(const QString &title, std::optional<QDateTime> due = std::nullopt)
    {
        const std::optional<TodoItem> item = rig->hub->add(title, due);
        EXPECT_TRUE(item) << title.toStdString();
        return item.value_or(TodoItem());
    }
    void practice(const QString &title)
    {
        const std::optional<LocalTask> added = rig->local.add(title);
        ASSERT_TRUE(added);
        rig->local.setDaily(added->id, true);
        rig->hub->reload();
    }
    // The times the start bell rang: one per AppModel::begin.
    int begins() const
    {
        int n = 0;
        for (ChimeBell bell : rig->bells)
            n += bell == Chime::kind ? 1 : 0;
        return n;
    }

    static void click(QAbstractButton *button)
    {
        ASSERT_NE(button, nullptr);
        QCoreApplication::processEvents();
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        QCoreApplication::processEvents();
    }
    // Clicks the middle of a row of a chooser list.
    static void clickRow(TaskChooserView *list, int row)
    {
        ASSERT_NE(list, nullptr);
        ASSERT_GE(row, 0);
        QCoreApplication::processEvents();
        const QRect rect = list->rowRect(row);
        ASSERT_TRUE(rect.isValid());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QCoreApplication::processEvents();
    }
    // The chooser's rows as text: "# Samu", "A", "> No date  2", …
    static QStringList rowTexts(const TaskChooserView *list)
    {
        QStringList out;
        for (const TaskChooserList::Row &row : list->rows()) {
            switch (row.kind) {
            case TaskChooserList::Row::Kind::header: out << QStringLiteral("# ") + row.header; break;
            case TaskChooserList::Row::Kind::fold:
                out << (row.fold.open ? QStringLiteral("v ") : QStringLiteral("> ")) + row.fold.text;
                break;
            case TaskChooserList::Row::Kind::task: out << row.item.title; break;
            }
        }
        return out;
    }
};
