#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <functional>

class QWidget;
class SnapshotRig;
struct ViewContext;

// The screens the picture tool draws: a name (the file name's start), the
// logical size to draw at (empty: the size the widget gives itself), and a builder that puts the model in the state
// the picture shows and builds the widget (the caller owns it). Add a
// screen with one entry in Screens.cpp.
struct Screen
{
    QString name;
    QSize size;
    std::function<QWidget *(SnapshotRig &rig, const ViewContext &context)> build;
};

namespace Screens {
const QList<Screen> &all();
}
