#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <functional>

class QWidget;
class SnapshotRig;
struct ViewContext;

// The screens the picture tool draws and the tests' layout check walks: a
// name (the file name's start), the logical size to draw at (the main
// window's ideal size for a screen of the main window, a window's own size,
// or empty: the size the widget gives itself), a builder that puts the
// model in the state the picture shows and builds the widget (the caller
// owns it), and, where the state is reached by using the screen (a popover
// opened, a menu, a field in edit), what to do once it is shown. Add a
// screen with one entry in Screens.cpp.
struct Screen
{
    QString name;
    QSize size;
    std::function<QWidget *(SnapshotRig &rig, const ViewContext &context)> build;
    std::function<void(SnapshotRig &rig, QWidget *shown)> then = {};

    // A screen of the main window: drawn at its ideal and least sizes too.
    bool inMainWindow() const;
};

namespace Screens {
const QList<Screen> &all();
// The main window's sizes a user meets first: its ideal and its least.
QList<QSize> mainWindowSizes();
}
