#pragma once

#include "views/ink/Animation.h"
#include "views/ink/ViewContext.h"

#include <QPointer>
#include <QWidget>

class ElidedLabel;
class InkButton;
class PlainLineEdit;
#include "views/ink/Popover.h"

// The one-line field that says what the round is for. It edits the
// engine's task title directly (every keystroke sets it; Return only gives
// up the keyboard), shows a vermilion dot at its left while that title
// belongs to the task taken from the list, and opens the task picker in a
// popover from its list button. A line under it turns indigo while it has
// the keyboard. Drawn as a still picture it shows plain text instead of a
// field and never takes the keyboard.
class TaskTitleField : public QWidget
{
    Q_OBJECT
public:
    TaskTitleField(const ViewContext &context, const QString &placeholder, bool focusOnAppear,
                   QWidget *parent = nullptr);

    PlainLineEdit *edit() const { return m_edit; }
    InkButton *listButton() const { return m_list; }
    // The picker's popover while it is open.
    Popover *pickerPopover() const { return m_popover; }
    bool showsLinkDot() const;
    // The dot's and the underline's fades (0 at rest, 1 shown / focused).
    double linkDotLevel() const;
    double underlineLevel() const;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void openPicker();

    class Dot;
    class Underline;

    ViewContext m_context;
    QString m_placeholder;
    bool m_focusOnAppear;
    bool m_focusedOnce = false;
    Dot *m_dot = nullptr;
    PlainLineEdit *m_edit = nullptr;
    ElidedLabel *m_still = nullptr;
    InkButton *m_list = nullptr;
    Underline *m_underline = nullptr;
    QPointer<Popover> m_popover;
};
