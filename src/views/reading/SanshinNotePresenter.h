#pragma once

#include "core/Isshin.h"
#include "views/ink/ViewContext.h"

#include <QObject>
#include <QPointer>

class Popover;
class SanshinNote;

// Opens the note on a mind of the day in a popover beside its anchor (the
// footer line, the day page's line of the mind). The note's glossary button
// closes the popover and then raises the model's glossary request by one,
// which opens the glossary.
class SanshinNotePresenter : public QObject
{
    Q_OBJECT
public:
    SanshinNotePresenter(const ViewContext &context, QWidget *anchor);

    void open(Isshin isshin);
    void close();
    bool isOpen() const;
    SanshinNote *note() const;

signals:
    // The popover closed, however it closed.
    void closed();

private:
    ViewContext m_context;
    QWidget *m_anchor;
    QPointer<Popover> m_popover;
};
