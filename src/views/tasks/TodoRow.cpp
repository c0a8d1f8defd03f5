#include "views/tasks/TodoRow.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "platform/desktop/Desktop.h"
#include "sources/LocalTaskSource.h"
#include "sources/RemindersTaskSource.h"
#include "sources/TaskHub.h"
#include "stores/DayMath.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "views/ink/ChipButton.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/FocusRing.h"
#include "views/ink/InkButton.h"
#include "views/ink/LayoutRole.h"
#include "views/ink/Motion.h"
#include "views/ink/PlainLineEdit.h"
#include "views/ink/Popover.h"
#include "views/ink/Reorderable.h"
#include "views/ink/SymbolPainter.h"
#include "views/tasks/DueChipLine.h"
#include "views/tasks/EditingTask.h"
#include "views/tasks/MonthGrid.h"
#include "views/tasks/PlaceCalendar.h"
#include "views/tasks/PlaceDay.h"
#include "views/tasks/PlaceDayChips.h"
#include "views/tasks/TodoRowText.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

QFont headingFont()
{
    return Kiv::tracked(Kiv::font(12), 2.0, 0.24);
}

InkButton *quietButton(const QString &text, const QString &name)
{
    auto *button = new InkButton(text, InkLook::plain(Kiv::font(12), {Kiv::Colour::inkSoft}, {Kiv::Colour::ink}));
    button->setObjectName(name);
    return button;
}

QWidget *divider()
{
    auto *line = new QWidget;
    line->setFixedHeight(1);
    line->setAutoFillBackground(false);
    line->setAttribute(Qt::WA_StyledBackground, false);
    line->setObjectName(QStringLiteral("tasks.row.divider"));
    struct Painter : QObject
    {
        using QObject::QObject;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Paint) {
                auto *w = static_cast<QWidget *>(watched);
                QPainter painter(w);
                painter.fillRect(w->rect(), Kiv::hairline());
                return true;
            }
            return false;
        }
    };
    line->installEventFilter(new Painter(line));
    return line;
}

// A heading line of the panel: the heading and, when given, a smaller hint.
QLayout *headingLine(const QString &heading, const QString &hint)
{
    auto *line = new QHBoxLayout;
    line->setSpacing(6);
    auto *title = new ElidedLabel(heading, Kiv::font(10), {Kiv::Colour::inkSoft});
    title->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    line->addWidget(title, 0, Qt::AlignBottom);
    if (!hint.isEmpty())
        line->addWidget(new ElidedLabel(hint, Kiv::font(9), {Kiv::Colour::inkFaint}), 1, Qt::AlignBottom);
    else
        line->addStretch(1);
    return line;
}

// A popover's content with the padding the row's popovers share.
QWidget *padded(QWidget *content, double padding, std::optional<double> width)
{
    auto *box = new QWidget;
    auto *layout = new QVBoxLayout(box);
    const int p = int(std::round(padding));
    layout->setContentsMargins(p, p, p, p);
    layout->addWidget(content);
    if (width)
        box->setFixedWidth(int(std::round(*width)));
    return box;
}

} // namespace

// The circle that marks the task done: grey at rest; moss with a check
// while the pointer is over the row.
class TodoRow::Completion : public InkButton
{
public:
    Completion()
    {
        setFixedSize(sizeHint());
    }
    void setRowHovered(bool hovered)
    {
        m_rowHovered = hovered;
        update();
    }
    bool rowHovered() const { return m_rowHovered; }
    QSize sizeHint() const override
    {
        return QSize(int(std::ceil(34 * Kiv::scale())), int(std::ceil(26 * Kiv::scale())) + 18);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF centre = QRectF(rect()).center();
        const QRectF circle(centre.x() - 7, centre.y() - 7, 14, 14);
        painter.setPen(QPen(m_rowHovered ? Kiv::moss() : Kiv::inkGhost(), 1.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(circle.adjusted(0.6, 0.6, -0.6, -0.6));
        if (m_rowHovered) {
            const QSizeF side = SymbolPainter::size(8 * Kiv::scale());
            SymbolPainter::paint(painter,
                                 QRectF(centre.x() - side.width() / 2, centre.y() - side.height() / 2, side.width(),
                                        side.height()),
                                 Symbol::checkmark, Kiv::moss(), SymbolWeight::medium);
        }
        if (showsFocusRing()) {
            painter.setPen(QPen(Kiv::indigo(0.6), 2));
            painter.drawEllipse(circle.adjusted(-3, -3, 3, 3));
        }
    }
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }

private:
    bool m_rowHovered = false;
};

// The name and facts line: the whole rectangle is one button that opens
// the action panel.
class TodoRow::NameArea : public QAbstractButton
{
public:
    NameArea()
    {
        // Tab reaches it; a click leaves the focus where it is (a rename
        // field keeps it).
        setFocusPolicy(Qt::TabFocus);
        setFixedHeight(int(std::ceil(44 * Kiv::scale())));
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override { return QSize(100, height()); }
    QSize minimumSizeHint() const override { return QSize(20, height()); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!hasFocus() || !m_keyboard)
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Kiv::indigo(0.6), 2));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 6, 6);
    }
    void focusInEvent(QFocusEvent *event) override
    {
        m_keyboard = FocusRing::shows(event, m_keyboard);
        QAbstractButton::focusInEvent(event);
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            click();
            return;
        }
        QAbstractButton::keyPressEvent(event);
    }

private:
    bool m_keyboard = false;
};

// The content of the action panel: the title, "begin with this", the
// placement and due chips of a local task, and the quiet buttons.
class TodoRow::ActionPanel : public QWidget
{
public:
    explicit ActionPanel(TodoRow *row)
        : m_row(row)
    {
        setObjectName(QStringLiteral("tasks.row.panel"));
        auto *column = new QVBoxLayout(this);
        column->setContentsMargins(16, 16, 16, 16);
        column->setSpacing(12);

        m_title = new ElidedLabel(QString(), Kiv::font(14, Kiv::Design::serif), {Kiv::Colour::ink});
        m_title->setObjectName(QStringLiteral("tasks.row.panel.title"));
        m_title->setMaxLines(2);
        LayoutRole::setMayElide(m_title);
        column->addWidget(m_title);

        InkLook beginLook = InkLook::capsule(Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::paper},
                                             {Kiv::Colour::paper}, {Kiv::Colour::indigo}, {Kiv::Colour::indigo},
                                             Tone::clear(), Tone::clear());
        beginLook.padding = QMarginsF(16, 7, 16, 7);
        auto *begin = new InkButton(L(QStringLiteral("これで始める")), beginLook);
        begin->setObjectName(QStringLiteral("tasks.row.panel.begin"));
        begin->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(begin, &InkButton::clicked, row, [row] {
            row->closeActions();
            row->begin();
        });
        column->addWidget(begin);

        m_localPart = new QWidget;
        auto *local = new QVBoxLayout(m_localPart);
        local->setContentsMargins(0, 0, 0, 0);
        local->setSpacing(12);
        local->addWidget(divider());
        m_placeHolder = new QWidget;
        auto *placeLayout = new QVBoxLayout(m_placeHolder);
        placeLayout->setContentsMargins(0, 0, 0, 0);
        local->addWidget(m_placeHolder);

        auto *due = new QVBoxLayout;
        due->setSpacing(5);
        due->addLayout(headingLine(L(QStringLiteral("いつまでに")), QString()));
        auto *chips = new QHBoxLayout;
        chips->setSpacing(5);
        const auto addChip = [&](DueChip::Kind kind, const QString &name) {
            auto *chip = new ChipButton;
            chip->setObjectName(name);
            if (kind == DueChip::Kind::calendar) {
                chip->setSymbol(Symbol::calendar);
                chip->setName(L(QStringLiteral("暦から日を選ぶ")));
            }
            connect(chip, &ChipButton::clicked, row, [row, kind] {
                switch (kind) {
                case DueChip::Kind::today: row->setDue(PlaceDay::day(0, Clock::current().now())); break;
                case DueChip::Kind::tomorrow: row->setDue(PlaceDay::day(1, Clock::current().now())); break;
                case DueChip::Kind::none: row->setDue(std::nullopt); break;
                case DueChip::Kind::earlier:
                case DueChip::Kind::later:
                case DueChip::Kind::calendar:
                    row->closeActions();
                    row->openDueDate();
                    break;
                }
            });
            chips->addWidget(chip);
            m_dueChips.append({kind, chip});
        };
        addChip(DueChip::Kind::earlier, QStringLiteral("tasks.due.earlier"));
        addChip(DueChip::Kind::today, QStringLiteral("tasks.due.today"));
        addChip(DueChip::Kind::tomorrow, QStringLiteral("tasks.due.tomorrow"));
        addChip(DueChip::Kind::later, QStringLiteral("tasks.due.later"));
        addChip(DueChip::Kind::calendar, QStringLiteral("tasks.due.calendar"));
        addChip(DueChip::Kind::none, QStringLiteral("tasks.due.none"));
        chips->addStretch(1);
        due->addLayout(chips);
        local->addLayout(due);
        column->addWidget(m_localPart);

        column->addWidget(divider());
        auto *buttons = new QHBoxLayout;
        buttons->setSpacing(14);
        auto *note = quietButton(L(QStringLiteral("覚え書き…")), QStringLiteral("tasks.row.panel.note"));
        connect(note, &InkButton::clicked, row, [row] {
            row->closeActions();
            row->openNote();
        });
        buttons->addWidget(note);
        m_rename = quietButton(L(QStringLiteral("名前を変える")), QStringLiteral("tasks.row.panel.rename"));
        connect(m_rename, &InkButton::clicked, row, [row] {
            row->closeActions();
            row->beginEdit();
        });
        buttons->addWidget(m_rename);
        buttons->addStretch(1);
        buttons->addSpacing(8);
        m_more = new InkButton(L(QStringLiteral("ほかに")),
                               InkLook::plain(Kiv::font(12), {Kiv::Colour::inkSoft}, {Kiv::Colour::ink}));
        m_more->setObjectName(QStringLiteral("tasks.row.panel.more"));
        connect(m_more, &InkButton::clicked, this, [this] { openMore(); });
        buttons->addWidget(m_more);
        m_open = quietButton(QString(), QStringLiteral("tasks.row.panel.open"));
        connect(m_open, &InkButton::clicked, row, [row] {
            row->closeActions();
            row->openSource();
        });
        buttons->addWidget(m_open);
        column->addLayout(buttons);
        setFixedWidth(int(std::round(340 * Kiv::scale())));
    }

    // The menu under "ほかに"; it stays a child of the panel while open.
    QMenu *moreMenu()
    {
        auto *menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("tasks.row.panel.moreMenu"));
        TodoRow *row = m_row;
        menu->addAction(L(QStringLiteral("行持（日々）に移す")), row, [row] { row->moveToPractice(false); });
        menu->addAction(L(QStringLiteral("行持（折々）に移す")), row, [row] { row->moveToPractice(true); });
        menu->addSeparator();
        menu->addAction(L(QStringLiteral("放下する（やらないと決める）")), row,
                        [row] { row->m_context.model->taskHub().setAside(row->m_item.ref); });
        menu->addAction(L(QStringLiteral("消す")), row,
                        [row] { row->m_context.model->taskHub().deleteTask(row->m_item.ref); });
        return menu;
    }

    void refresh()
    {
        const TodoItem &item = m_row->m_item;
        const bool local = TodoRowText::isLocal(item.ref);
        m_title->setText(item.title);
        m_localPart->setVisible(local);
        m_rename->setVisible(local);
        m_more->setVisible(local);
        m_open->setVisible(!local);
        m_open->setText(L(QStringLiteral("{0}で開く"), m_row->sourceName()));

        const std::optional<LocalTask> task = m_row->localTask();
        if (task && !m_place) {
            m_place = new PlaceDayChips(m_row->m_context, *task, L(QStringLiteral("この作務に向き合う日")));
            m_placeHolder->layout()->addWidget(m_place);
            TodoRow *row = m_row;
            connect(m_place, &PlaceDayChips::calendarRequested, row, [row] {
                row->closeActions();
                row->openPlaces();
            });
        } else if (task) {
            m_place->setTask(*task);
        }
        m_placeHolder->setVisible(task.has_value());

        const std::vector<DueChip> chips = DueChipLine::of(item.due, Clock::current().now());
        for (const auto &[kind, button] : m_dueChips) {
            const auto it = std::find_if(chips.begin(), chips.end(), [&](const DueChip &c) { return c.kind == kind; });
            button->setVisible(it != chips.end());
            if (it == chips.end())
                continue;
            if (kind != DueChip::Kind::calendar)
                button->setText(it->text);
            button->setLit(it->lit);
        }
        adjustSize();
    }

private:
    void openMore()
    {
        QMenu *menu = moreMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_more->mapToGlobal(QPoint(0, m_more->height())));
    }

    TodoRow *m_row;
    ElidedLabel *m_title = nullptr;
    QWidget *m_localPart = nullptr;
    QWidget *m_placeHolder = nullptr;
    PlaceDayChips *m_place = nullptr;
    QList<QPair<DueChip::Kind, ChipButton *>> m_dueChips;
    InkButton *m_rename = nullptr;
    InkButton *m_more = nullptr;
    InkButton *m_open = nullptr;
};

TodoRow::TodoRow(const ViewContext &context, EditingTask *editing, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_editing(editing)
    , m_pickedDate(Clock::current().now())
{
    setObjectName(QStringLiteral("tasks.row"));
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto *content = new QHBoxLayout(this);
    content->setContentsMargins(12 + 14, 0, 12 + 14, 0);
    content->setSpacing(10);

    m_completion = new Completion;
    m_completion->setObjectName(QStringLiteral("tasks.row.complete"));
    m_completion->setAccessibleName(L(QStringLiteral("了とする")));
    m_completion->setToolTip(L(QStringLiteral("了とする（完了）")));
    connect(m_completion, &InkButton::clicked, this, &TodoRow::complete);
    content->addWidget(m_completion, 0, Qt::AlignVCenter);

    auto *titleBlock = new QHBoxLayout;
    titleBlock->setContentsMargins(0, 6, 0, 6);
    titleBlock->setSpacing(10);
    m_nameArea = new NameArea;
    m_nameArea->setObjectName(QStringLiteral("tasks.row.name"));
    auto *nameBlock = new QVBoxLayout(m_nameArea);
    nameBlock->setContentsMargins(0, 0, 0, 0);
    nameBlock->setSpacing(4);
    nameBlock->addStretch(1);
    m_title = new ElidedLabel(QString(), Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::ink});
    m_title->setObjectName(QStringLiteral("tasks.row.title"));
    LayoutRole::setMayElide(m_title); // the user's own title, on one line
    m_title->setAttribute(Qt::WA_TransparentForMouseEvents);
    nameBlock->addWidget(m_title);
    m_field = new PlainLineEdit;
    m_field->setObjectName(QStringLiteral("tasks.row.renameField"));
    m_field->setFont(Kiv::font(13, Kiv::Design::serif));
    m_field->setAccessibleName(L(QStringLiteral("名前を変える")));
    m_field->hide();
    nameBlock->addWidget(m_field);
    m_subtitle = new ElidedLabel(QString(), Kiv::font(12), {Kiv::Colour::inkFaint});
    m_subtitle->setObjectName(QStringLiteral("tasks.row.subtitle"));
    m_subtitle->setAttribute(Qt::WA_TransparentForMouseEvents);
    nameBlock->addWidget(m_subtitle);
    nameBlock->addStretch(1);
    connect(m_nameArea, &QAbstractButton::clicked, this, [this] {
        if (!isEditing())
            openActions();
    });
    // Return and the loss of focus both end a rename; the second does nothing.
    connect(m_field, &QLineEdit::editingFinished, this, &TodoRow::commitEdit);
    titleBlock->addWidget(m_nameArea, 1);

    m_dot = new QWidget;
    m_dot->setObjectName(QStringLiteral("tasks.row.currentDot"));
    m_dot->setFixedSize(5, 5);
    m_dot->setToolTip(L(QStringLiteral("いま選んでいるもの")));
    m_dot->setAccessibleName(L(QStringLiteral("いま選んでいるもの")));
    struct DotPainter : QObject
    {
        using QObject::QObject;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() != QEvent::Paint)
                return false;
            auto *w = static_cast<QWidget *>(watched);
            QPainter painter(w);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(Kiv::vermilion());
            painter.drawEllipse(QRectF(w->rect()));
            return true;
        }
    };
    m_dot->installEventFilter(new DotPainter(m_dot));
    titleBlock->addWidget(m_dot, 0, Qt::AlignVCenter);

    InkLook noteLook;
    noteLook.symbol = Symbol::note;
    noteLook.symbolSize = 11 * Kiv::scale();
    noteLook.fixedSize = QSizeF(18, std::ceil(SymbolPainter::size(11 * Kiv::scale()).height()));
    m_noteButton = new InkButton;
    m_noteButton->setObjectName(QStringLiteral("tasks.row.note"));
    m_noteButton->setLook(noteLook);
    connect(m_noteButton, &InkButton::clicked, this, &TodoRow::openNote);
    titleBlock->addWidget(m_noteButton, 0, Qt::AlignVCenter);
    m_beginButton = new InkButton(L(QStringLiteral("始める")),
                                  InkLook::plain(Kiv::font(12), {Kiv::Colour::indigo}, {Kiv::Colour::indigo}));
    m_beginButton->setObjectName(QStringLiteral("tasks.row.begin"));
    connect(m_beginButton, &InkButton::clicked, this, &TodoRow::begin);
    titleBlock->addWidget(m_beginButton, 0, Qt::AlignVCenter);
    content->addLayout(titleBlock, 1);

    m_reorderable = new Reorderable(this);

    if (m_context.model) {
        connect(&m_context.model->taskHub(), &TaskHub::selectedChanged, this, &TodoRow::refresh);
        connect(&m_context.model->days(), &DayNoteStore::changed, this, &TodoRow::refresh);
    }
    if (m_editing)
        connect(m_editing, &EditingTask::changed, this, &TodoRow::refresh);
}

TodoRow::~TodoRow()
{
    if (m_justWrittenWait)
        Clock::current().cancel(m_justWrittenWait);
}

void TodoRow::set(const TodoItem &item, bool overdue, bool justWritten)
{
    const bool first = !m_hasItem;
    const bool justWrittenChanged = justWritten != m_justWritten;
    m_item = item;
    m_hasItem = true;
    m_overdue = overdue;
    m_justWritten = justWritten;
    // The marks of a task just added come at once and fade out over 0.4 s
    // (ease-out) when the list lets them go.
    if (justWritten || first)
        m_justMark.setValue(justWritten ? 1 : 0);
    else if (justWrittenChanged)
        m_justMark.start(this, [this] { update(); }, 1, 0, kJustWrittenFadeMs, Motion::easeOut());
    refresh();
    if ((first || justWrittenChanged) && m_shownOnce)
        armJustWritten();
}

std::optional<QUuid> TodoRow::localId() const
{
    return LocalTaskSource::localId(m_item.ref);
}

std::optional<LocalTask> TodoRow::localTask() const
{
    return m_context.model ? m_context.model->localTask(m_item.ref) : std::nullopt;
}

QList<QDateTime> TodoRow::placedDays() const
{
    const std::optional<LocalTask> task = localTask();
    if (!task)
        return {};
    return m_context.model->placedDays(task->id, Clock::current().now());
}

QString TodoRow::sourceName() const
{
    if (m_context.model)
        if (TaskSource *source = m_context.model->taskHub().source(m_item.ref))
            return source->displayName();
    return L(QStringLiteral("向こう"));
}

bool TodoRow::isSelected() const
{
    if (!m_context.model)
        return false;
    const std::optional<TodoItem> selected = m_context.model->taskHub().selected();
    return selected && selected->ref == m_item.ref;
}

bool TodoRow::isEditing() const
{
    return !m_context.snapshot && m_editing && m_editing->is(m_item.ref);
}

bool TodoRow::showsActions() const
{
    return m_actions && m_actions->isVisible();
}
bool TodoRow::showsDatePicker() const
{
    return m_datePicker && m_datePicker->isVisible();
}
bool TodoRow::showsPlacePicker() const
{
    return m_placePicker && m_placePicker->isVisible();
}
bool TodoRow::showsNote() const
{
    return m_note && m_note->isVisible();
}
Popover *TodoRow::actionsPopover() const
{
    return showsActions() ? m_actions.data() : nullptr;
}
Popover *TodoRow::datePopover() const
{
    return showsDatePicker() ? m_datePicker.data() : nullptr;
}
Popover *TodoRow::placePopover() const
{
    return showsPlacePicker() ? m_placePicker.data() : nullptr;
}
Popover *TodoRow::notePopover() const
{
    return showsNote() ? m_note.data() : nullptr;
}

bool TodoRow::holdsState() const
{
    return showsActions() || showsDatePicker() || showsPlacePicker() || showsNote() || isEditing() || m_justWritten ||
           m_justMark.isRunning();
}

QString TodoRow::subtitle() const
{
    return TodoRowText::subtitle(m_item, placedDays(), Clock::current().now());
}

QString TodoRow::helpText() const
{
    return TodoRowText::helpText(m_item);
}

void TodoRow::refresh()
{
    if (!m_hasItem)
        return;
    const bool editing = isEditing();
    m_title->setText(m_item.title);
    m_title->setVisible(!editing);
    if (editing && m_field->isHidden()) {
        m_field->show();
        m_field->setFocus(Qt::OtherFocusReason);
    } else if (!editing && !m_field->isHidden()) {
        m_field->hide();
    }
    const QString facts = subtitle();
    m_subtitle->setText(facts);
    m_subtitle->setVisible(!facts.isEmpty());
    m_subtitle->setTone(m_overdue ? Tone{Kiv::Colour::vermilion, 0.9} : Tone{Kiv::Colour::inkFaint});
    m_nameArea->setToolTip(helpText());
    m_nameArea->setAccessibleName(m_item.title);
    m_nameArea->setAccessibleDescription(helpText());
    m_completion->setAccessibleDescription(L(QStringLiteral("{0} を終えたことにします"), m_item.title));
    m_dot->setVisible(isSelected());

    const bool note = TodoRowText::hasUserNote(m_item);
    InkLook noteLook = m_noteButton->look();
    noteLook.symbol = note ? Symbol::noteText : Symbol::note;
    noteLook.foreground = noteLook.foregroundHover = note ? Tone{Kiv::Colour::indigo} : Tone{Kiv::Colour::inkSoft};
    m_noteButton->setLook(noteLook);
    m_noteButton->setName(L(QStringLiteral("覚え書き")));
    m_noteButton->setToolTip(TodoRowText::noteHelp(m_item));
    const bool actions = m_hovering && !editing;
    m_noteButton->setVisible(actions);
    m_beginButton->setVisible(actions);
    m_completion->setRowHovered(m_hovering);
    if (m_panel)
        m_panel->refresh();
    update();
}

void TodoRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(12.5, 0.5, -12.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(card, 9, 9);
    painter.fillPath(path, Kiv::paperRaised(m_hovering ? 1.0 : 0.5));
    const double mark = m_justMark.value();
    if (mark > 0)
        painter.fillPath(path, Kiv::indigo(0.12 * mark));
    const QColor outline = Motion::mix(Kiv::hairline(m_hovering ? 1.0 : 0.4), Kiv::indigo(0.55), mark);
    painter.strokePath(path, QPen(outline, 1));
}

void TodoRow::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    setHovering(true);
}

void TodoRow::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    setHovering(false);
}

void TodoRow::setHovering(bool hovering)
{
    if (hovering == m_hovering)
        return;
    m_hovering = hovering;
    refresh();
}

void TodoRow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        armJustWritten();
    }
}

void TodoRow::armJustWritten()
{
    if (m_justWrittenWait) {
        Clock::current().cancel(m_justWrittenWait);
        m_justWrittenWait = 0;
    }
    // The panel of a task just added opens by itself after half a second;
    // a wait overtaken by a change (another task added) opens nothing.
    if (!m_justWritten || m_context.snapshot)
        return;
    // It opens aside: the user may be typing the next task already.
    m_justWrittenWait = Clock::current().schedule(500, [this] {
        m_justWrittenWait = 0;
        openActions(true);
    });
}

void TodoRow::complete()
{
    AppModel *model = m_context.model;
    if (!model)
        return;
    // Every click sends its own completion; a failure is told by the model,
    // which outlives the row.
    QPointer<AppModel> guard(model);
    model->taskHub().complete(m_item.ref, [guard](bool ok) {
        if (!ok && guard)
            guard->showNotice(L(QStringLiteral("完了にできませんでした。")));
    });
}

void TodoRow::begin()
{
    if (m_take)
        m_take();
    else if (m_context.model)
        m_context.model->take(m_item);
}

void TodoRow::closeActions()
{
    if (m_actions)
        m_actions->close();
}

void TodoRow::openActions(bool aside)
{
    if (!m_context.model || m_context.snapshot)
        return;
    if (!m_actions) {
        m_actions = new Popover(this);
        m_actions->setObjectName(QStringLiteral("tasks.row.actionsPopover"));
        m_panel = new ActionPanel(this);
        m_actions->setContent(m_panel);
    }
    m_panel->refresh();
    if (aside)
        m_actions->openAside(Qt::BottomEdge);
    else if (!m_actions->isVisible() || m_actions->isAside())
        m_actions->open(Qt::BottomEdge);
}

void TodoRow::openNote()
{
    if (!m_context.model || m_context.snapshot)
        return;
    if (m_note)
        m_note->deleteLater();
    m_note = new Popover(this);
    m_note->setObjectName(QStringLiteral("tasks.row.notePopover"));

    auto *column = new QWidget;
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(new ElidedLabel(L(QStringLiteral("覚え書き")), headingFont(), {Kiv::Colour::inkSoft}));

    // The editor on a rounded sheet of paper with a hairline edge.
    auto *sheet = new QWidget;
    auto *sheetLayout = new QVBoxLayout(sheet);
    sheetLayout->setContentsMargins(8, 8, 8, 8);
    auto *editor = new QPlainTextEdit;
    editor->setObjectName(QStringLiteral("tasks.row.noteEditor"));
    editor->setAccessibleName(L(QStringLiteral("覚え書き")));
    editor->setFrameShape(QFrame::NoFrame);
    editor->setFont(Kiv::font(13, Kiv::Design::serif));
    PlainLineEdit::applyPlainPalette(editor, {Kiv::Colour::ink});
    PlainLineEdit::applyPlainPalette(editor->viewport(), {Kiv::Colour::ink});
    editor->setTabChangesFocus(true);
    editor->setPlainText(ProgressNote::userText(m_item.notes));
    sheetLayout->addWidget(editor);
    sheet->setFixedHeight(int(std::round(120 * Kiv::scale())) + 16);
    struct SheetPainter : QObject
    {
        using QObject::QObject;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() != QEvent::Paint)
                return false;
            auto *w = static_cast<QWidget *>(watched);
            QPainter painter(w);
            painter.setRenderHint(QPainter::Antialiasing);
            QPainterPath path;
            path.addRoundedRect(QRectF(w->rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
            painter.fillPath(path, Kiv::paper());
            painter.strokePath(path, QPen(Kiv::hairline(), 1));
            return true;
        }
    };
    sheet->installEventFilter(new SheetPainter(sheet));
    layout->addWidget(sheet);

    auto *footer = new QHBoxLayout;
    footer->addWidget(new ElidedLabel(L(QStringLiteral("集中の積み上げは、別に残ります")), Kiv::font(10),
                                      {Kiv::Colour::inkFaint}),
                      1);
    auto *done = new InkButton(L(QStringLiteral("決める")),
                               InkLook::plain(Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::indigo},
                                              {Kiv::Colour::indigo}));
    done->setObjectName(QStringLiteral("tasks.row.noteDone"));
    footer->addWidget(done);
    layout->addLayout(footer);
    const TaskRef ref = m_item.ref;
    QPointer<Popover> popover = m_note;
    connect(done, &InkButton::clicked, this, [this, editor, ref, popover] {
        m_context.model->taskHub().setNotes(ref, editor->toPlainText());
        if (popover)
            popover->close();
    });
    // Ctrl+Return saves from inside the editor, where Return breaks the line.
    struct SaveKey : QObject
    {
        InkButton *button;
        SaveKey(QObject *parent, InkButton *b)
            : QObject(parent)
            , button(b)
        {
        }
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() != QEvent::KeyPress)
                return false;
            auto *key = static_cast<QKeyEvent *>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                && key->modifiers().testFlag(Qt::ControlModifier)) {
                button->click();
                return true;
            }
            return false;
        }
    };
    editor->installEventFilter(new SaveKey(editor, done));

    m_note->setContent(padded(column, 14 * Kiv::scale(), 300 * Kiv::scale()));
    m_note->open(Qt::BottomEdge);
    editor->setFocus(Qt::PopupFocusReason);
}

void TodoRow::openDueDate()
{
    if (!m_context.model || m_context.snapshot || !TodoRowText::isLocal(m_item.ref))
        return;
    m_pickedDate = m_item.due.value_or(PlaceDay::day(0, Clock::current().now()));
    if (m_datePicker)
        m_datePicker->deleteLater();
    m_datePicker = new Popover(this);
    m_datePicker->setObjectName(QStringLiteral("tasks.row.duePopover"));

    auto *column = new QWidget;
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(new ElidedLabel(L(QStringLiteral("いつまでに")), headingFont(), {Kiv::Colour::inkSoft}));
    // The month grid of the placement calendar, in the interface language:
    // a click chooses the day, Return on a day chooses it and is done.
    auto *calendar = new MonthGrid(QStringLiteral("tasks.row.dueCalendar"));
    calendar->setObjectName(QStringLiteral("tasks.row.dueCalendar"));
    calendar->setAccessibleName(L(QStringLiteral("期限")));
    calendar->setToday(DayMath::dateIn(Clock::current().now()));
    calendar->setMonth(DayMath::dateIn(m_pickedDate));
    calendar->setMarked({DayMath::dateIn(m_pickedDate)});
    connect(calendar, &MonthGrid::dayClicked, this, [this, calendar](const QDate &day) {
        m_pickedDate = PlaceDay::of(day.startOfDay());
        calendar->setMarked({day});
    });
    layout->addWidget(calendar);

    auto *buttons = new QHBoxLayout;
    const QFont font = Kiv::font(13, Kiv::Design::serif);
    auto *none = new InkButton(L(QStringLiteral("日を決めない")),
                               InkLook::plain(font, {Kiv::Colour::inkSoft}, {Kiv::Colour::ink}));
    none->setObjectName(QStringLiteral("tasks.row.dueNone"));
    auto *done = new InkButton(L(QStringLiteral("決める")), InkLook::plain(font, {Kiv::Colour::indigo},
                                                                           {Kiv::Colour::indigo}));
    done->setObjectName(QStringLiteral("tasks.row.dueDone"));
    buttons->addWidget(none);
    buttons->addStretch(1);
    buttons->addWidget(done);
    layout->addLayout(buttons);
    QPointer<Popover> popover = m_datePicker;
    connect(none, &InkButton::clicked, this, [this, popover] {
        setDue(std::nullopt);
        if (popover)
            popover->close();
    });
    const auto pick = [this, popover] {
        setDue(PlaceDay::of(m_pickedDate));
        if (popover)
            popover->close();
    };
    connect(done, &InkButton::clicked, this, pick);
    // Return on a day of the month picks it, as the default button would.
    connect(calendar, &MonthGrid::dayActivated, this, pick);

    auto *box = padded(column, 14 * Kiv::scale(), std::nullopt);
    box->setMinimumWidth(int(std::round(260 * Kiv::scale())));
    m_datePicker->setContent(box);
    m_datePicker->open(Qt::BottomEdge);
    if (InkButton *day = calendar->cellOf(DayMath::dateIn(m_pickedDate)))
        day->setFocus(Qt::PopupFocusReason);
}

void TodoRow::openPlaces()
{
    if (!m_context.model || m_context.snapshot)
        return;
    if (m_placePicker)
        m_placePicker->deleteLater();
    m_placePicker = new Popover(this);
    m_placePicker->setObjectName(QStringLiteral("tasks.row.placePopover"));
    const std::optional<LocalTask> task = localTask();
    QWidget *content = new QWidget;
    if (task) {
        auto *calendar = new PlaceCalendar(m_context, *task);
        QPointer<Popover> popover = m_placePicker;
        connect(calendar, &PlaceCalendar::closeRequested, this, [popover] {
            if (popover)
                popover->close();
        });
        content = padded(calendar, 14 * Kiv::scale(), 300 * Kiv::scale());
    }
    m_placePicker->setContent(content);
    m_placePicker->open(Qt::BottomEdge);
}

void TodoRow::setDue(const std::optional<QDateTime> &due)
{
    // Only a local task with a readable id has its due date here.
    const std::optional<QUuid> id = localId();
    if (!id || !m_context.model)
        return;
    m_context.model->taskHub().local().setDue(*id, due);
    m_context.model->taskHub().reload();
}

void TodoRow::moveToPractice(bool occasional)
{
    const std::optional<QUuid> id = localId();
    if (!id || !m_context.model)
        return;
    if (occasional)
        m_context.model->taskHub().local().setOccasional(*id, true);
    else
        m_context.model->taskHub().local().setDaily(*id, true);
    m_context.model->taskHub().reload();
}

void TodoRow::openSource()
{
    // A reminder is edited in the file manager's view of its list folder.
    if (!m_context.model || m_item.ref.source != RemindersTaskSource::kSourceID)
        return;
    std::optional<QString> folder = m_item.ref.listID;
    if (!folder || folder->isEmpty()) {
        const std::optional<Reminder> reminder = m_context.model->taskHub().reminders().store().reminder(m_item.ref.id);
        if (reminder && !reminder->listId.isEmpty())
            folder = reminder->listId;
    }
    if (folder && !folder->isEmpty())
        m_context.desk().openFolder(*folder);
}

void TodoRow::beginEdit()
{
    if (!TodoRowText::isLocal(m_item.ref) || !m_editing)
        return;
    m_field->setText(m_item.title);
    m_editing->set(m_item.ref);
    refresh();
    m_field->setFocus(Qt::OtherFocusReason);
    m_field->selectAll();
}

void TodoRow::commitEdit()
{
    if (!m_editing || !m_editing->is(m_item.ref))
        return;
    const QString draft = m_field->text();
    // Out of edit first, so the focus loss that follows commits nothing.
    m_editing->set(std::nullopt);
    if (m_context.model)
        m_context.model->taskHub().rename(m_item.ref, draft);
}

QMenu *TodoRow::buildMenu()
{
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("tasks.row.menu"));
    menu->addAction(L(QStringLiteral("これで始める")), this, &TodoRow::begin);
    if (TodoRowText::isLocal(m_item.ref)) {
        menu->addSeparator();
        QMenu *due = menu->addMenu(L(QStringLiteral("いつまでに")));
        due->addAction(L(QStringLiteral("今日のうちに")), this,
                       [this] { setDue(PlaceDay::day(0, Clock::current().now())); });
        due->addAction(L(QStringLiteral("明日")), this, [this] { setDue(PlaceDay::day(1, Clock::current().now())); });
        due->addAction(L(QStringLiteral("日を選ぶ…")), this, &TodoRow::openDueDate);
        due->addSeparator();
        due->addAction(L(QStringLiteral("日を決めない")), this, [this] { setDue(std::nullopt); });
        if (const std::optional<LocalTask> task = localTask()) {
            QMenu *place = menu->addMenu(L(QStringLiteral("置く")));
            const LocalTask t = *task;
            place->addAction(L(QStringLiteral("今日に置く")), this, [this, t] {
                m_context.model->placeOnDay(t, PlaceDay::day(0, Clock::current().now()));
            });
            place->addAction(L(QStringLiteral("明日に置く")), this, [this, t] {
                m_context.model->placeOnDay(t, PlaceDay::day(1, Clock::current().now()));
            });
            place->addAction(L(QStringLiteral("日を選んで置く…")), this, &TodoRow::openPlaces);
            if (!placedDays().isEmpty()) {
                place->addSeparator();
                place->addAction(L(QStringLiteral("置いたのを外す")), this,
                                 [this, t] { m_context.model->unplaceFrom(t.id, Clock::current().now()); });
            }
        }
        menu->addSeparator();
        QMenu *edit = menu->addMenu(L(QStringLiteral("直す")));
        edit->addAction(L(QStringLiteral("覚え書き…")), this, &TodoRow::openNote);
        edit->addAction(L(QStringLiteral("名前を変える")), this, &TodoRow::beginEdit);
        edit->addSeparator();
        edit->addAction(L(QStringLiteral("行持（日々）に移す")), this, [this] { moveToPractice(false); });
        edit->addAction(L(QStringLiteral("行持（折々）に移す")), this, [this] { moveToPractice(true); });
        edit->addSeparator();
        edit->addAction(L(QStringLiteral("放下する（やらないと決める）")), this,
                        [this] { m_context.model->taskHub().setAside(m_item.ref); });
        edit->addAction(L(QStringLiteral("消す")), this, [this] { m_context.model->taskHub().deleteTask(m_item.ref); });
    } else {
        const QString name = sourceName();
        menu->addSeparator();
        menu->addAction(L(QStringLiteral("覚え書き…")), this, &TodoRow::openNote);
        menu->addSeparator();
        menu->addAction(L(QStringLiteral("{0}で開いて直す"), name), this, &TodoRow::openSource);
        QAction *inert = menu->addAction(L(QStringLiteral("名前と期限は{0}側で"), name));
        inert->setEnabled(false);
    }
    return menu;
}

void TodoRow::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_context.model || m_context.snapshot)
        return;
    QMenu *menu = buildMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}
