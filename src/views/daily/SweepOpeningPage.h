#pragma once

#include "views/daily/SweepFlow.h"

#include <QWidget>

class ElidedLabel;
class InkButton;
class TextBlock;

// The first page of a sweep: the word for the sweep day and its reading,
// why the day is kept and what is put in order, how many quiet tasks wait,
// and the button that begins.
class SweepOpeningPage : public QWidget
{
    Q_OBJECT
public:
    explicit SweepOpeningPage(QWidget *parent = nullptr);

    void refresh(const SweepFlow::Sweeping &sweeping, const QDateTime &now);

signals:
    void advance();

private:
    TextBlock *m_text = nullptr;
    ElidedLabel *m_count = nullptr;
    InkButton *m_begin = nullptr;
};
