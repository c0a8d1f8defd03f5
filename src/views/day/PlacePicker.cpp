#include "views/day/PlacePicker.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "platform/time/Clock.h"
#include "sources/TaskHub.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "views/day/DayPageRules.h"
#include "views/day/DayStyle.h"
#include "views/day/PlacePickerRules.h"
#include "views/day/TimeAndLength.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/PlainLineEdit.h"
#include "views/ink/SegmentedControl.h"
#include "views/ink/TextBlock.h"
#include "views/tasks/UndatedFold.h"
#include "views/ink/Motion.h"
#include "views/ink/Reveal.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

class Hairline : public QWidget
{
public:
    explicit Hairline(double opacity, QWidget *parent = nullptr)
        : QWidget(parent)
        , m_opacity(opacity)
    {
        setFixedHeight(1);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Kiv::hairline(m_opacity));
    }

private:
    double m_opacity;
};

// The typed title's frame: paper, rounded, a hairline around it.
class DraftFrame : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Kiv::hairline(), 1));
        p.setBrush(Kiv::paper());
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }
};

// A task to choose: its title on one line from the leading edge, the whole
// row taking the click (Tab reaches it, Space and Return press it).
class TaskChoice : public QAbstractButton
{
public:
    TaskChoice(const QString &title, QWidget *parent)
        : QAbstractButton(parent)
    {
        setText(title);
        setAccessibleName(title);
        setFont(Kiv::font(14, Kiv::Design::serif));
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_Hover);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override
    {
        return QSize(200, int(Kiv::lineHeight(font())) + 16);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setFont(font());
        const bool hot = underMouse() || hasFocus();
        p.setPen(hot ? Kiv::indigo() : Kiv::ink());
        const QRect r = rect().adjusted(0, 0, -2, 0);
        p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(text(), Qt::ElideRight, r.width()));
    }
    void enterEvent(QEnterEvent *) override { update(); }
    void leaveEvent(QEvent *) override { update(); }
};

QList<QUuid> placedIDs(AppModel &model, const QDateTime &day)
{
    QList<QUuid> ids;
    for (const DayPlan &p : model.days().note(day).plans)
        if (p.taskID)
            ids << *p.taskID;
    return ids;
}

} // namespace

PlacePicker::PlacePicker(const ViewContext &context, DayLine::Opening gap, const QDateTime &day, bool asDeedAtFirst,
                         std::optional<int> now, Place place, QWidget *parent)
    : DaySheet(QStringLiteral("day.placePicker"), 12, parent)
    , m_context(context)
    , m_gap(gap)
    , m_day(day)
    , m_now(now)
    , m_place(std::move(place))
    , m_asDeed(asDeedAtFirst)
{
    setWindowTitle(L(QStringLiteral("ここに置く")));
    m_mode = new SegmentedControl({L(QStringLiteral("予定")), L(QStringLiteral("したこと"))}, this);
    m_mode->setObjectName(QStringLiteral("place.mode"));
    m_mode->setAccessibleName(L(QStringLiteral("予定")) + QStringLiteral(" / ") + L(QStringLiteral("したこと")));
    m_mode->setCurrentIndex(m_asDeed ? 1 : 0);
    column()->addWidget(m_mode, 0, Qt::AlignLeft);

    m_title = new ElidedLabel(QString(), Kiv::font(16, Kiv::Design::serif), Tone{Kiv::Colour::ink}, this);
    m_title->setObjectName(QStringLiteral("place.title"));
    column()->addWidget(m_title);

    m_timing = new SegmentedControl({L(QStringLiteral("時刻を決める")), L(QStringLiteral("日だけ置く"))}, this);
    m_timing->setObjectName(QStringLiteral("place.timing"));
    m_timing->setAccessibleName(L(QStringLiteral("時刻を決める")) + QStringLiteral(" / ")
                                + L(QStringLiteral("日だけ置く")));
    column()->addWidget(m_timing, 0, Qt::AlignLeft);

    m_dayOnlyNote = new TextBlock(L(QStringLiteral("時刻はあとで。帯の上に、時刻待ちとして並びます。")), Kiv::font(11),
                                  Tone{Kiv::Colour::inkFaint}, this);
    m_dayOnlyNote->setObjectName(QStringLiteral("place.dayOnlyNote"));
    column()->addWidget(m_dayOnlyNote);

    m_chooser = new TimeAndLength(QStringLiteral("place"), this);
    const PlacePickerRules::Choice first = PlacePickerRules::initial(gap, now, m_asDeed);
    m_chooser->set(first.start, first.minutes, gap.start + gap.minutes);
    column()->addWidget(m_chooser);
    column()->addWidget(new Hairline(1.0, this));

    auto *draftRow = new QHBoxLayout;
    draftRow->setSpacing(8);
    auto *frame = new DraftFrame(this);
    auto *frameLayout = new QHBoxLayout(frame);
    frameLayout->setContentsMargins(8, 6, 8, 6);
    m_draft = new PlainLineEdit(frame);
    m_draft->setObjectName(QStringLiteral("place.draft"));
    m_draft->setFont(Kiv::font(13, Kiv::Design::serif));
    m_draft->setPlaceholderText(L(QStringLiteral("その場で書く")));
    m_draft->setAccessibleName(L(QStringLiteral("その場で書く")));
    frameLayout->addWidget(m_draft);
    draftRow->addWidget(frame, 1);
    m_placeDraft = DayStyle::button(L(QStringLiteral("置く")), DayStyle::text(12, Kiv::Colour::indigo),
                                    QStringLiteral("place.placeDraft"), this);
    draftRow->addWidget(m_placeDraft);
    column()->addLayout(draftRow);

    m_draftNote = new TextBlock(QString(), Kiv::font(10), Tone{Kiv::Colour::inkFaint}, this);
    m_draftNote->setObjectName(QStringLiteral("place.draftNote"));
    column()->addWidget(m_draftNote);

    m_list = new QWidget;
    m_list->setObjectName(QStringLiteral("place.list"));
    m_listLayout = new QVBoxLayout(m_list);
    m_listLayout->setContentsMargins(0, 0, 0, 0);
    m_listLayout->setSpacing(0);
    if (context.snapshot) {
        column()->addWidget(m_list);
    } else {
        m_scroll = new QScrollArea(this);
        m_scroll->setObjectName(QStringLiteral("place.scroll"));
        m_scroll->setAccessibleName(L(QStringLiteral("作務から選ぶ")));
        m_scroll->setFrameShape(QFrame::NoFrame);
        m_scroll->setWidgetResizable(true);
        m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_scroll->setMaximumHeight(int(220 * Kiv::scale()));
        m_scroll->viewport()->setAutoFillBackground(false);
        m_list->setAutoFillBackground(false);
        m_scroll->setWidget(m_list);
        column()->addWidget(m_scroll);
    }

    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    InkButton *cancel = DayStyle::button(L(QStringLiteral("やめる")), DayStyle::text(12, Kiv::Colour::inkSoft),
                                         QStringLiteral("place.cancel"), this);
    bottom->addWidget(cancel);
    column()->addLayout(bottom);

    connect(m_mode, &SegmentedControl::currentChanged, this, [this](int i) { setAsDeed(i == 1); });
    connect(m_timing, &SegmentedControl::currentChanged, this, [this](int i) {
        m_dayOnly = i == 1;
        refresh();
    });
    connect(m_draft, &QLineEdit::textChanged, this, [this] { refresh(); });
    connect(m_draft, &QLineEdit::returnPressed, this, &PlacePicker::placeDraft);
    connect(m_placeDraft, &InkButton::clicked, this, &PlacePicker::placeDraft);
    connect(cancel, &InkButton::clicked, this, &QDialog::reject);
    rebuildList();
    refresh();
    // The keyboard starts in the one text field: what is typed at once is
    // the title, not keys lost on the first segment.
    m_draft->setFocus(Qt::OtherFocusReason);
}

int PlacePicker::start() const
{
    return m_chooser->start();
}

int PlacePicker::minutes() const
{
    return m_chooser->minutes();
}

void PlacePicker::setAsDeed(bool asDeed)
{
    if (asDeed == m_asDeed)
        return;
    m_asDeed = asDeed;
    if (!asDeed) {
        const PlacePickerRules::Choice c =
            PlacePickerRules::toPlan({m_chooser->start(), m_chooser->minutes()}, m_gap, m_now);
        m_chooser->set(c.start, c.minutes, m_gap.start + m_gap.minutes);
    }
    refresh();
}

void PlacePicker::refresh()
{
    m_mode->setCurrentIndex(m_asDeed ? 1 : 0);
    m_timing->setCurrentIndex(m_dayOnly ? 1 : 0);
    m_title->setText(m_asDeed    ? L(QStringLiteral("行ったこととして書く"))
                     : m_dayOnly ? L(QStringLiteral("この日に置く"))
                                 : L(QStringLiteral("ここに置く")));
    m_timing->setVisible(!m_asDeed);
    const bool dayOnlyPlan = !m_asDeed && m_dayOnly;
    m_dayOnlyNote->setVisible(dayOnlyPlan);
    m_chooser->setVisible(!dayOnlyPlan);
    // The button tests blanks and tabs only; placing trims line breaks too.
    QString draft = m_draft->text();
    draft.remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    const bool canPlace = !draft.isEmpty();
    m_placeDraft->setEnabled(canPlace);
    m_placeDraft->setLook(DayStyle::text(12, canPlace ? Kiv::Colour::indigo : Kiv::Colour::inkGhost));
    m_draftNote->setText(m_asDeed ? L(QStringLiteral("書いたものは、記録に残ります。作務には入りません。"))
                                  : L(QStringLiteral("書いたものは、作務にも入ります。")));
}

void PlacePicker::rebuildList()
{
    while (QLayoutItem *item = m_listLayout->takeAt(0)) {
        delete item->widget();
        delete item->layout();
        delete item;
    }
    AppModel &model = *m_context.model;
    const QList<QUuid> placed = placedIDs(model, m_day);
    const QList<LocalTask> samu = PlacePickerRules::samu(model.taskHub().local().open(), placed, Clock::current().now());
    const PlacePickerRules::Split split = PlacePickerRules::split(samu, placed);
    addSection(m_listLayout, m_list, L(QStringLiteral("作務")), split.shown, false);
    auto *fold = new UndatedFold(m_list);
    fold->setObjectName(QStringLiteral("place.undatedFold"));
    fold->set(int(split.folded.size()), m_showsUndated);
    m_listLayout->addWidget(fold);
    // The undated tasks stand ready under the fold, which shows and hides
    // them with its motion.
    auto *folded = new QWidget;
    auto *foldedLayout = new QVBoxLayout(folded);
    foldedLayout->setContentsMargins(0, 0, 0, 0);
    foldedLayout->setSpacing(0);
    addSection(foldedLayout, folded, QString(), split.folded, false);
    auto *undated = new Reveal(folded, m_list);
    undated->setObjectName(QStringLiteral("place.undated"));
    undated->setMotion(UndatedFold::kMotionMs, Motion::easeOut());
    undated->setShownNow(m_showsUndated && !split.folded.isEmpty());
    m_listLayout->addWidget(undated);
    connect(fold, &UndatedFold::openChanged, undated, [this, undated](bool open) {
        m_showsUndated = open;
        undated->setShown(open);
    });
    const QList<LocalTask> daily = model.taskHub().local().daily();
    addSection(m_listLayout, m_list, L(QStringLiteral("行持")), daily, true);
    m_listLayout->addStretch(1);
    // With nothing to choose the list area is empty: no box, no scroll bar.
    const bool any = !split.shown.isEmpty() || !split.folded.isEmpty() || !daily.isEmpty();
    (m_scroll ? static_cast<QWidget *>(m_scroll) : m_list)->setVisible(any);
}

void PlacePicker::addSection(QVBoxLayout *into, QWidget *parent, const QString &title, const QList<LocalTask> &tasks,
                             bool daily)
{
    if (tasks.isEmpty())
        return;
    if (!title.isEmpty()) {
        auto *heading = new ElidedLabel(title, Kiv::font(10), Tone{Kiv::Colour::inkFaint}, parent);
        heading->setContentsMargins(0, 8, 0, 2);
        into->addWidget(heading);
    }
    for (const LocalTask &task : tasks) {
        auto *row = new TaskChoice(task.title, parent);
        row->setObjectName(daily ? QStringLiteral("place.daily") : QStringLiteral("place.task"));
        connect(row, &QAbstractButton::clicked, this, [this, task, daily] { choose(task, daily); });
        into->addWidget(row);
        into->addWidget(new Hairline(0.5, parent));
    }
}

void PlacePicker::choose(const LocalTask &task, bool daily)
{
    if (m_dayOnly && !m_asDeed)
        m_context.model->placeOnDay(task, m_day);
    else
        m_place(task, daily, m_chooser->start(), std::min(m_chooser->minutes(), m_gap.minutes), m_asDeed);
    accept();
}

void PlacePicker::placeDraft()
{
    const QString text = DayPageRules::oneLine(m_draft->text()).trimmed();
    if (text.isEmpty())
        return;
    const int minutes = std::min(m_chooser->minutes(), m_gap.minutes);
    if (m_asDeed) {
        // A deed's title only: the task is made for the call and stored nowhere.
        m_place(LocalTask::create(text), false, m_chooser->start(), minutes, true);
    } else {
        AppModel &model = *m_context.model;
        const std::optional<LocalTask> task = model.taskHub().local().add(text, std::nullopt);
        if (!task)
            return;
        model.taskHub().reload();
        if (m_dayOnly)
            model.placeOnDay(*task, m_day);
        else
            m_place(*task, false, m_chooser->start(), minutes, false);
    }
    accept();
}
