#include "views/daily/DailyCard.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "platform/time/Clock.h"
#include "sources/TaskHub.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "views/daily/DailyCardPanel.h"
#include "views/daily/DailyNotePanel.h"
#include "views/daily/PracticeShelf.h"
#include "views/daily/TodayMark.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/PlainLineEdit.h"
#include "views/ink/Popover.h"
#include "views/tasks/PlaceCalendar.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr int kOuter = 14; // outside the card's paper, left and right
constexpr int kInnerSide = 14;
constexpr int kInnerTop = 11;
constexpr int kMarkSide = 26;

// The title: up to two lines, the whole of it a button that opens the
// action panel.
class CardTitle : public QAbstractButton
{
public:
    explicit CardTitle(QWidget *parent)
        : QAbstractButton(parent)
    {
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
        m_label = new ElidedLabel(QString(), Kiv::font(14, Kiv::Design::serif), {Kiv::Colour::ink}, this);
        m_label->setMaxLines(2);
        m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
        QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }
    void setTitle(const QString &title)
    {
        setText(title);
        setAccessibleName(title);
        m_label->setText(title);
        updateGeometry();
    }
    QSize sizeHint() const override { return QSize(m_label->sizeHint().width(), heightForWidth(200)); }
    QSize minimumSizeHint() const override { return QSize(40, m_label->minimumSizeHint().height()); }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return m_label->heightForWidth(width); }

protected:
    void resizeEvent(QResizeEvent *) override { m_label->setGeometry(rect()); }
    // Return opens the panel as Space does, like every button here.
    void keyPressEvent(QKeyEvent *event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
            click();
            event->accept();
            return;
        }
        QAbstractButton::keyPressEvent(event);
    }
    void paintEvent(QPaintEvent *) override
    {
        if (!hasFocus())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Kiv::indigo(0.6), 1));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }

private:
    ElidedLabel *m_label = nullptr;
};

} // namespace

DailyCard::DailyCard(const ViewContext &context, const TodoItem &item, std::function<void()> take, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_item(item)
    , m_take(std::move(take))
{
    setObjectName(QStringLiteral("daily.card"));
    setAttribute(Qt::WA_Hover);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(kOuter + kInnerSide, kInnerTop, kOuter + kInnerSide, kInnerTop);
    column->setSpacing(8);

    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    m_mark = new TodayMark(this);
    m_mark->setObjectName(QStringLiteral("daily.card.today"));
    row->addWidget(m_mark, 0, Qt::AlignVCenter);
    auto *title = new CardTitle(this);
    title->setObjectName(QStringLiteral("daily.card.title"));
    title->setToolTip(L("押すと、始める・いつに置く・名前など"));
    m_title = title;
    row->addWidget(m_title, 1);
    m_field = new PlainLineEdit(this);
    m_field->setObjectName(QStringLiteral("daily.card.rename"));
    m_field->setFont(Kiv::font(14, Kiv::Design::serif));
    m_field->setTone({Kiv::Colour::ink});
    m_field->setAccessibleName(L("名前を変える"));
    m_field->hide();
    row->addWidget(m_field, 1);
    column->addLayout(row);

    auto *tallyRow = new QHBoxLayout;
    tallyRow->setSpacing(0);
    m_tallyIndent = new QSpacerItem(kMarkSide, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    tallyRow->addSpacerItem(m_tallyIndent);
    m_tally = new ElidedLabel(QString(), Kiv::font(12), {Kiv::Colour::inkFaint}, this);
    m_tally->setObjectName(QStringLiteral("daily.card.tally"));
    tallyRow->addWidget(m_tally, 1);
    column->addLayout(tallyRow);

    connect(m_mark, &QAbstractButton::clicked, this, [this] {
        if (m_context.model)
            m_context.model->taskHub().toggleDone(m_item.ref);
    });
    connect(m_title, &QAbstractButton::clicked, this, &DailyCard::openPanel);
    // Return and the loss of focus both end the rename, once. (A window
    // or pop-up taking the focus for a moment is no loss.)
    connect(m_field, &QLineEdit::returnPressed, this, &DailyCard::commitRename);
    m_field->installEventFilter(this);

    setItem(item);
}

std::optional<LocalTask> DailyCard::task() const
{
    if (!m_context.model)
        return std::nullopt;
    return PracticeShelf::taskOf(m_item, m_context.model->taskHub().local());
}

void DailyCard::setItem(const TodoItem &item)
{
    m_item = item;
    static_cast<CardTitle *>(m_title)->setTitle(item.title);
    refresh();
}

void DailyCard::refresh()
{
    const std::optional<LocalTask> t = task();
    const QDateTime now = Clock::current().now();
    const bool mark = PracticeShelf::showsTodayMark(t);
    m_mark->setVisible(mark);
    m_mark->set(m_item.title, PracticeShelf::isDoneToday(t, now));
    const QList<SessionRecord> records = m_context.model ? m_context.model->store().records() : QList<SessionRecord>();
    m_tally->setText(PracticeShelf::tally(PracticeShelf::lastWorked(m_item, t, records)));
    m_tallyIndent->changeSize(mark ? kMarkSide : 2, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    if (layout())
        layout()->invalidate();
}

QString DailyCard::tallyText() const
{
    return m_tally->text();
}

bool DailyCard::showsTodayMark() const
{
    return !m_mark->isHidden();
}

void DailyCard::startRename()
{
    if (m_panel)
        m_panel->close();
    m_editing = true;
    m_field->setText(m_item.title);
    m_title->hide();
    m_field->show();
    m_field->setFocus(Qt::OtherFocusReason);
    m_field->selectAll();
}

bool DailyCard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            commitRename();
    }
    return QWidget::eventFilter(watched, event);
}

void DailyCard::commitRename()
{
    if (!m_editing)
        return;
    m_editing = false;
    const QString draft = m_field->text();
    m_field->hide();
    m_title->show();
    if (m_context.model)
        m_context.model->taskHub().rename(m_item.ref, draft);
}

void DailyCard::openPanel()
{
    if (m_editing || m_context.snapshot)
        return;
    if (m_panel)
        m_panel->close();
    auto *popover = new Popover(m_title);
    popover->setAttribute(Qt::WA_DeleteOnClose);
    auto *content = new DailyCardPanel(m_context, m_item, task(), popover);
    popover->setContent(content);
    // Each action closes the panel first, then acts.
    connect(content, &DailyCardPanel::begin, this, [this, popover] {
        popover->close();
        if (m_take)
            m_take();
    });
    connect(content, &DailyCardPanel::note, this, [this, popover] {
        popover->close();
        openNote();
    });
    connect(content, &DailyCardPanel::rename, this, [this, popover] {
        popover->close();
        startRename();
    });
    connect(content, &DailyCardPanel::calendar, this, [this, popover] {
        popover->close();
        openPlaces();
    });
    m_panel = popover;
    popover->open(Qt::BottomEdge);
}

void DailyCard::openPlaces()
{
    const std::optional<LocalTask> local = task();
    if (m_context.snapshot || !m_context.model || !local)
        return;
    if (m_places)
        m_places->close();
    auto *popover = new Popover(m_title);
    popover->setAttribute(Qt::WA_DeleteOnClose);
    auto *box = new QWidget;
    auto *layout = new QVBoxLayout(box);
    const int padding = int(std::round(14 * Kiv::scale()));
    layout->setContentsMargins(padding, padding, padding, padding);
    auto *calendar = new PlaceCalendar(m_context, *local);
    layout->addWidget(calendar);
    box->setFixedWidth(int(std::round(300 * Kiv::scale())));
    connect(calendar, &PlaceCalendar::closeRequested, popover, &QWidget::close);
    popover->setContent(box);
    m_places = popover;
    m_calendar = calendar;
    popover->open(Qt::BottomEdge);
    calendar->setFocus(Qt::PopupFocusReason);
}

void DailyCard::openNote()
{
    if (m_context.snapshot)
        return;
    if (m_note)
        m_note->close();
    auto *popover = new Popover(m_title);
    popover->setAttribute(Qt::WA_DeleteOnClose);
    auto *content = new DailyNotePanel(ProgressNote::userText(m_item.notes), popover);
    popover->setContent(content);
    connect(content, &DailyNotePanel::done, this, [this, popover](const QString &text) {
        if (m_context.model)
            m_context.model->taskHub().setNotes(m_item.ref, text);
        popover->close();
    });
    m_note = popover;
    popover->open(Qt::BottomEdge);
    content->editor()->setFocus();
}

DailyCardPanel *DailyCard::panel() const
{
    return m_panel ? static_cast<DailyCardPanel *>(m_panel->content()) : nullptr;
}

PlaceCalendar *DailyCard::placePicker() const
{
    return m_places ? m_calendar.data() : nullptr;
}

DailyNotePanel *DailyCard::notePanel() const
{
    return m_note ? static_cast<DailyNotePanel *>(m_note->content()) : nullptr;
}

void DailyCard::addMoves(QMenu *menu, const ViewContext &context, const TodoItem &item,
                         const std::optional<LocalTask> &task)
{
    AppModel *model = context.model;
    const TaskRef ref = item.ref;
    const bool occasional = PracticeShelf::moveMakesOccasional(task);
    QAction *move = menu->addAction(PracticeShelf::moveLabel(task));
    move->setObjectName(QStringLiteral("daily.move"));
    QObject::connect(move, &QAction::triggered, menu, [model, ref, occasional] {
        if (model)
            PracticeShelf::setOccasional(model->taskHub(), ref, occasional);
    });
    QAction *back = menu->addAction(L("作務に戻す"));
    back->setObjectName(QStringLiteral("daily.backToTasks"));
    QObject::connect(back, &QAction::triggered, menu, [model, ref] {
        if (model)
            PracticeShelf::setDaily(model->taskHub(), ref, false);
    });
    menu->addSeparator();
    QAction *remove = menu->addAction(L("消す"));
    remove->setObjectName(QStringLiteral("daily.delete"));
    QObject::connect(remove, &QAction::triggered, menu, [model, ref] {
        if (model)
            model->taskHub().deleteTask(ref);
    });
}

QMenu *DailyCard::buildMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("daily.card.menu"));
    QAction *begin = menu->addAction(L("これで始める"));
    begin->setObjectName(QStringLiteral("daily.begin"));
    connect(begin, &QAction::triggered, this, [this] {
        if (m_take)
            m_take();
    });
    QAction *rename = menu->addAction(L("名前を変える"));
    rename->setObjectName(QStringLiteral("daily.rename"));
    connect(rename, &QAction::triggered, this, &DailyCard::startRename);
    addMoves(menu, m_context, m_item, task());
    return menu;
}

void DailyCard::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_context.snapshot)
        return;
    QMenu *menu = buildMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void DailyCard::setHovering(bool hovering)
{
    if (hovering == m_hovering)
        return;
    m_hovering = hovering;
    m_mark->setCardHover(hovering);
    update();
}

void DailyCard::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    setHovering(true);
}

void DailyCard::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    setHovering(false);
}

void DailyCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(kOuter + 0.5, 0.5, -kOuter - 0.5, -0.5), 10, 10);
    painter.fillPath(path, Kiv::paperRaised(m_hovering ? 1.0 : 0.55));
    painter.strokePath(path, QPen(Kiv::hairline(m_hovering ? 1.0 : 0.45), 1));
}
