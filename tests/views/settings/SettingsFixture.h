#pragma once

#include "model/ModelRig.h"
#include "platform/fakes/FakeDesktop.h"
#include "views/ViewTest.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/ink/ToggleSwitch.h"
#include "views/settings/PickerRow.h"
#include "views/settings/SettingsView.h"
#include "views/settings/ToggleRow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <memory>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList &texts, std::ostream *os)
{
    *os << '[' << texts.join(QStringLiteral(" | ")).toStdString() << ']';
}

// A settings window over a headless model (the fake calendar store with
// full access and one calendar) and a fake desktop whose panels the test
// answers. build() may be called after the rig is set up.
struct SettingsFixture : ViewTest
{
    std::unique_ptr<ModelRigs::Rig> rig = std::make_unique<ModelRigs::Rig>();
    FakeDesktop desk;
    AppModel *model = nullptr;
    std::unique_ptr<SettingsView> view;

    void TearDown() override
    {
        view.reset();
        rig.reset();
        ViewTest::TearDown();
    }

    SettingsView &build()
    {
        if (!model)
            model = &rig->build();
        ViewContext context;
        context.model = model;
        context.desktop = &desk;
        view = std::make_unique<SettingsView>(context);
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
    // Shown on screen: itself and every parent up to the view visible.
    bool shows(const QString &name) const
    {
        QWidget *w = view->findChild<QWidget *>(name);
        return w && w->isVisibleTo(view.get());
    }
    void click(const QString &name)
    {
        QCoreApplication::processEvents(); // rows just built get their place
        auto *button = find<QAbstractButton>(name);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isVisibleTo(view.get())) << name.toStdString();
        view->activateWindow();
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
    // Flips the switch of a settings row with the pointer.
    void flip(const QString &rowName)
    {
        QCoreApplication::processEvents();
        auto *row = find<ToggleRow>(rowName);
        ASSERT_NE(row, nullptr);
        ASSERT_TRUE(row->isVisibleTo(view.get())) << rowName.toStdString();
        QTest::mouseClick(row->toggle(), Qt::LeftButton, {}, row->toggle()->rect().center());
    }
    QString text(const QString &name) const
    {
        if (auto *block = view->findChild<TextBlock *>(name))
            return block->text();
        if (auto *button = view->findChild<QAbstractButton *>(name))
            return button->text();
        ADD_FAILURE() << name.toStdString();
        return QString();
    }
    // Picks the option with this text in a picker's pop-up list and
    // confirms it with Return, as a user would.
    void choose(const QString &pickerName, const QString &option)
    {
        auto *picker = find<PickerRow>(pickerName);
        ASSERT_NE(picker, nullptr);
        QComboBox *combo = picker->combo();
        const int target = combo->findText(option);
        ASSERT_GE(target, 0) << option.toStdString();
        combo->showPopup();
        QAbstractItemView *list = combo->view();
        list->setCurrentIndex(combo->model()->index(target, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    QStringList optionTexts(const QString &pickerName) const
    {
        QStringList texts;
        for (const auto &option : find<PickerRow>(pickerName)->options())
            texts << option.second;
        return texts;
    }
};
