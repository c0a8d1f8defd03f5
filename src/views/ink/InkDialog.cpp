#include "views/ink/InkDialog.h"

#include "views/ink/ReadingOrder.h"

#include <QAction>

InkDialog::InkDialog(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    auto *close = new QAction(this);
    close->setShortcuts(QKeySequence::Close);
    close->setShortcutContext(Qt::WindowShortcut);
    connect(close, &QAction::triggered, this, &QDialog::reject);
    addAction(close);
}

bool InkDialog::focusNextPrevChild(bool next)
{
    return ReadingOrder::focusNext(this, next);
}
