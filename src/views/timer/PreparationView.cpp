#include "views/timer/PreparationView.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/FocusFrame.h"
#include "views/ink/InkButton.h"
#include "views/ink/LayoutRole.h"
#include "views/ink/Motion.h"
#include "views/ink/TextBlock.h"
#include "views/timer/BreathMark.h"
#include "views/timer/Padded.h"
#include "views/timer/PreparationText.h"
#include "views/timer/StepMark.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QSpacerItem>
#include <cmath>

namespace {
// The least height of a flexible gap, the usual room between two neighbours.
constexpr int kLeastGap = 8;
} // namespace

// The step's large word, cross-fading from the previous step's word over
// 0.35 s (ease-in-out).
class PreparationView::StepWord : public QWidget
{
public:
    explicit StepWord(QWidget *parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setFixedHeight(int(std::ceil(Kiv::lineHeight(wordFont()))));
        m_fade.setValue(1);
    }
    void setWord(const QString &word)
    {
        if (word == m_word)
            return;
        m_previous = m_word;
        m_word = word;
        setAccessibleName(word);
        m_fade.start(this, [this] { update(); }, 0, 1, 350, Motion::easeInOut());
        update();
    }
    QString word() const { return m_word; }

    static QFont wordFont() { return Kiv::tracked(Kiv::font(72, Kiv::Design::serif), 10, 1.2); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const QFont font = wordFont();
        painter.setFont(font);
        painter.setPen(Kiv::ink());
        const double t = m_fade.value();
        draw(painter, m_previous, 1 - t);
        draw(painter, m_word, t);
    }

private:
    void draw(QPainter &painter, const QString &text, double opacity)
    {
        if (text.isEmpty() || opacity <= 0)
            return;
        const QFontMetricsF metrics(painter.font());
        // Letter spacing follows every letter, the last included; centre the inked part.
        const double width = metrics.horizontalAdvance(text) - painter.font().letterSpacing();
        painter.save();
        painter.setOpacity(opacity);
        // A word wider than the window (English at a large text scale) is
        // drawn smaller, about its centre, rather than cut.
        const double room = this->width() - 16.0;
        const QPointF centre(this->width() / 2.0, height() / 2.0);
        if (width > room && room > 0) {
            const double f = room / width;
            painter.translate(centre);
            painter.scale(f, f);
            painter.translate(-centre);
        }
        painter.drawText(QPointF(centre.x() - width / 2, Kiv::baselineFor(painter.font(), centre.y())), text);
        painter.restore();
    }

    QString m_word;
    QString m_previous;
    Animation m_fade;
};

PreparationView::PreparationView(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("timer.preparation"));
    setFocusPolicy(Qt::StrongFocus);
    FocusFrame::attach(this);
    // The steps' column; in a window too short for it, it scrolls (the
    // scroll area leaves clicks and keys to the screen).
    auto *body = new QWidget(this);
    body->setObjectName(QStringLiteral("timer.preparation.body"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    if (context.snapshot) {
        outer->addWidget(body);
    } else {
        auto *scroll = new QScrollArea(this);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setFocusPolicy(Qt::NoFocus);
        scroll->setAutoFillBackground(false);
        scroll->viewport()->setAutoFillBackground(false);
        scroll->setWidget(body);
        body->setAutoFillBackground(false);
        outer->addWidget(scroll);
    }
    auto *column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    // The two flexible gaps share the free height, and keep a little of it
    // when there is none: in a short window (or at a large text scale) the
    // column then scrolls instead of setting the step row against the title.
    const auto gap = [column] {
        column->addSpacerItem(new QSpacerItem(0, kLeastGap, QSizePolicy::Minimum, QSizePolicy::Expanding));
    };
    gap();

    m_word = new StepWord(this);
    m_word->setObjectName(QStringLiteral("timer.preparation.word"));
    column->addWidget(m_word);

    m_reading = new ElidedLabel(QString(), Kiv::tracked(Kiv::font(12), 3, 0.36), Tone{Kiv::Colour::inkFaint}, this);
    m_reading->setObjectName(QStringLiteral("timer.preparation.reading"));
    m_reading->setAlignment(Qt::AlignCenter);
    m_reading->setAttribute(Qt::WA_TransparentForMouseEvents);
    Padded::add(column, m_reading, QMargins(0, 6, 0, 0));

    m_breath = new BreathMark(this);
    m_breath->setObjectName(QStringLiteral("timer.preparation.breath"));
    Padded::add(column, m_breath, QMargins(0, 18, 0, 0));

    m_instruction = new TextBlock(QString(), Kiv::font(14, Kiv::Design::serif), Tone{Kiv::Colour::inkSoft}, this);
    m_instruction->setObjectName(QStringLiteral("timer.preparation.instruction"));
    m_instruction->setAlignment(Qt::AlignHCenter);
    m_instruction->setAttribute(Qt::WA_TransparentForMouseEvents);
    Padded::add(column, m_instruction, QMargins(32, 28, 32, 0));

    m_title = new ElidedLabel(QString(), Kiv::font(13, Kiv::Design::serif), Tone{Kiv::Colour::inkFaint}, this);
    m_title->setObjectName(QStringLiteral("timer.preparation.title"));
    LayoutRole::setMayElide(m_title); // the round's own title, cut to one line
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_titleLine = Padded::wrap(m_title, QMargins(32, 8, 32, 0), this);
    column->addWidget(m_titleLine);

    gap();

    auto *marks = new QHBoxLayout;
    marks->setSpacing(8);
    marks->setContentsMargins(0, 0, 0, 14);
    marks->addStretch(1);
    for (const Preparation step : allPreparations()) {
        auto *mark = new StepMark(this);
        mark->setObjectName(QStringLiteral("timer.preparation.mark.") + rawValue(step));
        m_marks << mark;
        marks->addWidget(mark);
    }
    marks->addStretch(1);
    column->addLayout(marks);

    auto *hint = new ElidedLabel(L(QStringLiteral("そのままで、始まります")), Kiv::font(12),
                                 Tone{Kiv::Colour::inkFaint}, this);
    hint->setObjectName(QStringLiteral("timer.preparation.hint"));
    hint->setAlignment(Qt::AlignCenter);
    hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    Padded::add(column, hint, QMargins(0, 0, 0, 4));
    auto *press = new ElidedLabel(L(QStringLiteral("押すと、すぐに始まります")), Kiv::font(10),
                                  Tone{Kiv::Colour::inkGhost}, this);
    press->setObjectName(QStringLiteral("timer.preparation.pressHint"));
    press->setAlignment(Qt::AlignCenter);
    press->setAttribute(Qt::WA_TransparentForMouseEvents);
    Padded::add(column, press, QMargins(0, 0, 0, 10));

    m_cancel = new InkButton(L(QStringLiteral("やめる")),
                             InkLook::plain(Kiv::font(12), Tone{Kiv::Colour::inkFaint}, Tone{Kiv::Colour::inkSoft}),
                             this);
    m_cancel->setObjectName(QStringLiteral("timer.preparation.cancel"));
    Padded::add(column, m_cancel, QMargins(0, 0, 0, 18), Qt::AlignHCenter);
    connect(m_cancel, &QAbstractButton::clicked, this, &PreparationView::cancel);

    if (m_context.model) {
        connect(m_context.model, &AppModel::preparingChanged, this, &PreparationView::refresh);
        connect(&m_context.model->engine(), &PomodoroEngine::taskTitleChanged, this, &PreparationView::refresh);
    }
    refresh();
}

void PreparationView::refresh()
{
    const std::optional<AppModel::Preparing> preparing =
        m_context.model ? m_context.model->preparing() : std::nullopt;
    // Once the preparation is over the screen keeps its last step until the
    // shell replaces it.
    if (preparing)
        m_step = preparing->step;
    const Preparation step = m_step.value_or(Preparation::body);
    const PreparationText text = PreparationText::of(step);
    m_word->setWord(text.word);
    // Space, Return and Escape work on the whole screen; it is named by its step.
    setAccessibleName(text.word);
    m_reading->setText(text.reading);
    m_instruction->setText(text.instruction);
    const std::optional<QString> title =
        PreparationText::titleLine(m_context.model ? m_context.model->engine().taskTitle() : QString());
    m_title->setText(title.value_or(QString()));
    m_titleLine->setVisible(title.has_value());
    m_breath->setActive(step == Preparation::breath, PreparationText::secondsOf(step));
    const QList<Preparation> &steps = allPreparations();
    for (int i = 0; i < m_marks.size(); ++i)
        m_marks.at(i)->setActive(steps.at(i) == step, PreparationText::secondsOf(steps.at(i)));
}

void PreparationView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_context.snapshot)
        setFocus(Qt::OtherFocusReason);
}

void PreparationView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        skip();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void PreparationView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        skip();
        event->accept();
        return;
    case Qt::Key_Escape:
        cancel();
        event->accept();
        return;
    default: break;
    }
    QWidget::keyPressEvent(event);
}

void PreparationView::skip()
{
    if (m_context.model)
        m_context.model->skipPreparation();
}

void PreparationView::cancel()
{
    if (m_context.model)
        m_context.model->cancelPreparation();
}
