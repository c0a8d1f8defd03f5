// The keyboard walker on small windows whose faults are known.
#include "support/FocusWalk.h"
#include "views/ink/InkButton.h"
#include "views/ink/SegmentedControl.h"
#include "ViewTest.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

namespace {

struct FocusWalkTest : ViewTest
{
    QWidget window;
    QVBoxLayout *layout = new QVBoxLayout(&window);

    template<typename W>
    W *add(W *widget, const QString &objectName)
    {
        widget->setObjectName(objectName);
        layout->addWidget(widget);
        return widget;
    }
};

QStringList names(const QList<QPointer<QWidget>> &widgets)
{
    QStringList out;
    for (const QPointer<QWidget> &w : widgets)
        out << (w ? w->objectName() : QStringLiteral("(gone)"));
    return out;
}

TEST_F(FocusWalkTest, FindsTheUnnamedAndTheUnreachable)
{
    add(new QPushButton(QStringLiteral("Start")), QStringLiteral("named"));
    auto *symbolOnly = add(new InkButton, QStringLiteral("unnamed")); // a symbol without setName()
    symbolOnly->setLook(InkLook::icon(Symbol::calendar, 14, Tone{}, Tone{}, QSizeF(24, 24)));
    auto *field = add(new QLineEdit, QStringLiteral("field"));
    field->setAccessibleName(QStringLiteral("Title"));
    auto *mouseOnly = add(new QPushButton(QStringLiteral("Pause")), QStringLiteral("unreachable"));
    mouseOnly->setFocusPolicy(Qt::NoFocus);
    // Neither hidden nor disabled controls are the user's to reach.
    add(new QPushButton, QStringLiteral("hidden"))->hide();
    add(new QPushButton, QStringLiteral("disabled"))->setEnabled(false);

    const FocusWalk::Report report = FocusWalk::walk(&window);

    EXPECT_EQ(names(report.reached), (QStringList{"named", "unnamed", "field"}));
    EXPECT_EQ(names(report.unnamed), QStringList{"unnamed"});
    EXPECT_EQ(names(report.unreachable), QStringList{"unreachable"});
    EXPECT_FALSE(report.trap);
    EXPECT_FALSE(report.clean());
    EXPECT_EQ(report.findings().size(), 2) << report.findings().join('\n').toStdString();
}

TEST_F(FocusWalkTest, ArrowGroupsCountAsReachedButALoneClickFocusControlDoesNot)
{
    add(new SegmentedControl({QStringLiteral("Ring"), QStringLiteral("Incense"), QStringLiteral("Plain")}),
        QStringLiteral("faces"));
    auto *box = add(new QWidget, QStringLiteral("box"));
    auto *clickOnly = new QPushButton(QStringLiteral("Skip"), box);
    clickOnly->setObjectName(QStringLiteral("clickOnly"));
    clickOnly->setFocusPolicy(Qt::ClickFocus);

    const FocusWalk::Report report = FocusWalk::walk(&window);

    EXPECT_EQ(report.reached.size(), 1); // the chosen segment
    EXPECT_TRUE(report.unnamed.isEmpty()) << report.findings().join('\n').toStdString();
    EXPECT_EQ(names(report.unreachable), QStringList{"clickOnly"});
}

TEST_F(FocusWalkTest, AFieldThatKeepsTabIsATrap)
{
    add(new QPushButton(QStringLiteral("Start")), QStringLiteral("before"));
    auto *notes = add(new QPlainTextEdit, QStringLiteral("notes")); // Tab types a tab here
    notes->setAccessibleName(QStringLiteral("Notes"));
    add(new QPushButton(QStringLiteral("Save")), QStringLiteral("after"));

    const FocusWalk::Report report = FocusWalk::walk(&window);

    EXPECT_EQ(report.trap, notes);
    EXPECT_EQ(names(report.unreachable), QStringList{"after"});
    EXPECT_TRUE(report.unnamed.isEmpty());

    notes->setTabChangesFocus(true);
    const FocusWalk::Report fixed = FocusWalk::walk(&window);
    EXPECT_TRUE(fixed.clean()) << fixed.findings().join('\n').toStdString();
    EXPECT_EQ(names(fixed.reached), (QStringList{"before", "notes", "after"}));
}

} // namespace
