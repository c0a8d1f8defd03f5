#pragma once

#include <QBoxLayout>
#include <QMargins>
#include <QWidget>

// Puts a widget into a column or row with padding around it.
namespace Padded {

inline void add(QBoxLayout *layout, QWidget *widget, QMargins padding, Qt::Alignment alignment = {})
{
    auto *box = new QVBoxLayout;
    box->setContentsMargins(padding);
    box->setSpacing(0);
    box->addWidget(widget, 0, alignment);
    layout->addLayout(box);
}

// The widget inside a container with padding around it; hiding the
// container hides the padding too.
inline QWidget *wrap(QWidget *widget, QMargins padding, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(padding);
    layout->setSpacing(0);
    layout->addWidget(widget);
    return box;
}

} // namespace Padded
