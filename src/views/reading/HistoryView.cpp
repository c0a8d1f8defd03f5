#include "views/reading/HistoryView.h"

#include "core/Kiv.h"
#include "model/AppModel.h"
#include "model/HistoryModel.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/EnsoMark.h"
#include "views/ink/KivBackground.h"
#include "views/reading/HistoryList.h"

#include <QStackedLayout>
#include <QVBoxLayout>

HistoryView::HistoryView(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("history"));
    setMinimumSize(420, 360);
    m_paper = new KivBackground(this);
    m_paper->lower();
    m_rows = new HistoryModel(context.model->store(), this);

    // No live record: the ensō and two lines, centred.
    m_empty = new QWidget;
    m_empty->setObjectName(QStringLiteral("history.empty"));
    auto *column = new QVBoxLayout(m_empty);
    column->setSpacing(8);
    column->addStretch(1);
    auto *enso = new EnsoMark(56, 0.45, std::nullopt, m_empty);
    column->addWidget(enso, 0, Qt::AlignHCenter);
    column->addSpacing(6);
    auto *title = new ElidedLabel(HistoryModel::emptyTitle(), Kiv::font(15, Kiv::Design::serif),
                                  {Kiv::Colour::inkSoft}, m_empty);
    title->setObjectName(QStringLiteral("history.emptyTitle"));
    title->setAlignment(Qt::AlignCenter);
    column->addWidget(title);
    auto *line = new ElidedLabel(HistoryModel::emptyLine(), Kiv::font(12), {Kiv::Colour::inkSoft}, m_empty);
    line->setObjectName(QStringLiteral("history.emptyLine"));
    line->setAlignment(Qt::AlignCenter);
    line->setMaxLines(3);
    column->addWidget(line);
    column->addStretch(1);

    m_list = new HistoryList(m_rows, context.model, context.snapshot);

    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_empty);
    m_stack->addWidget(m_list);

    // The list follows the store itself; only the switch to and from the
    // empty state is the view's.
    connect(m_rows, &QAbstractItemModel::rowsInserted, this, &HistoryView::refresh);
    connect(m_rows, &QAbstractItemModel::rowsRemoved, this, &HistoryView::refresh);
    connect(m_rows, &QAbstractItemModel::modelReset, this, &HistoryView::refresh);
    refresh();
}

HistoryView::~HistoryView() = default;

void HistoryView::refresh()
{
    QWidget *page = m_rows->isEmpty() ? m_empty : static_cast<QWidget *>(m_list);
    if (m_stack->currentWidget() != page)
        m_stack->setCurrentWidget(page);
    if (m_context.snapshot)
        updateGeometry();
}

bool HistoryView::hasHeightForWidth() const
{
    return m_context.snapshot;
}

int HistoryView::heightForWidth(int) const
{
    return std::max(minimumHeight(), m_rows->isEmpty() ? 0 : m_list->contentHeight());
}

void HistoryView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_paper->setGeometry(rect());
}
