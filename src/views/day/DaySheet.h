#pragma once

#include "views/ink/InkDialog.h"

#include <functional>

class InkButton;
class QVBoxLayout;

// A sheet of the day page: a window-modal dialog on paper, 400 × scale wide,
// its content stacked 20 pt in from every side. Escape closes it; closing
// it any way tells dismissed() once.
class DaySheet : public InkDialog
{
    Q_OBJECT
public:
    DaySheet(const QString &objectName, int spacing, QWidget *parent);

    QVBoxLayout *column() const { return m_column; }

protected:
    // The editors' foot: the remove link on the left (it runs `remove` and
    // closes the sheet), cancel and OK on the right. Object names are
    // `day.<editor>.remove|cancel|ok`; the caller connects OK.
    InkButton *addEditorButtons(const QString &editor, const QString &removeText, std::function<void()> remove);

    void paintEvent(QPaintEvent *event) override;

private:
    QVBoxLayout *m_column = nullptr;
};
