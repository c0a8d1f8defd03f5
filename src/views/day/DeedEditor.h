#pragma once

#include "stores/DayEvent.h"
#include "views/day/DaySheet.h"

#include <functional>

class PlainLineEdit;
class TimeAndLength;

// The sheet that changes the title, start and length of a hand-written
// deed, or removes it. It edits its own copy; "これでよい" and Return in the
// title hand the title over as typed (only line breaks dropped).
class DeedEditor : public DaySheet
{
    Q_OBJECT
public:
    using Save = std::function<void(const QString &title, int start, int minutes)>;
    DeedEditor(const DayDeed &deed, Save save, std::function<void()> remove, QWidget *parent);

private:
    void confirm();

    Save m_save;
    PlainLineEdit *m_title = nullptr;
    TimeAndLength *m_chooser = nullptr;
};
