#pragma once

#include "views/ink/ViewContext.h"

#include <QWidget>

class ElidedLabel;
class InkButton;
class QScrollArea;
class QVBoxLayout;

// The look-back of a sweep: the morning and evening words of the days since
// the last sweep (when any were written), then the titles the rounds went
// to, each with a bar of its share, or a line for a span without rounds.
// Built afresh from the model on each refresh.
class SweepLookbackPage : public QWidget
{
    Q_OBJECT
public:
    explicit SweepLookbackPage(const ViewContext &context, QWidget *parent = nullptr);

    void refresh();

signals:
    void advance();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitWords();

    ViewContext m_context;
    QWidget *m_words = nullptr;     // the whole words block
    QWidget *m_wordsList = nullptr; // the days, in or out of the scroll area
    QScrollArea *m_scroll = nullptr;
    ElidedLabel *m_empty = nullptr;
    QWidget *m_lines = nullptr;
    InkButton *m_next = nullptr;
};
