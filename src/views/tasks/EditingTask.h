#pragma once

#include "core/Models.h"

#include <QObject>
#include <optional>

// Which task row of a list is being renamed: one value shared by every row
// of the list, so at most one row is in edit at a time.
class EditingTask : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    std::optional<TaskRef> ref() const { return m_ref; }
    bool is(const TaskRef &ref) const { return m_ref && *m_ref == ref; }
    void set(const std::optional<TaskRef> &ref)
    {
        if (ref == m_ref)
            return;
        m_ref = ref;
        emit changed();
    }

signals:
    void changed();

private:
    std::optional<TaskRef> m_ref;
};
