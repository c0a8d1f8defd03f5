#include "views/daily/DailyCardPanel.h"

#include "core/L.h"
#include "views/daily/DailyCard.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/tasks/PlaceDayChips.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

namespace {
class Divider : public QWidget
{
public:
    explicit Divider(QWidget *parent)
        : QWidget(parent)
    {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Kiv::hairline());
    }
};

InkButton *quiet(const QString &title, QWidget *parent)
{
    InkLook look = InkLook::plain(Kiv::font(12), {Kiv::Colour::inkSoft}, {Kiv::Colour::ink});
    auto *button = new InkButton(title, look, parent);
    button->setAccessibleName(title);
    return button;
}
} // namespace

DailyCardPanel::DailyCardPanel(const ViewContext &context, const TodoItem &item, const std::optional<LocalTask> &task,
                               QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_item(item)
    , m_task(task)
{
    setObjectName(QStringLiteral("daily.panel"));
    setFixedWidth(int(std::ceil(340 * Kiv::scale())));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(12);

    auto *title = new ElidedLabel(item.title, Kiv::font(14, Kiv::Design::serif), {Kiv::Colour::ink}, this);
    title->setMaxLines(2);
    column->addWidget(title);

    InkLook beginLook = InkLook::capsule(Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::paper},
                                         {Kiv::Colour::paper}, {Kiv::Colour::indigo}, {Kiv::Colour::indigo, 0.85},
                                         Tone::clear(), Tone::clear());
    beginLook.padding = QMarginsF(16, 7, 16, 7);
    auto *begin = new InkButton(L("これで始める"), beginLook, this);
    begin->setObjectName(QStringLiteral("daily.panel.begin"));
    begin->setAccessibleName(begin->text());
    begin->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    column->addWidget(begin);
    connect(begin, &QAbstractButton::clicked, this, &DailyCardPanel::begin);

    if (m_task) {
        column->addWidget(new Divider(this));
        m_chips = new PlaceDayChips(m_context, *m_task, QString(), this);
        connect(m_chips, &PlaceDayChips::calendarRequested, this, &DailyCardPanel::calendar);
        column->addWidget(m_chips);
    }
    column->addWidget(new Divider(this));

    auto *row = new QHBoxLayout;
    row->setSpacing(14);
    InkButton *noteButton = quiet(L("覚え書き…"), this);
    noteButton->setObjectName(QStringLiteral("daily.panel.note"));
    connect(noteButton, &QAbstractButton::clicked, this, &DailyCardPanel::note);
    row->addWidget(noteButton);
    InkButton *renameButton = quiet(L("名前を変える"), this);
    renameButton->setObjectName(QStringLiteral("daily.panel.rename"));
    connect(renameButton, &QAbstractButton::clicked, this, &DailyCardPanel::rename);
    row->addWidget(renameButton);
    row->addStretch(1);
    row->addSpacing(8);

    InkLook moreLook = InkLook::plain(Kiv::font(12), {Kiv::Colour::inkSoft}, {Kiv::Colour::ink});
    auto *more = new InkButton(L("ほかに"), moreLook, this);
    more->setObjectName(QStringLiteral("daily.panel.more"));
    more->setAccessibleName(more->text());
    m_more = new QMenu(more);
    m_more->setObjectName(QStringLiteral("daily.panel.moreMenu"));
    DailyCard::addMoves(m_more, m_context, m_item, m_task);
    connect(more, &QAbstractButton::clicked, this, [this, more] {
        m_more->popup(more->mapToGlobal(QPoint(0, more->height())));
    });
    row->addWidget(more);
    column->addLayout(row);
}

