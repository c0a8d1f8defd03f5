#include "views/timer/TimerView.h"

#include "views/timer/IsshinView.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "model/RootTab.h"
#include "model/RunControls.h"
#include "sources/TaskHub.h"
#include "views/ink/Crossfade.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/Motion.h"
#include "views/ink/ReadingOrder.h"
#include "views/ink/Reveal.h"
#include "views/ink/RhythmView.h"
#include "views/ink/TextBlock.h"
#include "views/timer/BackButton.h"
#include "views/timer/ClockDigits.h"
#include "views/timer/CompleteTaskButton.h"
#include "views/timer/CompletionView.h"
#include "views/timer/EncoreButton.h"
#include "views/timer/IncenseView.h"
#include "views/timer/IsshinView.h"
#include "views/timer/KinhinView.h"
#include "views/timer/NextRoundLine.h"
#include "views/timer/Padded.h"
#include "views/timer/PrimaryButton.h"
#include "views/timer/PutDownButton.h"
#include "views/timer/QuietButton.h"
#include "views/timer/RingView.h"
#include "views/timer/StayButton.h"
#include "views/timer/TaskTitleField.h"

#include <QGridLayout>
#include <QScopeGuard>
#include <QEvent>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <functional>

namespace {

// The screen's column as its scroll area sees it: the scroll area gives
// its column the height the column asks for at its width (where that is
// more than the view), and this column asks for the least that holds it:
// what it would like less the room its faces can give up. So in a short
// window the faces shrink first, and only then does the column scroll.
class Column : public QWidget
{
public:
    using QWidget::QWidget;
    // The room the faces shown can give up now.
    std::function<int()> slack;
    int heightForWidth(int width) const override
    {
        const int wanted = QWidget::heightForWidth(width);
        return wanted < 0 || !slack ? wanted : wanted - slack();
    }
};

// The main window's least width: every row of the screen fits it.
constexpr int kNarrowestWindow = 340;

QFont largeClockFont()
{
    return Kiv::font(60, Kiv::Design::serif, QFont::Light);
}

QFont breakClockFont()
{
    return Kiv::font(30, Kiv::Design::serif, QFont::Light);
}

// A widget in a row of its own: centred, `top` pixels below what stands
// above it.
QWidget *row(QWidget *content, int top, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, top, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(content, 0, Qt::AlignHCenter);
    return box;
}

} // namespace

TimerView::TimerView(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("timer.running"));

    // Header: the bar (back, the mode's name) and the phase's name, centred
    // in the whole width where it has room beside the bar, else centred in
    // the room right of the mode's name (placeTitle).
    m_header = new QWidget(this);
    auto *bar = new QHBoxLayout(m_header);
    bar->setContentsMargins(14, 12, 14, 0);
    bar->setSpacing(4);
    m_back = new BackButton(m_header);
    m_modeName = new ElidedLabel(QString(), Kiv::font(12), {Kiv::Colour::inkSoft}, m_header);
    m_modeName->setObjectName(QStringLiteral("timer.modeName"));
    bar->addWidget(m_back);
    bar->addWidget(m_modeName);
    bar->addStretch();
    bar->addSpacing(26); // balances the back control
    m_title = new ElidedLabel(QString(), Kiv::tracked(Kiv::font(13, Kiv::Design::serif), 6.0, 0.72),
                              {Kiv::Colour::inkSoft}, m_header);
    m_title->setObjectName(QStringLiteral("timer.headerTitle"));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setAttribute(Qt::WA_TransparentForMouseEvents);
    bar->addStrut(m_title->sizeHint().height());
    m_header->installEventFilter(this);

    // The running column.
    m_column = new QWidget(this);
    m_column->setObjectName(QStringLiteral("timer.column"));
    auto *column = new QVBoxLayout(m_column);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *faceArea = new QWidget(m_column);
    m_faceGrid = new QGridLayout(faceArea);
    m_faceGrid->setContentsMargins(0, 0, 0, 0);
    m_faceGrid->setSpacing(0);
    m_incense = new IncenseView(faceArea);
    m_ring = new RingView(faceArea);
    m_kinhin = new KinhinView(faceArea);
    m_incense->setObjectName(QStringLiteral("timer.incense"));
    m_ring->setObjectName(QStringLiteral("timer.ring"));
    m_kinhin->setObjectName(QStringLiteral("timer.kinhin"));
    for (QWidget *face : {static_cast<QWidget *>(m_incense), static_cast<QWidget *>(m_ring),
                          static_cast<QWidget *>(m_kinhin)}) {
        face->hide();
        m_faceGrid->addWidget(face, 0, 0, Qt::AlignCenter);
    }
    // The clock, made after the faces so that it lies over the ring.
    m_clock = new QWidget(faceArea);
    m_clock->setObjectName(QStringLiteral("timer.clock"));
    m_clock->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *clockStack = new QVBoxLayout(m_clock);
    clockStack->setSpacing(6);
    m_digits = new ClockDigits(largeClockFont(), {Kiv::Colour::ink}, m_clock);
    m_digits->setObjectName(QStringLiteral("timer.clockDigits"));
    m_instruction = new ElidedLabel(QString(), Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::inkSoft}, m_clock);
    m_instruction->setObjectName(QStringLiteral("timer.breakInstruction"));
    m_instruction->setAlignment(Qt::AlignCenter);
    m_instruction->setMaxLines(3); // wraps in a narrow window at a large text scale
    m_note = new TextBlock(QString(), Kiv::font(10), {Kiv::Colour::inkFaint}, m_clock);
    m_note->setObjectName(QStringLiteral("timer.breakNote"));
    m_note->setAlignment(Qt::AlignHCenter);
    clockStack->addWidget(m_digits, 0, Qt::AlignHCenter);
    clockStack->addWidget(m_instruction);
    clockStack->addWidget(m_note);
    column->addWidget(faceArea);
    // Over the ring the clock is the ring's child, not a sibling lying on
    // it: a frame of the ring then repaints the ring and the clock alone,
    // not everything from the window's paper up.
    m_onRing = new QGridLayout(m_ring);
    m_onRing->setContentsMargins(0, 0, 0, 0);

    // The rounds line: the next task and the stay button in a rounds walk,
    // else the round's title field.
    auto *roundsLine = new QWidget(m_column);
    auto *roundsLayout = new QVBoxLayout(roundsLine);
    roundsLayout->setContentsMargins(44, 24, 44, 0);
    roundsLayout->setSpacing(0);
    m_next = new QWidget(roundsLine);
    auto *nextLayout = new QVBoxLayout(m_next);
    nextLayout->setContentsMargins(0, 0, 0, 0);
    nextLayout->setSpacing(14);
    nextLayout->addWidget(new NextRoundLine(context, m_next));
    nextLayout->addWidget(new StayButton(context, m_next), 0, Qt::AlignHCenter);
    m_titleField = new TaskTitleField(context, L(QStringLiteral("いま、何に向かうか")), false, roundsLine);
    roundsLayout->addWidget(m_next);
    roundsLayout->addWidget(m_titleField);
    column->addWidget(roundsLine);

    m_isshin = makeIsshinCard();
    m_isshinRow = row(m_isshin, 14, m_column);
    column->addWidget(m_isshinRow);

    m_rhythm = new RhythmView;
    m_rhythm->setObjectName(QStringLiteral("timer.rhythm"));
    m_rhythmRow = row(m_rhythm, 20, m_column);
    column->addWidget(m_rhythmRow);

    auto *controls = new QWidget(m_column);
    controls->setObjectName(QStringLiteral("timer.controls"));
    m_controlsFade = new Crossfade(controls);
    auto *controlsLayout = new QHBoxLayout(controls);
    controlsLayout->setContentsMargins(0, 20, 0, 0);
    m_reset = new QuietButton(L(QStringLiteral("戻す")), controls);
    m_reset->setObjectName(QStringLiteral("timer.resetButton"));
    m_primary = new PrimaryButton(controls);
    // Where the focus goes when this screen comes in its place.
    m_primary->setProperty("pageFocus", true);
    m_nextPhase = new QuietButton(L(QStringLiteral("次へ")), controls);
    // 18 between the three, closer where the primary button (which grows
    // with the text scale) would otherwise not leave them room in the
    // narrowest window beside its scroll bar.
    const int room = kNarrowestWindow - style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 2;
    const int buttons = m_reset->sizeHint().width() + m_primary->sizeHint().width() + m_nextPhase->sizeHint().width();
    controlsLayout->setSpacing(std::clamp((room - buttons) / 2, 4, 18));
    m_nextPhase->setObjectName(QStringLiteral("timer.nextButton"));
    controlsLayout->addStretch();
    controlsLayout->addWidget(m_reset);
    controlsLayout->addWidget(m_primary);
    controlsLayout->addWidget(m_nextPhase);
    controlsLayout->addStretch();
    column->addWidget(controls);

    // The paused panel: each item a row of its own, 14 below the one above.
    m_panel = new QWidget;
    m_panel->setObjectName(QStringLiteral("timer.pausedPanel"));
    auto *panel = new QVBoxLayout(m_panel);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->setSpacing(0);
    m_help = new TextBlock(QString(), Kiv::font(9), {Kiv::Colour::inkFaint}, m_panel);
    m_help->setObjectName(QStringLiteral("timer.pausedHelp"));
    m_help->setAlignment(Qt::AlignHCenter);
    panel->addWidget(Padded::wrap(m_help, QMargins(24, 14, 24, 0), m_panel));
    m_putDownRow = new QWidget(m_panel);
    auto *putDownLayout = new QHBoxLayout(m_putDownRow);
    putDownLayout->setContentsMargins(0, 14, 0, 0);
    putDownLayout->setSpacing(14);
    m_putDown = new PutDownButton(m_putDownRow);
    m_complete = new CompleteTaskButton(m_putDownRow);
    putDownLayout->addStretch();
    putDownLayout->addWidget(m_putDown);
    putDownLayout->addWidget(m_complete);
    putDownLayout->addStretch();
    panel->addWidget(m_putDownRow);
    m_encoreRow = new QWidget(m_panel);
    auto *encoreLayout = new QVBoxLayout(m_encoreRow);
    encoreLayout->setContentsMargins(0, 0, 0, 0);
    encoreLayout->setSpacing(0);
    m_encore = new EncoreButton(m_encoreRow);
    encoreLayout->addWidget(row(m_encore, 14, m_encoreRow));
    m_encoreLine = new TextBlock(QString(), Kiv::font(9), {Kiv::Colour::inkFaint}, m_encoreRow);
    m_encoreLine->setObjectName(QStringLiteral("timer.encoreLine"));
    m_encoreLine->setAlignment(Qt::AlignHCenter);
    encoreLayout->addWidget(Padded::wrap(m_encoreLine, QMargins(24, 14, 24, 0), m_encoreRow));
    panel->addWidget(m_encoreRow);
    // It comes and goes with a fade while the column grows or shrinks.
    m_panelBox = new Reveal(m_panel, m_column);
    m_panelBox->setShownNow(false);
    column->addWidget(m_panelBox);

    m_completion = new CompletionView(context, this);
    m_screenFade = new Crossfade(this);

    // The screen's column: the spacers share out the free height of a tall
    // window and never close up below 12; in a short one the faces shrink
    // within their limits first, then the column scrolls.
    auto *body = new Column(this);
    body->setObjectName(QStringLiteral("timer.body"));
    body->slack = [this] {
        int room = 0;
        for (QWidget *face : {static_cast<QWidget *>(m_incense), static_cast<QWidget *>(m_ring),
                              static_cast<QWidget *>(m_kinhin)})
            if (face->isVisibleTo(this))
                room += std::max(0, face->sizeHint().height() - face->minimumHeight());
        return room;
    };
    auto *screen = new QVBoxLayout(body);
    screen->setContentsMargins(0, 0, 0, 0);
    screen->setSpacing(0);
    screen->addWidget(m_header);
    screen->addSpacerItem(new QSpacerItem(0, 12, QSizePolicy::Minimum, QSizePolicy::MinimumExpanding));
    screen->addWidget(m_column);
    screen->addWidget(m_completion, 1);
    screen->addSpacerItem(new QSpacerItem(0, 12, QSizePolicy::Minimum, QSizePolicy::MinimumExpanding));
    m_foot = new QVBoxLayout;
    m_foot->setContentsMargins(0, 0, 0, 4);
    screen->addLayout(m_foot);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    if (context.snapshot) {
        outer->addWidget(body); // a still picture shows all of it
    } else {
        auto *scroll = new QScrollArea(this);
        scroll->setObjectName(QStringLiteral("timer.scroll"));
        scroll->setAccessibleName(L(titleKey(RootTab::pomodoro)));
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setAutoFillBackground(false);
        scroll->viewport()->setAutoFillBackground(false);
        scroll->setWidget(body);
        // The paper shows through: the scroll area fills its widget's
        // background when it takes it.
        body->setAutoFillBackground(false);
        outer->addWidget(scroll);
    }

    if (AppModel *model = m_context.model) {
        PomodoroEngine &engine = model->engine();
        connect(m_back, &QAbstractButton::clicked, this, [&engine] { engine.stop(); });
        connect(m_reset, &QAbstractButton::clicked, this, [&engine] { engine.reset(); });
        connect(m_primary, &QAbstractButton::clicked, this, [&engine] { RunControls::startOrPause(engine); });
        connect(m_nextPhase, &QAbstractButton::clicked, this, [&engine] { RunControls::next(engine); });
        connect(m_putDown, &QAbstractButton::clicked, this, [model] { RunControls::putDown(*model); });
        connect(m_complete, &QAbstractButton::clicked, this, [model] { RunControls::completeTask(*model); });
        connect(m_encore, &QAbstractButton::clicked, this, [&engine] { engine.toggleEncore(); });

        // A phase counting down moves the clock a few times a second; the
        // rest of the screen changes only with the run's look.
        connect(&engine, &PomodoroEngine::lookChanged, this, &TimerView::refresh);
        connect(&engine, &PomodoroEngine::remainingChanged, this, &TimerView::followClock);
        connect(&model->taskHub(), &TaskHub::selectedChanged, this, &TimerView::refresh);
        connect(&model->taskHub(), &TaskHub::itemsChanged, this, &TimerView::refresh);
        connect(&model->settings(), &AppSettings::focusVisualChanged, this, &TimerView::refresh);
    }
    refresh();
}

QWidget *TimerView::makeIsshinCard()
{
    // The card of the present moment's mind, shown during focus.
    return new IsshinView(m_context);
}

void TimerView::setAmbiencePicker(QWidget *picker)
{
    if (m_ambience == picker)
        return;
    delete m_ambience;
    m_ambience = picker;
    if (picker)
        m_foot->addWidget(picker, 0, Qt::AlignHCenter);
}

bool TimerView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_header && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest))
        placeTitle();
    return QWidget::eventFilter(watched, event);
}

void TimerView::placeTitle()
{
    const QMargins margins = m_header->layout()->contentsMargins();
    const int width = m_header->width();
    const int wanted = std::min(m_title->sizeHint().width(), width - margins.left() - margins.right());
    // Clear of the back control and the mode's name, with a gap of 8.
    const QWidget *left = m_modeName->isVisibleTo(m_header) ? static_cast<QWidget *>(m_modeName)
                                                             : static_cast<QWidget *>(m_back);
    const int taken = left->geometry().right() + 1 + 8;
    int x = (width - wanted) / 2;
    if (x < taken)
        x = taken + std::max(0, (width - margins.right() - taken - wanted) / 2);
    const int room = std::max(0, width - margins.right() - x);
    m_title->setGeometry(x, margins.top(), std::min(wanted, room), m_header->height() - margins.top());
}

void TimerView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Shown, or its window restored from the dock (a spontaneous show): the
    // clock is in sight again, brought up to date before it is drawn.
    reportClockInSight(true);
    if (m_stale)
        refresh();
}

void TimerView::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Hidden, another page shown, or its window minimised (a spontaneous hide).
    reportClockInSight(false);
}

void TimerView::reportClockInSight(bool inSight)
{
    AppModel *model = m_context.model;
    if (!model)
        return;
    // The digits show whole seconds; a face that draws its own frames needs
    // no finer ticks than they do.
    const bool ownFrames = m_placedFace && TimerViewState::drawsOwnFrames(*m_placedFace);
    using Viewer = AppModel::ClockViewer;
    // The viewer coming into sight first, so that the engine does not pass
    // through a coarser cadence on the way.
    const Viewer now = ownFrames ? Viewer::timerScreenSeconds : Viewer::timerScreen;
    const Viewer other = ownFrames ? Viewer::timerScreen : Viewer::timerScreenSeconds;
    model->setClockInSight(now, inSight);
    model->setClockInSight(other, false);
}

void TimerView::placeFace(TimerViewState::Face face, bool largeClock)
{
    const bool changed = m_placedFace != face || m_placedLarge != largeClock;
    if (m_placedFace != face) {
        m_placedFace = face;
        // The new face may need the clock more or less finely.
        if (isVisible() && !window()->isMinimized())
            reportClockInSight(true);
        m_incense->setVisible(face == TimerViewState::Face::incense);
        m_ring->setVisible(face == TimerViewState::Face::ring);
        m_kinhin->setVisible(face == TimerViewState::Face::walking);
        // Under the incense and the walker, 12 below them; over the ring,
        // in its hole.
        m_faceGrid->removeWidget(m_clock);
        m_onRing->removeWidget(m_clock);
        if (face == TimerViewState::Face::ring) {
            m_clock->layout()->setContentsMargins(0, 0, 0, 0);
            m_onRing->addWidget(m_clock, 0, 0, Qt::AlignCenter);
        } else {
            m_clock->layout()->setContentsMargins(24, 12, 24, 0);
            m_clock->setMaximumWidth(QWIDGETSIZE_MAX);
            m_faceGrid->addWidget(m_clock, 1, 0);
        }
        m_clock->show();
    }
    if (m_placedLarge != largeClock) {
        m_placedLarge = largeClock;
        m_digits->setTone({largeClock ? Kiv::Colour::ink : Kiv::Colour::inkSoft});
        m_instruction->setVisible(!largeClock);
        m_note->setVisible(!largeClock);
    }
    if (changed) {
        const QFont font = largeClock ? largeClockFont() : breakClockFont();
        m_digits->setFont(font);
        if (face == TimerViewState::Face::ring)
            fitRingToClock(font);
    }
}

void TimerView::fitRingToClock(const QFont &font)
{
    // The clock lies in the ring's hole and the ring is drawn large enough
    // to hold it; a break's lines wrap within the hole's width. A clock
    // that would need a ring wider than the narrowest window has room for
    // (a large text scale) is drawn smaller, just as far as that.
    const int hole = int(2 * (RingView::kSide / 2 - RingView::kHoleGap) * 0.8);
    auto box = [this, hole] {
        m_clock->setMaximumWidth(std::max(hole, m_digits->sizeHint().width()));
        const QSize hint = m_clock->sizeHint();
        const int width = std::min(hint.width(), m_clock->maximumWidth());
        const int height = m_clock->hasHeightForWidth() ? m_clock->heightForWidth(width) : hint.height();
        return QSizeF(width, std::max(height, hint.height()));
    };
    QSizeF held = box();
    const double needed = RingView::sideToHold(held);
    if (needed > RingView::kWidestFrame) {
        QFont smaller = font;
        smaller.setPointSizeF(font.pointSizeF() * RingView::kWidestFrame / needed * 0.98);
        m_digits->setFont(smaller);
        held = box();
    }
    m_ring->hold(held);
}

void TimerView::followClock()
{
    AppModel *model = m_context.model;
    if (!model)
        return;
    if (!isVisible() || window()->isMinimized() || !m_refreshed || m_stale || !m_placedFace) {
        refresh();
        return;
    }
    if (!m_column->isVisibleTo(this))
        return;
    const PomodoroEngine &engine = model->engine();
    const bool running = engine.state() == RunState::running;
    // The face draws its frame with this tick, in the same wake-up as the digits.
    m_digits->setSeconds(engine.remaining());
    switch (*m_placedFace) {
    case TimerViewState::Face::incense:
        m_incense->setInputs(engine.progress(), engine.phase(), running);
        m_incense->beat();
        break;
    case TimerViewState::Face::ring:
        m_ring->setInputs(engine.progress(), engine.phase(), running);
        m_ring->beat();
        break;
    case TimerViewState::Face::walking:
        m_kinhin->setInputs(engine.progress(), running);
        m_kinhin->beat();
        break;
    }
}

void TimerView::refresh()
{
    AppModel *model = m_context.model;
    if (!model)
        return;
    // Hidden (or in a minimised window), it waits for the next showing; the
    // engine changes a few times a second while a phase runs.
    if ((!isVisible() || window()->isMinimized()) && m_refreshed) {
        m_stale = true;
        return;
    }
    // Shown again after changes it did not see: the new look at once.
    const bool moves = !m_stale;
    m_stale = false;
    const PomodoroEngine &engine = model->engine();
    const TimerViewState s = TimerViewState::of(*model);
    // A new phase eases the whole screen over 0.3 s, a new state the
    // running column over 0.25 s: the old look is taken before anything
    // changes and dissolves into the new one.
    const bool newPhase = moves && m_refreshed && engine.phase() != m_shownPhase;
    const bool newState = moves && m_refreshed && engine.state() != m_shownState;
    m_refreshed = true;
    m_shownPhase = engine.phase();
    m_shownState = engine.state();
    // A change while the screen dissolves shows under its fade.
    const bool newLook = newState && !m_screenFade->isRunning();
    if (newPhase)
        m_screenFade->capture();
    else if (newLook)
        m_controlsFade->capture();
    m_panelBox->setMotion(newPhase ? kPhaseMs : kStateMs, Motion::easeInOut());
    const auto play = qScopeGuard([this, newPhase, newLook] {
        if (newPhase)
            m_screenFade->play(kPhaseMs, Motion::easeInOut());
        else if (newLook)
            m_controlsFade->play(kStateMs, Motion::easeInOut());
    });

    m_title->setText(s.title);
    m_modeName->setText(s.modeName.value_or(QString()));
    m_modeName->setVisible(s.modeName.has_value());
    placeTitle();

    // When the round's column gives way to the completion (or back), the
    // focus goes with it, not to whatever follows below.
    const bool focusInColumn = ReadingOrder::holdsFocus(m_column) && !s.showsColumn;
    const bool focusInCompletion = ReadingOrder::holdsFocus(m_completion) && !s.showsCompletion;
    if (focusInColumn || focusInCompletion)
        setFocus(Qt::OtherFocusReason);
    m_column->setVisible(s.showsColumn);
    m_completion->setVisible(s.showsCompletion);
    // Once everything below is in place.
    const auto handOver = qScopeGuard([this, focusInColumn, focusInCompletion] {
        if (focusInColumn)
            ReadingOrder::focusInto(m_completion);
        else if (focusInCompletion)
            ReadingOrder::focusInto(m_column);
    });
    if (!s.showsColumn)
        return;

    placeFace(s.face, s.largeClock);
    const bool running = engine.state() == RunState::running;
    switch (s.face) {
    case TimerViewState::Face::incense: m_incense->setInputs(engine.progress(), engine.phase(), running); break;
    case TimerViewState::Face::ring: m_ring->setInputs(engine.progress(), engine.phase(), running); break;
    case TimerViewState::Face::walking: m_kinhin->setInputs(engine.progress(), running); break;
    }
    m_digits->setSeconds(engine.remaining());
    m_instruction->setText(s.breakInstruction);
    m_note->setText(s.breakNote);

    m_next->setVisible(!s.showsTitleField);
    m_titleField->setVisible(s.showsTitleField);
    m_isshinRow->setVisible(s.showsIsshin);
    if (s.strip != m_shownPlan) {
        m_shownPlan = s.strip;
        if (s.strip)
            m_rhythm->setRhythm(s.strip->phases, s.strip->endless, s.strip->openEnded, s.strip->current, 7);
    }
    m_rhythmRow->setVisible(s.strip.has_value());

    const RoundButtons &b = s.buttons;
    m_reset->setEnabled(b.reset.enabled);
    m_primary->setText(b.primary.title);
    m_primary->setTint(b.primaryTint);

    m_help->setText(s.pausedHelp);
    m_putDownRow->setVisible(b.putDown.visible);
    m_complete->setVisible(b.complete.visible);
    m_complete->setToolTip(b.complete.toolTip);
    m_encoreRow->setVisible(b.encore.visible);
    m_encore->setChosen(b.encoreChosen);
    m_encore->setText(b.encore.title);
    m_encoreLine->setText(s.encoreLine);
    if (s.showsPanel != m_panelBox->isShown())
        m_panelBox->setShown(s.showsPanel);
    else if (newPhase || newState)
        m_panelBox->follow(); // what it holds changed with the run
}
