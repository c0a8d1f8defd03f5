#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class AppModel;

// What the completion view of a finished rounds run offers: the run is
// complete, and, while any of its tasks is still open, a question and one
// button per such task (AppModel::roundsToDwell), each calling
// AppModel::dwell with its title.
struct DwellChoices
{
    QString heading;                  // "One round complete."
    std::optional<QString> question;  // only when there are titles
    QStringList titles;

    static DwellChoices of(const AppModel &model);
};
