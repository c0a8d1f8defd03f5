#pragma once

#include "core/Mode.h"
#include "views/ink/ViewContext.h"

#include <QWidget>
#include <optional>

class BreathMark;
class ElidedLabel;
class StepMark;
class InkButton;
class TextBlock;

// The three steps before a round (body, breath, mind), as the model steps
// them: the step's word and reading, a breathing circle in the breath step,
// the instruction, the round's title, three step marks (the current one
// fills in vermilion over its step), two hints and a cancel button. The
// screen owns no timing; it follows AppModel::preparing. A click anywhere,
// Space or Return starts the round now (AppModel::skipPreparation); the
// cancel button or Escape abandons it (AppModel::cancelPreparation). It
// takes the keyboard when shown, so the keys work without a click.
class PreparationView : public QWidget
{
    Q_OBJECT
public:
    PreparationView(const ViewContext &context, QWidget *parent = nullptr);

    // The step shown (none once the model's preparation is over).
    std::optional<Preparation> step() const { return m_step; }

protected:
    void showEvent(QShowEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    class StepWord;

    void refresh();
    void skip();
    void cancel();

    ViewContext m_context;
    std::optional<Preparation> m_step;
    StepWord *m_word = nullptr;
    ElidedLabel *m_reading = nullptr;
    BreathMark *m_breath = nullptr;
    TextBlock *m_instruction = nullptr;
    ElidedLabel *m_title = nullptr;
    QWidget *m_titleLine = nullptr; // the title with its padding
    QList<StepMark *> m_marks;
    InkButton *m_cancel = nullptr;
};
