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

} // namespace Padded
