#include "views/tasks/TodoListView.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "model/RootTab.h"
#include "sources/RemindersTaskSource.h"
#include "sources/TaskHub.h"
#include "sources/TodoOrder.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/EnsoMark.h"
#include "views/ink/InkButton.h"
#include "views/ink/Motion.h"
#include "views/ink/PlainLineEdit.h"
#include "views/ink/Reorderable.h"
#include "views/ink/Reveal.h"
#include "views/ink/SymbolLabel.h"
#include "views/ink/TextBlock.h"
#include "views/tasks/ClosedRow.h"
#include "views/tasks/TodoGroups.h"
#include "views/tasks/TodoRow.h"
#include "views/tasks/TodoRowPool.h"

#include <QEvent>
#include <limits>
#include <algorithm>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

// Paints a rounded sheet behind a widget: the composer and the invitation.
class Sheet : public QObject
{
public:
    using Paint = std::function<void(QPainter &, const QRectF &)>;
    Sheet(QWidget *on, Paint paint)
        : QObject(on)
        , m_paint(std::move(paint))
    {
        on->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched == parent()) {
            auto *w = static_cast<QWidget *>(watched);
            QPainter painter(w);
            painter.setRenderHint(QPainter::Antialiasing);
            m_paint(painter, QRectF(w->rect()).adjusted(0.5, 0.5, -0.5, -0.5));
        } else if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            static_cast<QWidget *>(parent())->update();
        }
        return false;
    }

private:
    Paint m_paint;
};

// The heading of a date group: its title and a hairline to the right.
QWidget *sectionTitle(int rank)
{
    auto *title = new QWidget;
    title->setObjectName(QStringLiteral("tasks.section%1").arg(rank));
    auto *row = new QHBoxLayout(title);
    row->setContentsMargins(18, 12, 18, 2);
    row->setSpacing(8);
    // The group titles of the task order, read in the language of the moment.
    static const char *const titles[] = {"日を過ぎたもの", "今日のうちに", "これから", "日を決めない"};
    auto *text = new ElidedLabel(L(QString::fromUtf8(titles[std::clamp(rank, 0, 3)])), Kiv::tracked(Kiv::font(12), 2.0, 0.24),
                                 {Kiv::Colour::inkSoft});
    text->setObjectName(QStringLiteral("tasks.sectionTitle"));
    text->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    row->addWidget(text);
    auto *rule = new QWidget;
    rule->setFixedHeight(1);
    new Sheet(rule, [](QPainter &p, const QRectF &r) { p.fillRect(r.adjusted(-0.5, -0.5, 0.5, 0.5), Kiv::hairline(0.7)); });
    row->addWidget(rule, 1, Qt::AlignVCenter);
    return title;
}

// A button whose whole rectangle is pressed: the invitation to the sweep.
class WholeButton : public QAbstractButton
{
public:
    WholeButton()
    {
        // As narrow as its texts can wrap, not as wide as they are.
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    }
    QSize sizeHint() const override { return layout() ? layout()->sizeHint() : QSize(); }
    QSize minimumSizeHint() const override { return layout() ? layout()->minimumSize() : QSize(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
        painter.fillPath(path, Kiv::paperRaised());
        painter.strokePath(path, QPen(hasFocus() ? Kiv::indigo(0.6) : Kiv::hairline(), 1));
    }
};

} // namespace

// One archive of closed tasks: a header with its count that folds it, the
// lines of its first `shown` tasks while open, and "show more". Opening,
// closing and paging move its height over 0.2 s (ease-out): the lines stand
// in a Reveal box, laid out at their full height and uncovered as it grows.
class TodoListView::Archive : public QWidget
{
public:
    static constexpr int kMotionMs = 200;

    Archive(const ViewContext &context, const QString &title, const QString &hint, const QString &name)
        : m_context(context)
        , m_title(title)
    {
        setObjectName(name);
        auto *column = new QVBoxLayout(this);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(5);
        InkLook look = InkLook::plain(Kiv::tracked(Kiv::font(12), 1.0, 0.12), {Kiv::Colour::inkSoft},
                                      {Kiv::Colour::ink});
        look.padding = QMarginsF(18, 12, 18, 0);
        look.symbolSize = 8 * Kiv::scale();
        look.symbolAfterText = true;
        m_header = new InkButton(QString(), look);
        m_header->setObjectName(name + QStringLiteral(".header"));
        m_header->setToolTip(hint);
        connect(m_header, &InkButton::clicked, this, [this] {
            if (m_open)
                m_shown = ArchivePage::kStep;
            m_open = !m_open;
            refresh();
            if (onResize)
                onResize();
        });
        column->addWidget(m_header, 0, Qt::AlignLeft);

        auto *body = new QWidget;
        auto *bodyColumn = new QVBoxLayout(body);
        bodyColumn->setContentsMargins(0, 0, 0, 0);
        bodyColumn->setSpacing(5);
        m_lines = new QVBoxLayout;
        m_lines->setSpacing(0);
        bodyColumn->addLayout(m_lines);
        InkLook more = InkLook::plain(Kiv::font(12), {Kiv::Colour::indigo}, {Kiv::Colour::indigo});
        more.padding = QMarginsF(18, 4, 18, 0);
        m_more = new InkButton(QString(), more, body);
        m_more->setObjectName(name + QStringLiteral(".more"));
        connect(m_more, &InkButton::clicked, this, [this] {
            m_shown += ArchivePage::kStep;
            refresh();
            if (onResize)
                onResize();
        });
        bodyColumn->addWidget(m_more, 0, Qt::AlignLeft);
        m_body = new Reveal(body, this);
        m_body->setObjectName(name + QStringLiteral(".body"));
        m_body->setMotion(kMotionMs, Motion::easeOut());
        m_body->setShownNow(false);
        // Every step of the motion moves what stands below; once closed,
        // the lines go.
        connect(m_body, &Reveal::stepped, this, [this] {
            if (!m_body->isMoving() && !m_body->isShown())
                refresh();
            if (onResize)
                onResize();
        });
        column->addWidget(m_body);
    }

    void setTasks(const QList<LocalTask> &tasks)
    {
        m_tasks = tasks;
        refresh();
    }
    bool isOpen() const { return m_open; }
    bool hasTasks() const { return !m_tasks.isEmpty(); }
    // Told when the archive's height changes (opened, closed, paged).
    std::function<void()> onResize;

    void refresh()
    {
        m_header->setText(m_title + QLatin1Char(' ') + QString::number(m_tasks.size()));
        InkLook look = m_header->look();
        look.symbol = m_open ? Symbol::chevronDown : Symbol::chevronRight;
        m_header->setLook(look);
        m_header->setAccessibleName(m_header->text());
        const bool rows = m_open || m_context.snapshot;
        // While it closes, the lines it had stay until they are covered.
        const bool closing = !rows && m_body->isShown() && m_body->isMoving();
        const ArchivePage page = ArchivePage::of(int(m_tasks.size()), rows ? m_shown : 0);
        // Lines show the tasks as the archive last read them; a change of
        // the store brings a new list and new lines.
        QList<LocalTask> wanted = m_tasks.mid(0, page.rows);
        const bool grew = rows && wanted.size() > m_shownTasks.size();
        if (wanted != m_shownTasks && !closing) {
            for (ClosedRow *line : m_rows) {
                line->hide();
                line->deleteLater();
            }
            m_rows.clear();
            for (const LocalTask &task : wanted) {
                auto *line = new ClosedRow(m_context, task, m_more->parentWidget());
                m_lines->addWidget(line);
                // Shown now, so the layout counts it from the start.
                line->show();
                m_rows << line;
            }
            m_shownTasks = wanted;
        }
        if (!closing) {
            m_more->setVisible(rows && page.remaining >= 1);
            m_more->setText(L(QStringLiteral("続きを見る（あと {0}）"), page.remaining));
        }
        if (rows != m_body->isShown())
            m_body->setShown(rows);
        else if (grew)
            m_body->follow();
        updateGeometry();
    }

private:
    ViewContext m_context;
    QString m_title;
    QList<LocalTask> m_tasks;
    QList<LocalTask> m_shownTasks;
    bool m_open = false;
    int m_shown = ArchivePage::kStep;
    InkButton *m_header = nullptr;
    Reveal *m_body = nullptr;
    QVBoxLayout *m_lines = nullptr;
    QList<ClosedRow *> m_rows;
    InkButton *m_more = nullptr;
};

TodoListView::TodoListView(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("tasks.list"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 12, 0, 0);
    column->setSpacing(0);

    // The composer.
    m_composerBox = new QWidget;
    m_composerBox->setObjectName(QStringLiteral("tasks.composerBox"));
    auto *composer = new QHBoxLayout(m_composerBox);
    composer->setContentsMargins(14, 10, 14, 10);
    composer->setSpacing(10);
    auto *plus = new SymbolLabel(Symbol::plus, 10 * Kiv::scale(), {Kiv::Colour::inkFaint});
    plus->setWeight(SymbolWeight::light);
    composer->addWidget(plus);
    const QString placeholder = L(QStringLiteral("なすことを書く"));
    if (m_context.snapshot) {
        auto *still = new ElidedLabel(placeholder, Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::inkFaint});
        still->setObjectName(QStringLiteral("tasks.composer"));
        composer->addWidget(still, 1);
    } else {
        m_composer = new PlainLineEdit;
        m_composer->setObjectName(QStringLiteral("tasks.composer"));
        m_composer->setFont(Kiv::font(13, Kiv::Design::serif));
        m_composer->setPlaceholderText(placeholder);
        m_composer->setAccessibleName(placeholder);
        connect(m_composer, &QLineEdit::returnPressed, this, &TodoListView::commitDraft);
        composer->addWidget(m_composer, 1);
    }
    new Sheet(m_composerBox, [this](QPainter &p, const QRectF &r) {
        QPainterPath path;
        path.addRoundedRect(r, 9, 9);
        p.fillPath(path, Kiv::paperRaised(0.6));
        p.strokePath(path, QPen(Motion::mix(Kiv::hairline(0.6), Kiv::indigo(0.5), m_composerFocus.value()), 1));
    });
    // The outline moves to indigo and back over 0.15 s (ease-out) as the
    // field takes and gives up the keyboard.
    if (m_composer)
        m_composer->installEventFilter(this);
    auto *composerPad = new QHBoxLayout;
    composerPad->setContentsMargins(12, 0, 12, 6);
    composerPad->addWidget(m_composerBox);
    column->addLayout(composerPad);

    // The invitation to the sweep.
    auto *sweep = new WholeButton;
    sweep->setObjectName(QStringLiteral("tasks.sweepInvitation"));
    sweep->setAccessibleName(L(QStringLiteral("今日は四九日（しくにち）")));
    auto *sweepRow = new QHBoxLayout(sweep);
    sweepRow->setContentsMargins(12, 10, 12, 10);
    sweepRow->setSpacing(8);
    auto *dot = new QWidget;
    dot->setFixedSize(4, 4);
    new Sheet(dot, [](QPainter &p, const QRectF &r) {
        p.setPen(Qt::NoPen);
        p.setBrush(Kiv::vermilion());
        p.drawEllipse(r.adjusted(-0.5, -0.5, 0.5, 0.5));
    });
    sweepRow->addWidget(dot);
    auto *sweepText = new QVBoxLayout;
    sweepText->setSpacing(1);
    // Both lines wrap in a narrow window at a large text scale.
    for (ElidedLabel *line : {new ElidedLabel(L(QStringLiteral("今日は四九日（しくにち）")),
                                              Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::ink}),
                              new ElidedLabel(L(QStringLiteral("作務を払う日です")), Kiv::font(10),
                                              {Kiv::Colour::inkFaint})}) {
        line->setMaxLines(3);
        sweepText->addWidget(line);
    }
    sweepRow->addLayout(sweepText, 1);
    sweepRow->addSpacing(6);
    sweepRow->addWidget(new ElidedLabel(L(QStringLiteral("払う")), Kiv::font(12), {Kiv::Colour::indigo}));
    for (QWidget *w : sweep->findChildren<QWidget *>())
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
    sweep->setFocusPolicy(Qt::StrongFocus);
    connect(sweep, &QAbstractButton::clicked, this, [this] {
        if (m_context.model)
            m_context.model->beginSweep();
    });
    m_sweep = new QWidget;
    auto *sweepPad = new QHBoxLayout(m_sweep);
    sweepPad->setContentsMargins(12, 0, 12, 8);
    sweepPad->addWidget(sweep);
    column->addWidget(m_sweep);

    m_pages = new QStackedWidget;
    column->addWidget(m_pages, 1);

    // The empty state.
    m_empty = new QWidget;
    m_empty->setObjectName(QStringLiteral("tasks.emptyState"));
    auto *empty = new QVBoxLayout(m_empty);
    empty->setSpacing(8);
    empty->addStretch(1);
    empty->addWidget(new EnsoMark(52, 0.4), 0, Qt::AlignHCenter);
    empty->addSpacing(4);
    const auto centred = [](ElidedLabel *label) {
        label->setAlignment(Qt::AlignCenter);
        label->setMaxLines(3); // the lines wrap in a narrow window
        return label;
    };
    empty->addWidget(centred(new ElidedLabel(L(QStringLiteral("作務は、まだありません")),
                                             Kiv::font(14, Kiv::Design::serif), {Kiv::Colour::inkSoft})));
    empty->addWidget(centred(new ElidedLabel(L(QStringLiteral("上の欄に書くと、ここに並びます。")), Kiv::font(12),
                                             {Kiv::Colour::inkFaint})));
    empty->addSpacing(4);
    empty->addWidget(centred(new ElidedLabel(L(QStringLiteral("日々くり返す行いは「行持」へ。")), Kiv::font(12),
                                             {Kiv::Colour::inkFaint})));
    empty->addStretch(1);
    m_pages->addWidget(m_empty);

    // The list.
    m_scroll = new QScrollArea;
    m_scroll->setObjectName(QStringLiteral("tasks.scroll"));
    m_scroll->setAccessibleName(L(titleKey(RootTab::tasks)));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (m_context.snapshot)
        m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The content is one tall sheet on which only the rows in view stand;
    // its height is that of every entry of the list.
    m_content = new QWidget;
    m_content->setObjectName(QStringLiteral("tasks.content"));
    m_scroll->setWidgetResizable(false);
    m_scroll->setWidget(m_content);
    m_scroll->viewport()->installEventFilter(this);
    connect(m_scroll->verticalScrollBar(), &QScrollBar::valueChanged, this, &TodoListView::place);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_content->setAutoFillBackground(false);
    m_pages->addWidget(m_scroll);

    for (int rank = 0; rank < 4; ++rank)
        m_sectionTitles << sectionTitle(rank);
    m_archives << new Archive(m_context, L(QStringLiteral("今日 終えたもの")), QString(),
                              QStringLiteral("tasks.archiveToday"))
               << new Archive(m_context, L(QStringLiteral("これまでに終えたもの")), QString(),
                              QStringLiteral("tasks.archivePast"))
               << new Archive(m_context, L(QStringLiteral("放下したもの")),
                              L(QStringLiteral("ほうげ ・ 抱えているものを、いったん下ろす")),
                              QStringLiteral("tasks.archiveSetAside"));

    m_connectHint = new QWidget;
    m_connectHint->setObjectName(QStringLiteral("tasks.connectHint"));
    auto *hint = new QHBoxLayout(m_connectHint);
    hint->setContentsMargins(18, 16, 18, 0);
    hint->setSpacing(6);
    auto *hintText = new ElidedLabel(L(QStringLiteral("外の todo とも繋げます")), Kiv::font(12),
                                     {Kiv::Colour::inkFaint});
    hintText->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    hint->addWidget(hintText);
    auto *settings = new InkButton(L(QStringLiteral("設定へ")),
                                   InkLook::plain(Kiv::font(12), {Kiv::Colour::indigo}, {Kiv::Colour::indigo}));
    settings->setObjectName(QStringLiteral("tasks.connectHint.settings"));
    connect(settings, &InkButton::clicked, this, &TodoListView::settingsRequested);
    hint->addWidget(settings);
    hint->addStretch(1);

    for (QWidget *title : m_sectionTitles) {
        title->setParent(m_content);
        title->hide();
    }
    for (Archive *archive : m_archives) {
        archive->setParent(m_content);
        archive->hide();
        archive->onResize = [this] { place(); };
    }
    m_connectHint->setParent(m_content);
    m_connectHint->hide();

    m_pool = new TodoRowPool(m_context, m_content, this);

    if (AppModel *model = m_context.model) {
        TaskHub &hub = model->taskHub();
        connect(&hub, &TaskHub::itemsChanged, this, &TodoListView::scheduleReload);
        connect(&hub.local(), &LocalTaskStore::changed, this, &TodoListView::scheduleReload);
        connect(&hub.reminders(), &RemindersTaskSource::authorizationChanged, this, &TodoListView::scheduleReload);
        connect(&model->days(), &DayNoteStore::changed, this, &TodoListView::scheduleReload);
    }
    reload();
}

TodoListView::~TodoListView()
{
    if (m_justAddedWait)
        Clock::current().cancel(m_justAddedWait);
}

TodoRow *TodoListView::rowOf(const TaskRef &ref) const
{
    return m_pool->find(ref);
}

void TodoListView::scheduleReload()
{
    // Never rebuilt inside the signal: the row whose action changed the
    // model may still be running its handler.
    if (m_reloadQueued)
        return;
    m_reloadQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            // A reload asked for directly in the meantime already showed the change.
            if (m_reloadQueued)
                reload();
        },
        Qt::QueuedConnection);
}

void TodoListView::reload()
{
    m_reloadQueued = false;
    AppModel *model = m_context.model;
    if (!model)
        return;
    TaskHub &hub = model->taskHub();
    const QDateTime now = Clock::current().now();
    m_sweep->setVisible(model->needsSweep());

    const QList<TodoItem> items = hub.items();
    LocalTaskStore::DoneByDay done = hub.local().completedByDay(now, 50);
    const QList<LocalTask> today = std::move(done.onDay);
    const QList<LocalTask> before = std::move(done.others);
    const QList<LocalTask> setAside = hub.local().latestSetAside(50);
    const bool empty = items.isEmpty() && today.isEmpty() && before.isEmpty() && setAside.isEmpty();
    m_pages->setCurrentWidget(empty ? m_empty : static_cast<QWidget *>(m_scroll));

    // The entries in order: each group's title and rows, the archives, the hint.
    m_entries.clear();
    m_groups = TodoGroups::of(items, now);
    for (int g = 0; g < m_groups.size(); ++g) {
        m_entries.append({m_sectionTitles[m_groups[g].rank], g, -1});
        for (int i = 0; i < m_groups[g].items.size(); ++i)
            m_entries.append({nullptr, g, i});
    }
    m_archives[0]->setTasks(today);
    m_archives[1]->setTasks(before);
    m_archives[2]->setTasks(setAside);
    for (Archive *archive : m_archives) {
        if (archive->hasTasks())
            m_entries.append({archive, -1, -1});
        else
            archive->hide();
    }
    const bool hint = hub.reminders().authorization() != CalendarAccess::FullAccess;
    if (hint)
        m_entries.append({m_connectHint, -1, -1});
    for (QWidget *title : m_sectionTitles)
        title->hide();
    m_connectHint->setVisible(hint);
    place();
    // Scrolled once the content has taken its new size, on a later turn.
    if (m_scrollPending)
        QMetaObject::invokeMethod(this, &TodoListView::scrollToJustAdded, Qt::QueuedConnection);
}

int TodoListView::rowHeight() const
{
    // Every task row is as tall as its circle or its name area with their margins.
    return std::max(int(std::ceil(26 * Kiv::scale())) + 18, int(std::ceil(44 * Kiv::scale())) + 12);
}

void TodoListView::place()
{
    AppModel *model = m_context.model;
    if (!model)
        return;
    TaskHub &hub = model->taskHub();
    const int width = m_scroll->viewport()->width();
    const int top = m_context.snapshot ? 0 : m_scroll->verticalScrollBar()->value();
    const int bottom = m_context.snapshot ? std::numeric_limits<int>::max() / 2 : top + m_scroll->viewport()->height();
    const int rowH = rowHeight();
    constexpr int kSpacing = 5;
    QSet<TaskRef> keep;
    int y = 0;
    for (Entry &entry : m_entries) {
        int h = rowH;
        if (entry.widget) {
            h = entry.widget->hasHeightForWidth() ? entry.widget->heightForWidth(width)
                                                  : entry.widget->sizeHint().height();
            entry.widget->setGeometry(0, y, width, h);
            entry.widget->show();
        } else {
            const TodoGroup &group = m_groups[entry.group];
            const TodoItem &item = group.items[entry.index];
            TodoRow *existing = m_pool->find(item.ref);
            const bool inView = y + h >= top - rowH && y <= bottom + rowH;
            const bool justWritten = m_justAdded && *m_justAdded == item.ref;
            // Rows out of view are not built; one that holds view state of
            // its own (a popover, a rename, the new task) is kept.
            if (inView || justWritten || (existing && existing->holdsState())) {
                TodoRow *row = m_pool->row(item, group.rank == 0, justWritten);
                row->setTake([model, item] { model->take(item); });
                const bool reorder = TodoGroups::canReorder(group.rank, item) && !m_context.snapshot;
                row->reorderable()->set(reorder, item, group.items,
                                        [&hub](const QList<TaskRef> &order) { hub.reorder(order); });
                row->setGeometry(0, y, width, h);
                row->setVisible(inView || row->holdsState());
                keep << item.ref;
            }
        }
        entry.y = y;
        entry.height = h;
        y += h + kSpacing;
    }
    m_pool->keepOnly(keep);
    const int total = std::max(0, y - kSpacing) + 10;
    if (m_content->width() != width || m_content->height() != total)
        m_content->resize(width, total);
}

QList<QWidget *> TodoListView::shownInOrder() const
{
    QList<QWidget *> out;
    for (const Entry &entry : m_entries) {
        if (entry.widget) {
            out << entry.widget;
        } else if (TodoRow *row = m_pool->find(m_groups[entry.group].items[entry.index].ref)) {
            if (row->isVisibleTo(m_content))
                out << row;
        }
    }
    return out;
}

bool TodoListView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_composer && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        m_composerFocus.startTo(m_composerBox, [this] { m_composerBox->update(); },
                                event->type() == QEvent::FocusIn ? 1 : 0, kComposerFocusMs, Motion::easeOut());
    if (m_scroll && watched == m_scroll->viewport() && event->type() == QEvent::Resize)
        QMetaObject::invokeMethod(this, &TodoListView::place, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void TodoListView::commitDraft()
{
    if (!m_context.model || !m_composer)
        return;
    // The store trims the text and refuses a blank one; the field keeps it then.
    const std::optional<TodoItem> item = m_context.model->taskHub().add(m_composer->text());
    if (!item)
        return;
    m_composer->clear();
    m_justAdded = item->ref;
    m_scrollPending = true;
    if (m_justAddedWait)
        Clock::current().cancel(m_justAddedWait);
    const TaskRef ref = item->ref;
    m_justAddedWait = Clock::current().schedule(2500, [this, ref] {
        m_justAddedWait = 0;
        if (m_justAdded && *m_justAdded == ref) {
            m_justAdded.reset();
            scheduleReload();
        }
    });
    scheduleReload();
}

void TodoListView::scrollToJustAdded()
{
    m_scrollPending = false;
    if (!m_justAdded || m_context.snapshot)
        return;
    const auto entry = std::find_if(m_entries.begin(), m_entries.end(), [this](const Entry &e) {
        return !e.widget && m_groups[e.group].items[e.index].ref == *m_justAdded;
    });
    if (entry == m_entries.end())
        return;
    QScrollBar *bar = m_scroll->verticalScrollBar();
    const int centre = entry->y + entry->height / 2 - m_scroll->viewport()->height() / 2;
    const int target = std::clamp(centre, bar->minimum(), bar->maximum());
    m_scrollMotion.start(m_scroll->viewport(), [this, bar] { bar->setValue(int(std::round(m_scrollMotion.value()))); },
                         bar->value(), target, 350, Motion::easeOut());
}

void TodoListView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Each time the tab is shown the outside tasks are fetched again.
    if (m_context.model && !m_context.snapshot)
        m_context.model->taskHub().refresh();
}
