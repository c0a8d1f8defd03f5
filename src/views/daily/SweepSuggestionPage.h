#pragma once

#include "views/daily/SweepFlow.h"

#include <QWidget>

class FadingText;

// One suggestion for the day, for one's surroundings or for oneself: the
// day's suggestion (moving on by one each day), a link to see another, a
// note, and the button that goes on. How many times another was asked for
// is the screen's (it starts again at each page).
class SweepSuggestionPage : public QWidget
{
    Q_OBJECT
public:
    SweepSuggestionPage(const SweepFlow::Suggestions &suggestions, const QString &name, QWidget *parent = nullptr);

    // Shows the suggestion after `offset` asks; fades to it when `fade`.
    void refresh(const QDateTime &now, int offset, bool fade);
    QString shown() const;

signals:
    void another();
    void next();

private:
    SweepFlow::Suggestions m_suggestions;
    FadingText *m_line = nullptr;
};
