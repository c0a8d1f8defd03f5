#include "views/daily/DailyView.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "model/RootTab.h"
#include "sources/TaskHub.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "views/daily/DailyCard.h"
#include "views/daily/DailyComposer.h"
#include "views/daily/PracticeShelf.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/EnsoMark.h"
#include "views/ink/InkButton.h"
#include "views/ink/KivBackground.h"
#include "views/ink/PlainLineEdit.h"
#include "views/ink/Popover.h"
#include "views/ink/TextBlock.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

QString keyOf(const TaskRef &ref)
{
    return ref.source + QLatin1Char('\n') + ref.id + QLatin1Char('\n') + ref.listID.value_or(QString());
}

// A group's heading: the name in small tracked letters, 14 in from the sides.
QWidget *heading(const QString &title, QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(14, 6, 14, 0);
    layout->addWidget(new ElidedLabel(title, Kiv::tracked(Kiv::font(10), 2, 0.24), {Kiv::Colour::inkFaint}, row));
    layout->addStretch(1);
    return row;
}

} // namespace

DailyView::DailyView(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("daily"));
    m_paper = new KivBackground(this);
    m_paper->lower();
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // The empty state.
    m_empty = new QWidget(this);
    m_empty->setObjectName(QStringLiteral("daily.empty"));
    auto *empty = new QVBoxLayout(m_empty);
    empty->setSpacing(10);
    empty->addStretch(1);
    auto *enso = new EnsoMark(56, 0.45, std::nullopt, m_empty);
    empty->addWidget(enso, 0, Qt::AlignHCenter);
    empty->addSpacing(4);
    auto *none = new ElidedLabel(L("行持は、まだありません"), Kiv::font(14, Kiv::Design::serif),
                                 {Kiv::Colour::inkSoft}, m_empty);
    none->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    empty->addWidget(none);
    auto *hint = new TextBlock(L("坐禅、日記、素振り。日々くり返す行いを置くと、\n続き具合が見えるようになります。"),
                               Kiv::font(12), {Kiv::Colour::inkFaint}, m_empty);
    hint->setObjectName(QStringLiteral("daily.empty.hint"));
    hint->setAlignment(Qt::AlignHCenter);
    hint->setContentsMargins(14, 0, 14, 0);
    empty->addWidget(hint);
    empty->addStretch(1);
    column->addWidget(m_empty, 1);

    // The two groups.
    auto *rows = new QWidget;
    rows->setObjectName(QStringLiteral("daily.rows"));
    auto *rowsLayout = new QVBoxLayout(rows);
    rowsLayout->setContentsMargins(0, 14, 0, 8);
    rowsLayout->setSpacing(6);
    m_everyDayHeading = heading(L("日々"), rows);
    m_everyDayHeading->setObjectName(QStringLiteral("daily.everyDayHeading"));
    rowsLayout->addWidget(m_everyDayHeading);
    m_everyDay = new QVBoxLayout;
    m_everyDay->setSpacing(6);
    rowsLayout->addLayout(m_everyDay);
    m_occasionalHeading = heading(L("折々"), rows);
    m_occasionalHeading->setObjectName(QStringLiteral("daily.occasionalHeading"));
    rowsLayout->addWidget(m_occasionalHeading);
    m_occasional = new QVBoxLayout;
    m_occasional->setSpacing(6);
    rowsLayout->addLayout(m_occasional);
    rowsLayout->addStretch(1);
    if (context.snapshot) {
        m_list = rows;
        rows->setParent(this);
    } else {
        m_scroll = new QScrollArea(this);
        m_scroll->setObjectName(QStringLiteral("daily.scroll"));
        m_scroll->setAccessibleName(L(titleKey(RootTab::daily)));
        m_scroll->setFrameShape(QFrame::NoFrame);
        m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroll->setWidgetResizable(true);
        m_scroll->setAutoFillBackground(false);
        m_scroll->viewport()->setAutoFillBackground(false);
        rows->setAutoFillBackground(false);
        m_scroll->setWidget(rows);
        m_list = m_scroll;
    }
    column->addWidget(m_list, 1);

    // The add button and its composer.
    InkLook look = InkLook::capsule(Kiv::font(12), {Kiv::Colour::inkSoft}, {Kiv::Colour::ink}, Tone::clear(),
                                    Tone::clear(), {Kiv::Colour::hairline}, {Kiv::Colour::hairline});
    look.symbol = Symbol::plus;
    look.symbolSize = 9 * Kiv::scale();
    look.padding = QMarginsF(14, 7, 14, 7);
    m_add = new InkButton(L("行持を足す"), look, this);
    m_add->setObjectName(QStringLiteral("daily.add"));
    m_add->setAccessibleName(m_add->text());
    column->addSpacing(12);
    column->addWidget(m_add, 0, Qt::AlignHCenter);
    column->addSpacing(12);
    m_popover = new Popover(m_add);
    m_composer = new DailyComposer(m_popover);
    m_popover->setContent(m_composer);
    connect(m_add, &QAbstractButton::clicked, this, &DailyView::openComposer);
    connect(m_composer, &DailyComposer::commit, this, &DailyView::commit);

    if (AppModel *model = m_context.model) {
        TaskHub &hub = model->taskHub();
        connect(&hub, &TaskHub::dailyItemsChanged, this, &DailyView::refresh);
        connect(&hub.local(), &StoreBase::changed, this, &DailyView::refresh);
        connect(&model->store(), &StoreBase::changed, this, &DailyView::refresh);
    }
    refresh();
}

void DailyView::refresh()
{
    const QList<TodoItem> items = m_context.model ? m_context.model->taskHub().dailyItems() : QList<TodoItem>();
    m_empty->setVisible(items.isEmpty());
    m_list->setVisible(!items.isEmpty());
    if (!m_context.model)
        return;
    const PracticeShelf::Groups groups = PracticeShelf::groups(items, m_context.model->taskHub().local());
    QHash<QString, DailyCard *> kept;
    auto place = [&](const QList<TodoItem> &group, QVBoxLayout *layout) {
        QWidget *parent = layout->parentWidget();
        for (int i = 0; i < group.size(); ++i) {
            const TodoItem &item = group.at(i);
            const QString key = keyOf(item.ref);
            DailyCard *card = m_cards.take(key);
            if (card) {
                card->setItem(item);
            } else {
                AppModel *model = m_context.model;
                card = new DailyCard(m_context, item, [model, item] { model->take(item); }, parent);
            }
            layout->insertWidget(i, card);
            card->show();
            kept.insert(key, card);
        }
    };
    place(groups.everyDay, m_everyDay);
    place(groups.occasional, m_occasional);
    // Cards that left the shelf go once their own handlers have returned.
    for (DailyCard *gone : std::as_const(m_cards)) {
        gone->hide();
        gone->deleteLater();
    }
    m_cards = kept;
    m_everyDayHeading->setVisible(!groups.everyDay.isEmpty());
    m_occasionalHeading->setVisible(!groups.occasional.isEmpty());
}

DailyCard *DailyView::card(const QString &title) const
{
    for (DailyCard *c : m_cards)
        if (c->item().title == title)
            return c;
    return nullptr;
}

QList<DailyCard *> DailyView::cards(bool occasional) const
{
    QList<DailyCard *> out;
    QVBoxLayout *layout = occasional ? m_occasional : m_everyDay;
    for (int i = 0; i < layout->count(); ++i)
        if (auto *c = qobject_cast<DailyCard *>(layout->itemAt(i)->widget()); c && !c->isHidden())
            out << c;
    return out;
}

void DailyView::openComposer()
{
    if (m_context.snapshot)
        return;
    m_popover->open(Qt::BottomEdge);
    m_composer->field()->setFocus();
}

bool DailyView::composerIsOpen() const
{
    return m_popover->isVisible();
}

void DailyView::commit()
{
    if (!m_context.model)
        return;
    if (!PracticeShelf::add(m_context.model->taskHub(), m_composer->draft(), m_composer->draftOccasional()))
        return; // a blank title: the composer stays as it is
    m_composer->reset();
    m_popover->close();
}

void DailyView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_paper->setGeometry(rect());
}
