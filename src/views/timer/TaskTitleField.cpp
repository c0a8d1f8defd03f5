#include "views/timer/TaskTitleField.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "sources/TaskHub.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/Motion.h"
#include "views/ink/PlainLineEdit.h"
#include "views/ink/Popover.h"
#include "views/timer/TaskPicker.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

// The link dot: 4 × 4 in an 18 × 18 square it always keeps, fading in and
// out over 0.2 s.
class TaskTitleField::Dot : public QWidget
{
public:
    explicit Dot(QWidget *parent)
        : QWidget(parent)
    {
        setFixedSize(18, 18);
    }
    void setShown(bool shown)
    {
        if (shown == m_shown)
            return;
        m_shown = shown;
        m_fade.startTo(this, [this] { update(); }, shown ? 1 : 0, 200, Motion::easeOut());
    }
    bool shown() const { return m_shown; }
    double level() const { return m_fade.value(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (m_fade.value() <= 0)
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Kiv::vermilion(m_fade.value()));
        painter.drawEllipse(QRectF(7, 7, 4, 4));
    }

private:
    bool m_shown = false;
    Animation m_fade;
};

// The line under the field: indigo at 0.6 while it has the keyboard, else
// the hairline, fading over 0.2 s.
class TaskTitleField::Underline : public QWidget
{
public:
    explicit Underline(QWidget *parent)
        : QWidget(parent)
    {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    void setFocused(bool focused)
    {
        m_fade.startTo(this, [this] { update(); }, focused ? 1 : 0, 200, Motion::easeOut());
    }
    double level() const { return m_fade.value(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Motion::mix(Kiv::hairline(), Kiv::indigo(0.6), m_fade.value()));
    }

private:
    Animation m_fade;
};

TaskTitleField::TaskTitleField(const ViewContext &context, const QString &placeholder, bool focusOnAppear,
                               QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_placeholder(placeholder)
    , m_focusOnAppear(focusOnAppear)
{
    setObjectName(QStringLiteral("timer.titleField"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    auto *row = new QHBoxLayout;
    row->setSpacing(8);
    m_dot = new Dot(this);
    m_dot->setObjectName(QStringLiteral("timer.titleField.linkDot"));
    row->addWidget(m_dot);

    const QFont font = Kiv::font(14, Kiv::Design::serif);
    if (context.snapshot) {
        m_still = new ElidedLabel(QString(), font, Tone{Kiv::Colour::ink}, this);
        m_still->setAlignment(Qt::AlignCenter);
        m_still->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        row->addWidget(m_still, 1);
    } else {
        m_edit = new PlainLineEdit(this);
        m_edit->setObjectName(QStringLiteral("timer.titleField.edit"));
        m_edit->setFont(font);
        m_edit->setAlignment(Qt::AlignCenter);
        m_edit->setPlaceholderText(placeholder);
        m_edit->setAccessibleName(placeholder);
        m_edit->installEventFilter(this);
        row->addWidget(m_edit, 1);
        connect(m_edit, &QLineEdit::textEdited, this, [this](const QString &text) {
            if (m_context.model)
                m_context.model->engine().setTaskTitle(text);
        });
        connect(m_edit, &QLineEdit::returnPressed, this, [this] { m_edit->clearFocus(); });
    }

    InkLook look = InkLook::icon(Symbol::listBullet, 10 * Kiv::scale(), Tone{Kiv::Colour::inkSoft},
                                 Tone{Kiv::Colour::ink}, QSizeF(18, 18));
    look.hoverMs = 0;
    m_list = new InkButton(QString(), look, this);
    m_list->setObjectName(QStringLiteral("timer.titleField.list"));
    m_list->setName(L(QStringLiteral("作務から選ぶ")));
    row->addWidget(m_list);
    connect(m_list, &QAbstractButton::clicked, this, &TaskTitleField::openPicker);
    column->addLayout(row);

    m_underline = new Underline(this);
    column->addWidget(m_underline);

    if (m_context.model) {
        connect(&m_context.model->engine(), &PomodoroEngine::taskTitleChanged, this, &TaskTitleField::refresh);
        connect(&m_context.model->taskHub(), &TaskHub::selectedChanged, this, &TaskTitleField::refresh);
    }
    refresh();
}

double TaskTitleField::linkDotLevel() const
{
    return m_dot->level();
}

double TaskTitleField::underlineLevel() const
{
    return m_underline ? m_underline->level() : 0;
}

bool TaskTitleField::showsLinkDot() const
{
    return m_dot->shown();
}

void TaskTitleField::refresh()
{
    const QString title = m_context.model ? m_context.model->engine().taskTitle() : QString();
    if (m_edit && m_edit->text() != title)
        m_edit->setText(title);
    if (m_still) {
        m_still->setText(title.isEmpty() ? m_placeholder : title);
        m_still->setTone(title.isEmpty() ? Tone{Kiv::Colour::inkFaint} : Tone{Kiv::Colour::ink});
    }
    const std::optional<TodoItem> linked = m_context.model ? m_context.model->linkedTask() : std::nullopt;
    m_dot->setShown(linked.has_value());
    m_dot->setToolTip(linked ? L(QStringLiteral("「{0}」に積まれます"), linked->title) : QString());
}

void TaskTitleField::openPicker()
{
    if (m_edit)
        m_edit->clearFocus();
    if (m_popover)
        return;
    m_popover = new Popover(m_list);
    auto *picker = new TaskPicker(m_context, m_popover);
    m_popover->setContent(picker);
    Popover *popover = m_popover;
    connect(picker, &TaskPicker::dismissRequested, popover, &QWidget::close);
    connect(popover, &Popover::dismissed, popover, &QObject::deleteLater);
    popover->open(Qt::BottomEdge);
}

void TaskTitleField::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_focusOnAppear && m_edit && !m_focusedOnce) {
        m_focusedOnce = true;
        m_edit->setFocus(Qt::OtherFocusReason);
    }
}

bool TaskTitleField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        m_underline->setFocused(event->type() == QEvent::FocusIn);
    return QWidget::eventFilter(watched, event);
}
