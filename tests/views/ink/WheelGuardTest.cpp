// The wheel over a page of controls, delivered as the desktop delivers it:
// the page scrolls and no value changes until the user focuses a control.
#include "support/RealInput.h"
#include "views/ViewTest.h"
#include "views/ink/SegmentedControl.h"
#include "views/ink/WheelGuard.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

struct WheelGuardTest : ViewTest
{
    QWidget window;
    QScrollArea *scroll = new QScrollArea(&window);
    QWidget *page = new QWidget;
    QComboBox *combo = new QComboBox(page);
    QSlider *slider = new QSlider(Qt::Horizontal, page);
    QSpinBox *spin = new QSpinBox(page);
    QTimeEdit *time = new QTimeEdit(page);
    QLabel *label = new QLabel(QStringLiteral("text"), page);
    QPlainTextEdit *editor = new QPlainTextEdit(page);

    void SetUp() override
    {
        ViewTest::SetUp();
        WheelGuard::install();
        auto *layout = new QVBoxLayout(page);
        layout->addSpacing(400);
        combo->addItems({"one", "two", "three", "four"});
        slider->setRange(0, 100);
        slider->setValue(50);
        spin->setRange(0, 100);
        spin->setValue(50);
        time->setTime(QTime(9, 0));
        editor->setPlainText(QString(QStringLiteral("line\n")).repeated(40));
        editor->setFixedHeight(60);
        layout->addWidget(combo);
        layout->addWidget(slider);
        layout->addWidget(spin);
        layout->addWidget(time);
        layout->addWidget(label);
        layout->addWidget(editor);
        layout->addSpacing(1200);
        scroll->setWidget(page);
        scroll->setWidgetResizable(true);
        auto *outer = new QVBoxLayout(&window);
        outer->addWidget(scroll);
        window.resize(300, 400);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QStringList values() const
    {
        return {combo->currentText(), QString::number(slider->value()), QString::number(spin->value()),
                time->time().toString()};
    }
    int scrolled() const { return scroll->verticalScrollBar()->value(); }
};

TEST_F(WheelGuardTest, OverAControlThePageScrollsAndNothingChanges)
{
    const QStringList before = values();
    const QList<QWidget *> over = {combo, slider, spin, time, label};
    for (QWidget *w : over) {
        SCOPED_TRACE(w->metaObject()->className());
        scroll->ensureWidgetVisible(w, 0, 150);
        const int at = scrolled();
        RealInput::wheel(w, -1);
        EXPECT_GT(scrolled(), at);
        EXPECT_EQ(values(), before);
        EXPECT_FALSE(w->hasFocus()) << "the wheel gives no focus";
        RealInput::wheel(w, 1);
        EXPECT_EQ(scrolled(), at);
        EXPECT_EQ(values(), before);
    }
}

TEST_F(WheelGuardTest, AFocusedControlTakesTheWheelAndAListKeepsItsOwn)
{
    // Focused by the user (a click), the number field steps.
    scroll->ensureWidgetVisible(spin, 0, 150);
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(5, spin->height() / 2));
    ASSERT_TRUE(spin->hasFocus());
    const int at = scrolled();
    RealInput::wheel(spin, 1);
    EXPECT_EQ(spin->value(), 51);
    EXPECT_EQ(scrolled(), at);
    // The others stay as they were.
    RealInput::wheel(slider, 1);
    EXPECT_EQ(slider->value(), 50);

    // A text editor in the page scrolls its own lines, focused or not.
    scroll->verticalScrollBar()->setValue(editor->y() - 20);
    const int pageAt = scrolled();
    RealInput::wheel(editor->viewport(), -1);
    EXPECT_GT(editor->verticalScrollBar()->value(), 0);
    EXPECT_EQ(scrolled(), pageAt);
}

TEST_F(WheelGuardTest, WithoutAPageAnUnfocusedControlLetsTheWheelGo)
{
    QWidget sheet;
    auto *layout = new QVBoxLayout(&sheet);
    auto *field = new QSpinBox(&sheet);
    field->setValue(5);
    auto *other = new QSpinBox(&sheet);
    layout->addWidget(field);
    layout->addWidget(other);
    sheet.show();
    sheet.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    other->setFocus();
    RealInput::wheel(field, 1);
    EXPECT_EQ(field->value(), 5);
    field->setFocus();
    RealInput::wheel(field, 1);
    EXPECT_EQ(field->value(), 6);
}

} // namespace
