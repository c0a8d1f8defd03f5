#include "views/day/DayView.h"

#include "core/AppSettings.h"
#include "core/DayQuestion.h"
#include "core/Isshin.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "model/DayClock.h"
#include "model/RootTab.h"
#include "platform/time/Clock.h"
#include "sources/CalendarService.h"
#include "stores/DayNoteStore.h"
#include "stores/SessionStore.h"
#include "views/day/DayCard.h"
#include "views/day/DayItemTexts.h"
#include "views/day/DayStyle.h"
#include "views/day/DeedEditor.h"
#include "views/day/PlacePicker.h"
#include "views/day/PlanEditor.h"
#include "views/day/SlotRow.h"
#include "views/ink/Chance.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/LayoutRole.h"
#include "views/ink/Popover.h"
#include "views/ink/SymbolLabel.h"
#include "views/ink/TextBlock.h"
#include "views/reading/SanshinNotePresenter.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr qint64 kTickMs = 60 * 1000;
constexpr qint64 kRereadSeconds = 300;

QString randomOf(const QStringList &list)
{
    if (list.isEmpty())
        return QString();
    return list.at(int(Chance::generator().bounded(qsizetype(list.size()))));
}

QDate currentDate()
{
    return Clock::current().now().toLocalTime().date();
}

} // namespace

DayView::DayView(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_clock(std::make_unique<ClockTimer>())
{
    setObjectName(QStringLiteral("day.view"));
    const QDateTime now = Clock::current().now();
    m_day = now.toLocalTime().date();
    m_now = m_openedAt = m_lastRead = now;

    m_actions.place = [this](DayLine::Opening o, std::optional<bool> column, int slotEnd) {
        const bool deed = DayPageRules::placesDeed(column, isPastDay(), isToday(), slotEnd, DayClock::minutesOf(m_now));
        openPicker(o, deed);
    };
    m_actions.edit = [this](const DayPlan &plan) { openPlanEditor(plan); };
    m_actions.start = [this](const DayPlan &plan) { m_context.model->take(plan); };
    m_actions.moveTo = [this](const QUuid &id, int start) {
        for (const DayPlan &p : m_context.model->days().note(dayMoment()).plans)
            if (p.id == id) {
                m_context.model->movePlan(id, start, p.minutes, dayMoment());
                return;
            }
    };
    m_actions.removeDeed = [this](const QUuid &id) {
        m_context.model->removeDeed(id);
        deriveDeeds();
    };
    m_actions.askToRemove = [this](const DayDeed &deed) { askToRemove(deed); };
    m_actions.editDeed = [this](const DayDeed &deed) { openDeedEditor(deed); };

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    buildTop(column);

    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("day.content"));
    auto *stack = new QVBoxLayout(content);
    stack->setContentsMargins(20, 16, 20, 18);
    stack->setSpacing(0);
    m_morning = new DayCard(QStringLiteral("day.morning"), L(QStringLiteral("朝")),
                            L(QStringLiteral("今日、大切にすること。")), content);
    m_evening = new DayCard(QStringLiteral("day.evening"), L(QStringLiteral("暮")),
                            L(QStringLiteral("今日、心に残ったこと。")), content);
    m_line = new DayTimeline(context.snapshot, content);
    stack->addWidget(m_morning);
    stack->addSpacing(18);
    stack->addWidget(m_line);
    stack->addSpacing(18);
    stack->addWidget(m_evening);
    stack->addSpacing(22);
    auto *closing = new TextBlock(L(QStringLiteral("一行でよいのです。書かない日があっても構いません。")), Kiv::font(12),
                                  Tone{Kiv::Colour::inkFaint}, content);
    stack->addWidget(closing);
    stack->addStretch(1);

    if (context.snapshot) {
        // A still picture shows the whole day at its full height: nothing squeezed.
        content->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
        column->addWidget(content, 1);
    } else {
        m_scroll = new QScrollArea(this);
        m_scroll->setObjectName(QStringLiteral("day.scroll"));
        // The page scrolls by keys when focused; it bears the name of its tab.
        m_scroll->setAccessibleName(L(titleKey(RootTab::day)));
        m_scroll->setFrameShape(QFrame::NoFrame);
        m_scroll->setWidgetResizable(true);
        m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroll->setFocusPolicy(Qt::StrongFocus);
        m_scroll->setWidget(content);
        m_scroll->viewport()->setAutoFillBackground(false);
        content->setAutoFillBackground(false);
        m_scroll->installEventFilter(this);
        column->addWidget(m_scroll, 1);
    }

    // The cards save only what the user typed, into the shown day's note.
    connect(m_morning, &DayCard::edited, this,
            [this](const QString &text) { m_context.model->days().setIntention(text, dayMoment()); });
    connect(m_evening, &DayCard::edited, this,
            [this](const QString &text) { m_context.model->days().setReflection(text, dayMoment()); });
    for (DayCard *card : {m_morning, m_evening}) {
        connect(card, &DayCard::submitted, this, [this, card] {
            card->field()->clearFocus();
            if (m_scroll)
                m_scroll->setFocus(Qt::OtherFocusReason);
        });
    }
    connect(m_line, &DayTimeline::wideChanged, this, &DayView::scheduleRefresh);
    connect(m_line, &DayTimeline::readCalendarsRequested, this, [this] {
        m_context.model->calendarService().requestAccess();
        reload();
    });
    connect(m_line, &DayTimeline::calendarSettingsRequested, this, &DayView::calendarSettingsRequested);

    if (AppModel *model = context.model) {
        connect(&model->days(), &StoreBase::changed, this, &DayView::scheduleRefresh);
        connect(&model->store(), &StoreBase::changed, this, [this] {
            deriveDeeds();
        });
        connect(&model->calendarService(), &CalendarService::authorizationChanged, this, &DayView::scheduleRefresh);
        connect(model, &AppModel::sweepingChanged, this, &DayView::scheduleRefresh);
        if (CalendarStore *calendars = model->calendarService().store())
            connect(calendars, &CalendarStore::changed, this, [this] {
                if (isVisible())
                    gather();
            });
    }
    if (!context.snapshot) {
        connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive && isVisible())
                reload();
        });
        m_clock->setInterval(kTickMs);
        connect(m_clock.get(), &ClockTimer::timeout, this, &DayView::tick);
    }
    reload();
}

DayView::~DayView() = default;

void DayView::buildTop(QVBoxLayout *column)
{
    m_top = new QWidget(this);
    m_top->setObjectName(QStringLiteral("day.top"));
    auto *top = new QVBoxLayout(m_top);
    top->setContentsMargins(0, 14, 0, 10);
    top->setSpacing(0);

    auto *header = new QHBoxLayout;
    header->setSpacing(4);
    const QSizeF hit(52 * Kiv::scale(), 44 * Kiv::scale());
    auto arrow = [&](Symbol symbol, const QString &name, const QString &objectName) {
        auto *b = new InkButton(QString(),
                                InkLook::icon(symbol, 12 * Kiv::scale(), Tone{Kiv::Colour::inkSoft},
                                              Tone{Kiv::Colour::ink}, hit, SymbolWeight::medium),
                                m_top);
        b->setName(name);
        b->setObjectName(objectName);
        // The hit area narrows in a narrow window at a large text scale,
        // so that the header fits beside the title's least width.
        b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        b->setMinimumWidth(int(std::ceil(hit.width() / Kiv::scale())));
        return b;
    };
    m_back = arrow(Symbol::chevronLeft, L(QStringLiteral("前の日へ")), QStringLiteral("day.previous"));
    m_forward = arrow(Symbol::chevronRight, L(QStringLiteral("次の日へ")), QStringLiteral("day.next"));
    connect(m_back, &InkButton::clicked, this, [this] { move(-1); });
    connect(m_forward, &InkButton::clicked, this, [this] { move(1); });

    auto *titleColumn = new QVBoxLayout;
    titleColumn->setSpacing(2);
    m_title = new ElidedLabel(QString(), Kiv::tracked(Kiv::font(12), 2.0, 0.24), Tone{Kiv::Colour::ink}, m_top);
    m_title->setObjectName(QStringLiteral("day.title"));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setMinimumWidth(int(120 * Kiv::scale()));
    m_toToday = DayStyle::button(L(QStringLiteral("今日へ")), DayStyle::text(10, Kiv::Colour::indigo),
                                 QStringLiteral("day.today"), m_top);
    connect(m_toToday, &InkButton::clicked, this, [this] { setDay(currentDate()); });
    m_keysHint = new ElidedLabel(L(QStringLiteral("← → で日を送れます")), Kiv::font(9), Tone{Kiv::Colour::inkGhost}, m_top);
    m_keysHint->setObjectName(QStringLiteral("day.keysHint"));
    m_keysHint->setAlignment(Qt::AlignCenter);
    m_keysHint->setMinimumWidth(m_keysHint->sizeHint().width());
    titleColumn->addWidget(m_title);
    titleColumn->addWidget(m_toToday, 0, Qt::AlignHCenter);
    titleColumn->addWidget(m_keysHint);

    header->addStretch(1);
    header->addWidget(m_back, 0, Qt::AlignVCenter);
    header->addLayout(titleColumn);
    header->addWidget(m_forward, 0, Qt::AlignVCenter);
    header->addStretch(1);
    top->addLayout(header);
    top->addSpacing(8);

    m_standingBox = new QWidget(m_top);
    m_standingBox->setObjectName(QStringLiteral("day.standing"));
    m_standingLayout = new QVBoxLayout(m_standingBox);
    m_standingLayout->setContentsMargins(16, 0, 16, 0);
    m_standingLayout->setSpacing(3);
    top->addWidget(m_standingBox);

    m_banner = new QWidget(m_top);
    m_banner->setObjectName(QStringLiteral("day.banner"));
    auto *banner = new QHBoxLayout(m_banner);
    banner->setContentsMargins(16, 3, 16, 0);
    banner->setSpacing(8);
    banner->addWidget(new ElidedLabel(L(QStringLiteral("標")), Kiv::font(11, Kiv::Design::serif),
                                      Tone{Kiv::Colour::inkGhost}, m_banner));
    InkLook look = DayStyle::text(12, Kiv::Colour::indigo, 1.0, Kiv::Design::serif);
    m_bannerButton = DayStyle::button(QString(), look, QStringLiteral("day.sweepBanner"), m_banner);
    banner->addWidget(m_bannerButton);
    banner->addWidget(new SymbolLabel(Symbol::chevronRight, 8 * Kiv::scale(), Tone{Kiv::Colour::indigo}, m_banner));
    banner->addStretch(1);
    connect(m_bannerButton, &InkButton::clicked, this, [this] { m_context.model->beginSweep(); });
    top->addWidget(m_banner);
    column->addWidget(m_top);
}

QDateTime DayView::dayMoment() const
{
    return QDateTime(m_day, QTime(12, 0));
}

bool DayView::isPastDay() const
{
    return m_day < currentDate();
}

bool DayView::isToday() const
{
    return m_day == currentDate();
}

std::optional<int> DayView::nowForSheets() const
{
    if (!isToday())
        return std::nullopt;
    return DayClock::minutesOf(m_now);
}

void DayView::setDay(const QDate &day)
{
    if (!day.isValid())
        return;
    m_day = day;
    reload();
}

void DayView::move(int days)
{
    setDay(DayPageRules::moved(m_day, days));
}

void DayView::reload()
{
    if (!m_context.model)
        return;
    m_openedAt = Clock::current().now();
    m_morningExample = randomOf(DayQuestion::buildMorningExamples());
    m_eveningExample = randomOf(DayQuestion::buildEveningExamples());
    m_now = Clock::current().now();
    const DayNote note = m_context.model->days().note(dayMoment());
    // A card the user is typing in keeps its text.
    m_morning->setText(note.intention);
    m_evening->setText(note.reflection);
    if (!m_context.snapshot)
        m_context.model->calendarService().refreshAuthorization();
    gather();
}

void DayView::gather()
{
    AppModel &model = *m_context.model;
    m_deeds = DayDeed::deeds(model.store().records(), m_day);
    m_lastRead = Clock::current().now();
    // Another day's events never show on this one while its own are read.
    if (m_eventsDay != m_day) {
        m_events.clear();
        m_calendarDeeds.clear();
        m_eventsDay = m_day;
    }
    // The calendars are expanded on a worker (they may hold many repeating
    // items); the events follow when read, unless a newer read has begun.
    const quint64 read = ++m_eventsRead;
    model.calendarService().readEvents(m_day, model.settings().visibleCalendarIDs(), this,
                                       [this, read](const QList<DayEvent> &raw) {
                                           if (read == m_eventsRead)
                                               takeEvents(raw);
                                       });
    scheduleRefresh();
}

void DayView::takeEvents(const QList<DayEvent> &raw)
{
    AppModel &model = *m_context.model;
    const QList<DayPlan> timed = model.days().note(dayMoment()).timedPlans();
    m_events = DayEvent::withoutOwn(raw, model.store().records(), timed, m_day);
    m_calendarDeeds = DayEvent::recordCopies(raw, model.store().allRecords(), m_day);
    scheduleRefresh();
}

void DayView::deriveDeeds()
{
    m_deeds = DayDeed::deeds(m_context.model->store().records(), m_day);
    scheduleRefresh();
}

void DayView::adoptFromSync()
{
    const DayNote note = m_context.model->days().note(dayMoment());
    if (m_morning->text().isEmpty())
        m_morning->setText(note.intention);
    if (m_evening->text().isEmpty())
        m_evening->setText(note.reflection);
    gather();
}

void DayView::tick()
{
    m_now = Clock::current().now();
    if (m_lastRead.secsTo(m_now) >= kRereadSeconds)
        gather();
    else
        scheduleRefresh();
}

void DayView::scheduleRefresh()
{
    if (m_refreshQueued)
        return;
    m_refreshQueued = true;
    // Queued: an action of a row may lead here while that row is handling it.
    QMetaObject::invokeMethod(this, [this] { refresh(); }, Qt::QueuedConnection);
}

void DayView::refresh()
{
    m_refreshQueued = false;
    if (!m_context.model)
        return;
    AppModel &model = *m_context.model;
    const bool today = isToday();
    m_title->setText(DayPageRules::title(m_day, Lang::isJapanese()));
    m_title->setTone(Tone{today ? Kiv::Colour::ink : Kiv::Colour::inkSoft});
    m_toToday->setVisible(!today);
    m_keysHint->setVisible(today);
    refreshStanding();
    const bool banner = today && model.invitesShikunichi();
    m_banner->setVisible(banner);
    if (banner) {
        m_bannerButton->setText(DayPageRules::bannerText(currentDate().day()));
        m_bannerButton->setAccessibleName(L(QStringLiteral("四九日を始める")));
    }

    const int hour = m_openedAt.toLocalTime().time().hour();
    m_morning->setLook(DayPageRules::morningCard(hour));
    m_evening->setLook(DayPageRules::eveningCard(hour));
    m_morning->setExample(m_morningExample);
    m_evening->setExample(m_eveningExample);

    DayTimeline::Input input;
    input.events = m_events;
    input.plans = model.days().note(dayMoment()).plans;
    input.deeds = m_deeds;
    input.calendarDeeds = m_calendarDeeds;
    input.today = today;
    input.nowMinute = DayClock::minutesOf(m_now);
    input.access = model.calendarService().authorization();
    m_line->set(input, &m_actions);
}

void DayView::refreshStanding()
{
    const QList<DayPageRules::StandingLine> lines = DayPageRules::standing(m_day, m_context.model->days());
    if (m_standingBuilt && lines == m_standing)
        return;
    m_standingBuilt = true;
    m_standing = lines;
    m_mindNote = nullptr;
    m_mindRow = nullptr;
    while (QLayoutItem *item = m_standingLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const DayPageRules::StandingLine &line : lines) {
        auto *row = new QWidget(m_standingBox);
        auto *h = new QHBoxLayout(row);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(8);
        auto *mark = new ElidedLabel(L(line.mark), Kiv::font(11, Kiv::Design::serif), Tone{Kiv::Colour::inkGhost}, row);
        mark->setMinimumWidth(mark->sizeHint().width()); // the mark stays whole; the text gives way
        h->addWidget(mark, 0, Qt::AlignBottom);
        const bool mind = line.mark == QStringLiteral("心");
        if (mind) {
            row->setObjectName(QStringLiteral("day.mindLine"));
            InkButton *b = DayStyle::button(line.text, DayStyle::text(12, Kiv::Colour::inkSoft, 1.0, Kiv::Design::serif),
                                            QStringLiteral("day.mind"), row);
            b->setToolTip(L(QStringLiteral("三心とは")));
            // A long line at a large text scale is cut short with an
            // ellipsis rather than widening the window (the note it opens
            // holds the whole of it).
            b->setMinimumWidth(int(std::ceil(QFontMetricsF(b->look().font).horizontalAdvance(QStringLiteral("三心…")))));
            b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
            LayoutRole::setMayElide(b);
            h->addWidget(b, 0, Qt::AlignBottom);
            // The same note as the footer's, for the mind of the shown day,
            // below the line; the whole row opens it.
            auto *note = new SanshinNotePresenter(m_context, row);
            m_mindNote = note;
            m_mindRow = row;
            row->installEventFilter(this);
            connect(b, &InkButton::clicked, this, [this] { openMindNote(); });
        } else {
            auto *text = new ElidedLabel(line.text, Kiv::font(12, Kiv::Design::serif), Tone{Kiv::Colour::inkFaint}, row);
            text->setObjectName(line.mark == QStringLiteral("標") ? QStringLiteral("day.guideLine")
                                                                    : QStringLiteral("day.morningLine"));
            LayoutRole::setMayElide(text); // one line, cut at its tail
            h->addWidget(text, 1, Qt::AlignBottom);
        }
        h->addStretch(mind ? 1 : 0);
        m_standingLayout->addWidget(row);
        // Shown now, not at the layout's queued show: the block has its
        // height before the page scrolls to the hour.
        if (m_standingBox->isVisible())
            row->show();
    }
}

void DayView::scrollToNow()
{
    if (!m_scroll || !isToday())
        return;
    const int target = DayPageRules::scrollHour(Clock::current().now().toLocalTime().time().hour());
    SlotRow *row = m_line->row(target);
    if (!row)
        return;
    // The page as it will stand: what refresh() changed (the standing
    // lines above, the cards' heights at the viewport's width) is laid out
    // first, or the rows move once it is and the hour leaves the middle.
    QWidget *page = m_scroll->widget();
    for (int pass = 0; pass < 3; ++pass) {
        if (layout())
            layout()->activate();
        const int width = m_scroll->viewport()->width();
        const int height = page->hasHeightForWidth() ? page->heightForWidth(width) : page->sizeHint().height();
        page->resize(width, std::max(height, m_scroll->viewport()->height()));
        if (page->layout())
            page->layout()->activate();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    const QPoint at = row->mapTo(m_scroll->widget(), QPoint(0, row->height() / 2));
    m_scroll->verticalScrollBar()->setValue(at.y() - m_scroll->viewport()->height() / 2);
}

void DayView::appear()
{
    if (m_scroll)
        m_scroll->setFocus(Qt::OtherFocusReason);
    reload();
    QPointer<DayView> self(this);
    m_context.model->syncIfStale(60, [self](bool ran) {
        if (self && ran)
            self->adoptFromSync();
    });
    // After the layout has placed the rows.
    QMetaObject::invokeMethod(
        this,
        [this] {
            refresh();
            scrollToNow();
        },
        Qt::QueuedConnection);
}

void DayView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_context.snapshot || !m_context.model)
        return;
    m_clock->start();
    appear();
}

void DayView::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_clock->stop();
}

void DayView::openMindNote()
{
    if (m_mindNote)
        m_mindNote->open(Isshin::of(m_day));
}

bool DayView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mindRow && event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && m_mindRow->rect().contains(mouse->position().toPoint())) {
            openMindNote();
            return true;
        }
    }
    if (watched == m_scroll && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            if (key->key() == Qt::Key_Left) {
                move(-1);
                return true;
            }
            if (key->key() == Qt::Key_Right) {
                move(1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DayView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Kiv::paper());
    const QRect top = m_top->geometry();
    p.fillRect(top, Kiv::paperRaised());
    p.fillRect(QRectF(0, top.bottom() + 1 - 1, width(), 1), Kiv::hairline(0.6));
}

QWidget *DayView::openSheet() const
{
    return m_sheet.data();
}

void DayView::showSheet(DaySheet *sheet)
{
    if (m_sheet)
        m_sheet->close();
    m_sheet = sheet;
    // Closed, the sheet hands the keyboard back to the page, so the arrows
    // step the days again: the item that opened it may have been drawn
    // anew meanwhile, and the focus would fall to the window's first stop.
    // Looked at once the page has redrawn what the sheet changed.
    const QPointer<QWidget> opener = window()->focusWidget();
    connect(
        sheet, &QDialog::finished, this,
        [this, opener] {
            if (m_scroll && (!opener || !opener->isVisible()))
                m_scroll->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
    sheet->open();
}

void DayView::openPicker(DayLine::Opening gap, bool asDeed)
{
    auto *picker = new PlacePicker(m_context, gap, dayMoment(), asDeed, nowForSheets(),
                                   [this](const std::optional<LocalTask> &task, bool isDaily, int start, int minutes,
                                          bool deed) { place(task, isDaily, start, minutes, deed); },
                                   this);
    showSheet(picker);
}

void DayView::place(const std::optional<LocalTask> &task, bool isDaily, int start, int minutes, bool asDeed)
{
    AppModel &model = *m_context.model;
    if (!asDeed) {
        DayPlan plan;
        plan.id = QUuid::createUuid();
        plan.taskID = task ? std::optional<QUuid>(task->id) : std::nullopt;
        plan.isDaily = isDaily;
        plan.title = task ? DayPageRules::oneLine(task->title) : QStringLiteral("作務");
        plan.startMinutes = start;
        plan.minutes = minutes;
        plan.timed = true;
        model.placePlan(plan, dayMoment());
    } else {
        model.writeDeed(task ? task->title : QString(), start, minutes, dayMoment());
        deriveDeeds();
    }
}

void DayView::openPlanEditor(const DayPlan &plan)
{
    const QUuid id = plan.id;
    auto *editor = new PlanEditor(
        plan, 1440, nowForSheets(),
        [this, id](int start, int minutes) { m_context.model->movePlan(id, start, minutes, dayMoment()); },
        [this, id] { m_context.model->removePlan(id, dayMoment()); }, this);
    showSheet(editor);
}

void DayView::openDeedEditor(const DayDeed &deed)
{
    const QUuid id = deed.id;
    auto *editor = new DeedEditor(
        deed,
        [this, id](const QString &title, int start, int minutes) {
            m_context.model->editDeed(id, title, start, minutes, dayMoment());
            deriveDeeds();
        },
        [this, id] {
            m_context.model->removeDeed(id);
            deriveDeeds();
        },
        this);
    showSheet(editor);
}

void DayView::askToRemove(const DayDeed &deed)
{
    auto *sheet = new DaySheet(QStringLiteral("day.removeDeed"), 12, this);
    sheet->setWindowTitle(L(QStringLiteral("この記録を消しますか")));
    sheet->column()->addWidget(new ElidedLabel(L(QStringLiteral("この記録を消しますか")),
                                               Kiv::font(15, Kiv::Design::serif), Tone{Kiv::Colour::ink}, sheet));
    sheet->column()->addWidget(
        new TextBlock(DayItemTexts::deleteMessage(deed), Kiv::font(12), Tone{Kiv::Colour::inkSoft}, sheet));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    InkButton *cancel = DayStyle::button(L(QStringLiteral("やめる")), DayStyle::text(12, Kiv::Colour::inkSoft),
                                         QStringLiteral("day.removeDeed.cancel"), sheet);
    InkButton *remove = DayStyle::button(L(QStringLiteral("消す")), DayStyle::text(13, Kiv::Colour::vermilion),
                                         QStringLiteral("day.removeDeed.remove"), sheet);
    buttons->addWidget(cancel);
    buttons->addSpacing(8);
    buttons->addWidget(remove);
    sheet->column()->addLayout(buttons);
    const QUuid id = deed.id;
    connect(cancel, &InkButton::clicked, sheet, &QDialog::reject);
    connect(remove, &InkButton::clicked, sheet, [this, sheet, id] {
        m_actions.removeDeed(id);
        sheet->accept();
    });
    showSheet(sheet);
}
