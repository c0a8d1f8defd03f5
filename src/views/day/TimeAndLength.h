#pragma once

#include "views/day/TimeAndLengthRules.h"

#include <QList>
#include <functional>
#include <QWidget>

class InkButton;
class MinuteField;
class QLabel;
class ElidedLabel;

// The start, end and length chooser of the place picker and the editors:
// a start row and an end row (a time field, −15 and +15), the length chips
// and the summary line. It keeps no value of its own beyond the caller's
// start, length and bound: every control changes them at once and tells
// changed().
class TimeAndLength : public QWidget
{
    Q_OBJECT
public:
    // Object names are prefixed with `name` ("place.start", "place.chip60").
    TimeAndLength(const QString &name, QWidget *parent = nullptr);

    void set(int start, int minutes, int limit);
    const TimeAndLengthRules &value() const { return m_rules; }
    int start() const { return m_rules.start; }
    int minutes() const { return m_rules.minutes; }

signals:
    void changed();

private:
    void apply(const std::function<void(TimeAndLengthRules &)> &step);
    void refresh();

    TimeAndLengthRules m_rules;
    MinuteField *m_startField = nullptr;
    MinuteField *m_endField = nullptr;
    InkButton *m_startBack = nullptr;
    InkButton *m_startForward = nullptr;
    InkButton *m_endBack = nullptr;
    InkButton *m_endForward = nullptr;
    QList<InkButton *> m_chips;
    ElidedLabel *m_summary = nullptr;
};
