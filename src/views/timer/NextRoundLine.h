#pragma once

#include "views/ink/ViewContext.h"

#include <QWidget>

class ElidedLabel;

// In the walking break of a rounds run, what comes next: the caption
// "Next task" over the next round's title (the user's own text, one line).
// It follows the engine and shows only while there is a next round.
class NextRoundLine : public QWidget
{
    Q_OBJECT
public:
    NextRoundLine(const ViewContext &context, QWidget *parent = nullptr);

    QString title() const;

    void refresh();

private:
    ViewContext m_context;
    ElidedLabel *m_caption;
    ElidedLabel *m_title;
};
