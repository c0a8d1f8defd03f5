#pragma once

#include "views/day/DayPageRules.h"
#include "views/ink/GrowingTextField.h"

#include <QWidget>

class ElidedLabel;

// The text field of a card: one to four lines; a pasted line break is kept
// for the card to see (it drops it and ends the entry).
class CardField : public GrowingTextField
{
    Q_OBJECT
public:
    using GrowingTextField::GrowingTextField;

protected:
    void insertFromMimeData(const QMimeData *source) override;
};

// The morning or evening card of the day page: its mark, the day's
// question and one growing line whose placeholder is an example answer.
// It tells only what the user typed (edited()), with every line break
// dropped; a typed or pasted line break also ends the entry (left()), as
// Return does (submitted()). The text set by the page tells nothing.
class DayCard : public QWidget
{
    Q_OBJECT
public:
    DayCard(const QString &name, const QString &mark, const QString &question, QWidget *parent = nullptr);

    void setLook(const DayPageRules::CardLook &look);
    void setExample(const QString &example);
    // The page's text; ignored while the user is typing in the card.
    void setText(const QString &text);
    QString text() const;
    bool isWriting() const;
    CardField *field() const { return m_field; }

signals:
    void edited(const QString &text);
    void submitted();
    void left();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ElidedLabel *m_mark = nullptr;
    CardField *m_field = nullptr;
    DayPageRules::CardLook m_look;
};
