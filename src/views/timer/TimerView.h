#pragma once

#include "core/Models.h"
#include "views/ink/ViewContext.h"
#include "views/timer/RhythmPlan.h"
#include "views/timer/TimerViewState.h"

#include <QWidget>
#include <optional>

class BackButton;
class ClockDigits;
class CompleteTaskButton;
class CompletionView;
class Crossfade;
class ElidedLabel;
class EncoreButton;
class IncenseView;
class KinhinView;
class PrimaryButton;
class PutDownButton;
class QGridLayout;
class QVBoxLayout;
class QuietButton;
class Reveal;
class RhythmView;
class RingView;
class TaskTitleField;
class TextBlock;

// The timer tab while a run exists: the header (back, the mode's name, the
// phase's name), the face with its clock, the rounds line (the round's
// title field, or in a rounds walk the next task and the stay button), the
// day's three-minds card in focus, the rhythm strip, the controls (reset,
// begin/pause/resume, next) and, while paused and through every break, the
// panel with let go, mark done and one more sitting. A finished run shows
// the completion view in place of the running column. What shows follows
// TimerViewState; every button makes the calls of RunControls or the one
// engine call it names. The screen keeps no state of its own.
class TimerView : public QWidget
{
    Q_OBJECT
public:
    TimerView(const ViewContext &context, QWidget *parent = nullptr);

    // The ambience picker at the foot of the screen (the shell's widget);
    // replaces one given before.
    void setAmbiencePicker(QWidget *picker);

    void refresh();
    // The clock moving on within a step: only the face and the digits follow it.
    void followClock();

    // A change of phase eases the whole screen, a change of state the
    // running column (its controls and the paused panel).
    static constexpr int kPhaseMs = 300;
    static constexpr int kStateMs = 250;
    Crossfade *screenFade() const { return m_screenFade; }
    Crossfade *controlsFade() const { return m_controlsFade; }
    Reveal *panelBox() const { return m_panelBox; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Tells the model whether the clock is in sight, and how finely.
    void reportClockInSight(bool inSight);
    // The phase's name in the header: centred, clear of the bar.
    void placeTitle();
    // The ring sized to hold the clock laid on it, drawn in `font` (or
    // smaller, as far as the narrowest window needs).
    void fitRingToClock(const QFont &font);
    // The day's three-minds card shown under the focus clock.
    QWidget *makeIsshinCard();
    void placeFace(TimerViewState::Face face, bool largeClock);

    ViewContext m_context;
    bool m_stale = false;
    bool m_refreshed = false;

    // Header.
    QWidget *m_header;
    BackButton *m_back;
    ElidedLabel *m_modeName;
    ElidedLabel *m_title;

    // The running column.
    QWidget *m_column;
    QGridLayout *m_faceGrid;
    IncenseView *m_incense;
    RingView *m_ring;
    KinhinView *m_kinhin;
    QWidget *m_clock;
    QGridLayout *m_onRing;
    ClockDigits *m_digits;
    ElidedLabel *m_instruction;
    TextBlock *m_note;
    std::optional<TimerViewState::Face> m_placedFace;
    std::optional<bool> m_placedLarge;
    QWidget *m_next;
    TaskTitleField *m_titleField;
    QWidget *m_isshin;
    QWidget *m_isshinRow;
    RhythmView *m_rhythm;
    QWidget *m_rhythmRow;
    std::optional<RhythmPlan> m_shownPlan;
    QuietButton *m_reset;
    PrimaryButton *m_primary;
    QuietButton *m_nextPhase;
    QWidget *m_panel;
    Reveal *m_panelBox;
    Crossfade *m_controlsFade;
    Crossfade *m_screenFade;
    Phase m_shownPhase = Phase::focus;
    RunState m_shownState = RunState::idle;
    TextBlock *m_help;
    QWidget *m_putDownRow;
    PutDownButton *m_putDown;
    CompleteTaskButton *m_complete;
    QWidget *m_encoreRow;
    EncoreButton *m_encore;
    TextBlock *m_encoreLine;

    CompletionView *m_completion;
    QVBoxLayout *m_foot;
    QWidget *m_ambience = nullptr;
};
