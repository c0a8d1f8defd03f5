#pragma once

#include "views/ink/InkButton.h"

// One option of a list of choices, as a whole row: a round mark (filled in
// the chosen tone while chosen, a faint ring otherwise) and the option's
// text, cut with an ellipsis when the row is narrow. The whole row is the
// hit area; Tab reaches it and Space or Return choose it. A widget given as
// trailing (a delete button) sits at the row's end and takes its own
// presses. The row is checkable, so the chosen one reads as checked.
class ChoiceRow : public InkButton
{
    Q_OBJECT
public:
    ChoiceRow(const QString &text, const QFont &font, Tone chosenTone, double markSize, QWidget *parent = nullptr);

    void setChosen(bool chosen);
    bool isChosen() const { return isChecked(); }
    void setTrailing(QWidget *widget);
    QWidget *trailing() const { return m_trailing; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintLabel(QPainter &painter, const QRectF &rect, const QColor &colour) override;
    void resizeEvent(QResizeEvent *event) override;
    void nextCheckState() override {}

private:
    Tone m_chosenTone;
    double m_markSize; // at the text scale of the moment the row was built
    QWidget *m_trailing = nullptr;
};
