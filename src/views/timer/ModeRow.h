#pragma once

#include "views/ink/InkButton.h"
#include "views/ink/PaintCache.h"
#include "views/timer/ModeCard.h"

class ElidedLabel;
class RhythmView;
class TextBlock;

// One card of the mode selection: the mode's name, its rhythm strip and the
// span of a run on the first line, the description under it (wrapping, never
// cut). The card is raised paper with a hairline edge and a faint shadow,
// all three deepening under the pointer (0.15 s ease-out). The whole card is
// one button, named "Begin {mode}" for assistive tools; a click, Space or
// Return runs it.
class ModeRow : public InkButton
{
    Q_OBJECT
public:
    ModeRow(const ModeCard &card, QWidget *parent = nullptr);

    const ModeCard &card() const { return m_card; }
    void setCard(const ModeCard &card);

    // Room kept around the card inside the row for its shadow.
    static QMargins shadowRoom() { return QMargins(3, 1, 3, 5); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ModeCard m_card;
    ElidedLabel *m_name;
    RhythmView *m_strip;
    ElidedLabel *m_span;
    TextBlock *m_detail;
    // The blurred shadow, kept while the hover stands still.
    PaintCache m_shadow;
};
