#pragma once

#include "views/ink/Animation.h"
#include "views/ink/Tone.h"

#include <QWidget>

class TextBlock;

// A wrapped, centred text that fades over to a new text: the old one leaves
// as the new one comes in (0.25 s, ease in and out). As tall as the taller
// of the two at its width.
class FadingText : public QWidget
{
    Q_OBJECT
public:
    FadingText(const QFont &font, Tone tone, QWidget *parent = nullptr);

    // Shows the text, fading from the shown one when `fade` and it differs.
    void setText(const QString &text, bool fade);
    QString text() const;
    // The opacity of the new text (1 once the fade ended).
    double level() const { return m_fade.value(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyLevel();

    Tone m_tone;
    TextBlock *m_old = nullptr;
    TextBlock *m_new = nullptr;
    Animation m_fade;
};
