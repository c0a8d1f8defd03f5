#include "views/timer/TaskChooserView.h"

#include "core/Kiv.h"
#include "model/AppModel.h"
#include "platform/time/Clock.h"
#include "views/ink/FocusRing.h"
#include "views/ink/Motion.h"
#include "views/tasks/UndatedFold.h"

#include <QFontMetricsF>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kRowRole = Qt::UserRole + 1;
constexpr double kGap = 2;      // between two rows
constexpr double kInset = 8;    // left and right inside a row
constexpr double kRowPad = 7;   // above and below a task row's label
constexpr double kLineGap = 2;  // between the title and the note

QFont headerFont() { return Kiv::font(10); }
QFont titleFont() { return Kiv::font(13, Kiv::Design::serif); }
QFont noteFont() { return Kiv::font(12); }
QFont numberFont() { return Kiv::font(11); }

double markSide(TaskChooserView::Look look)
{
    return look == TaskChooserView::Look::picker ? 4 : 20;
}

double markSpacing(TaskChooserView::Look look)
{
    return look == TaskChooserView::Look::picker ? 8 : 10;
}

} // namespace

class TaskChooserView::Delegate : public QStyledItemDelegate
{
public:
    explicit Delegate(TaskChooserView *view)
        : QStyledItemDelegate(view)
        , m_view(view)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        const int row = index.data(kRowRole).toInt();
        return QSize(1, int(std::ceil(m_view->rowHeight(row))));
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const int i = index.data(kRowRole).toInt();
        if (i < 0 || i >= m_view->m_rows.size())
            return;
        const TaskChooserList::Row &row = m_view->m_rows.at(i);
        QRectF rect = QRectF(option.rect);
        painter->save();
        if (m_view->isUndated(i) && m_view->m_fold.isRunning()) {
            // An undated row while the fold moves: drawn whole, faded, and
            // cut to the share of its height it takes so far.
            painter->setClipRect(option.rect);
            painter->setOpacity(m_view->m_fold.value());
            rect.setHeight(m_view->fullRowHeight(i));
        }
        if (i + 1 < m_view->m_rows.size())
            rect.setBottom(rect.bottom() - kGap);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setRenderHint(QPainter::TextAntialiasing);
        switch (row.kind) {
        case TaskChooserList::Row::Kind::header: paintHeader(*painter, rect, row); break;
        case TaskChooserList::Row::Kind::fold:
            UndatedFold::drawLabel(*painter, rect.adjusted(kInset, 0, -kInset, 0), row.fold, Kiv::inkSoft());
            break;
        case TaskChooserList::Row::Kind::task:
            paintTask(*painter, rect, row, m_view->m_notes.value(i), option.state & QStyle::State_MouseOver);
            break;
        }
        if ((option.state & QStyle::State_HasFocus) && m_view->hasFocus() && m_view->m_keyboardFocus &&
            row.kind != TaskChooserList::Row::Kind::header) {
            QPainterPath ring;
            ring.addRoundedRect(rect.adjusted(1, 1, -1, -1), 4, 4);
            painter->strokePath(ring, QPen(Kiv::indigo(0.6), 1.5));
        }
        painter->restore();
    }

private:
    void paintHeader(QPainter &painter, const QRectF &rect, const TaskChooserList::Row &row) const
    {
        const QFont font = headerFont();
        const double bottomPad = m_view->m_look == Look::picker ? 2 : 0;
        const double lineBottom = rect.bottom() - bottomPad;
        const double centreY = lineBottom - Kiv::lineHeight(font) / 2;
        painter.setFont(font);
        painter.setPen(Kiv::inkFaint());
        const QString text = QFontMetricsF(font).elidedText(row.header, Qt::ElideRight, rect.width() - 2 * kInset);
        painter.drawText(QPointF(rect.left() + kInset, Kiv::baselineFor(font, centreY)), text);
    }

    void paintTask(QPainter &painter, const QRectF &rect, const TaskChooserList::Row &row,
                   const std::optional<QString> &note, bool hovering) const
    {
        const Look look = m_view->m_look;
        if (look == Look::picker && hovering) {
            QPainterPath back;
            back.addRoundedRect(rect, 6, 6);
            painter.fillPath(back, Kiv::paper());
        }
        const double centreY = rect.center().y();
        const double side = markSide(look);
        const QRectF mark(rect.left() + kInset, centreY - side / 2, side, side);
        if (look == Look::picker) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(row.overdue ? Kiv::vermilion() : Kiv::indigo(0.55));
            painter.drawEllipse(mark);
        } else {
            const std::optional<int> place =
                m_view->m_positions ? m_view->m_positions(row.item.title) : std::optional<int>();
            const double line = 1.2;
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(place ? Kiv::indigo() : Kiv::inkGhost(), line));
            painter.drawEllipse(mark.adjusted(line / 2, line / 2, -line / 2, -line / 2));
            if (place) {
                const QFont font = numberFont();
                painter.setFont(font);
                painter.setPen(Kiv::indigo());
                const QString digits = QString::number(*place);
                const double w = QFontMetricsF(font).horizontalAdvance(digits);
                painter.drawText(QPointF(mark.center().x() - w / 2, Kiv::baselineFor(font, mark.center().y())), digits);
            }
        }

        const double left = mark.right() + markSpacing(look);
        const double width = std::max(0.0, rect.right() - kInset - left);
        const QFont title = titleFont();
        const QFont noteF = noteFont();
        const double titleH = Kiv::lineHeight(title);
        const double noteH = note ? kLineGap + Kiv::lineHeight(noteF) : 0;
        const double top = centreY - (titleH + noteH) / 2;
        painter.setFont(title);
        painter.setPen(Kiv::ink());
        painter.drawText(QPointF(left, Kiv::baselineFor(title, top + titleH / 2)),
                         QFontMetricsF(title).elidedText(row.item.title, Qt::ElideRight, width));
        if (note) {
            painter.setFont(noteF);
            painter.setPen(row.overdue ? Kiv::vermilion(0.9) : Kiv::inkFaint());
            const double noteCentre = top + titleH + kLineGap + Kiv::lineHeight(noteF) / 2;
            painter.drawText(QPointF(left, Kiv::baselineFor(noteF, noteCentre)),
                             QFontMetricsF(noteF).elidedText(*note, Qt::ElideRight, width));
        }
    }

    TaskChooserView *m_view;
};

TaskChooserView::TaskChooserView(const ViewContext &context, Look look, double maxHeight, QWidget *parent)
    : QListView(parent)
    , m_context(context)
    , m_look(look)
    , m_maxHeight(maxHeight)
    , m_model(new QStandardItemModel(this))
{
    setModel(m_model);
    setItemDelegate(new Delegate(this));
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(context.snapshot ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setProperty("ownFocusRing", true); // the current row shows the focus
    viewport()->setAttribute(Qt::WA_Hover);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    const QMargins pad = padding();
    setViewportMargins(pad);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QAbstractItemView::clicked, this, &TaskChooserView::activate);
}

QMargins TaskChooserView::padding() const
{
    return m_look == Look::picker ? QMargins(6, 0, 6, 6) : QMargins(10, 8, 10, 8);
}

void TaskChooserView::setList(const TaskChooserList &list)
{
    m_list = list;
    rebuild();
}

void TaskChooserView::setPositions(std::function<std::optional<int>(const QString &)> positions)
{
    m_positions = std::move(positions);
    viewport()->update();
}

void TaskChooserView::refreshMarks()
{
    viewport()->update();
}

void TaskChooserView::rebuild()
{
    const QDateTime now = Clock::current().now();
    // While the fold closes its rows stay, shrinking, until they are gone.
    const bool listsUndated = m_showsUndated || m_fold.isRunning();
    QList<TaskChooserList::Row> rows = m_list.rows(listsUndated, now);
    m_undatedFirst = -1;
    m_undatedCount = 0;
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i].kind != TaskChooserList::Row::Kind::fold)
            continue;
        rows[i].fold = UndatedFoldRow::of(int(m_list.folded.size()), m_showsUndated);
        if (listsUndated) {
            m_undatedFirst = i + 1;
            m_undatedCount = int(m_list.folded.size());
        }
    }
    QList<std::optional<QString>> notes;
    notes.reserve(rows.size());
    for (const TaskChooserList::Row &row : rows)
        notes << (row.kind == TaskChooserList::Row::Kind::task && m_context.model
                      ? m_context.model->pickerNote(row.item)
                      : std::nullopt);
    const int current = currentIndex().row();
    m_rows = rows;
    m_notes = notes;
    m_model->clear();
    for (int i = 0; i < m_rows.size(); ++i) {
        const TaskChooserList::Row &row = m_rows.at(i);
        auto *item = new QStandardItem;
        item->setData(i, kRowRole);
        QString name;
        switch (row.kind) {
        case TaskChooserList::Row::Kind::header:
            name = row.header;
            item->setFlags(Qt::NoItemFlags);
            break;
        case TaskChooserList::Row::Kind::fold:
            name = row.fold.accessibleName;
            item->setFlags(Qt::ItemIsEnabled);
            break;
        case TaskChooserList::Row::Kind::task:
            name = row.item.title;
            if (m_notes.at(i))
                name += QStringLiteral(", ") + *m_notes.at(i);
            item->setFlags(Qt::ItemIsEnabled);
            break;
        }
        item->setData(name, Qt::AccessibleTextRole);
        item->setData(name, Qt::ToolTipRole);
        m_model->appendRow(item);
    }
    if (current >= 0 && current < m_rows.size())
        setCurrentIndex(m_model->index(current, 0));
    updateGeometry();
}

void TaskChooserView::activate(const QModelIndex &index)
{
    const int i = index.data(kRowRole).toInt();
    if (!index.isValid() || i < 0 || i >= m_rows.size())
        return;
    const TaskChooserList::Row row = m_rows.at(i);
    switch (row.kind) {
    case TaskChooserList::Row::Kind::header: break;
    case TaskChooserList::Row::Kind::fold:
        m_showsUndated = !m_showsUndated;
        // Set going first, so the rows of a closing fold stay while it moves.
        m_fold.startTo(viewport(), [this] { foldStepped(); }, m_showsUndated ? 1 : 0, UndatedFold::kMotionMs,
                       Motion::easeOut());
        rebuild();
        setCurrentIndex(m_model->index(i, 0));
        break;
    case TaskChooserList::Row::Kind::task: emit chosen(row.item); break;
    }
}

void TaskChooserView::focusInEvent(QFocusEvent *event)
{
    m_keyboardFocus = FocusRing::shows(event, m_keyboardFocus);
    QListView::focusInEvent(event);
}

void TaskChooserView::mousePressEvent(QMouseEvent *event)
{
    m_keyboardFocus = false;
    QListView::mousePressEvent(event);
}

void TaskChooserView::keyPressEvent(QKeyEvent *event)
{
    if (!m_keyboardFocus) {
        m_keyboardFocus = true;
        viewport()->update();
    }
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (currentIndex().isValid()) {
            activate(currentIndex());
            event->accept();
            return;
        }
        break;
    default: break;
    }
    QListView::keyPressEvent(event);
}

void TaskChooserView::foldStepped()
{
    if (!m_fold.isRunning() && !m_showsUndated) {
        rebuild(); // closed: the undated rows go
        return;
    }
    doItemsLayout();
    viewport()->update();
    updateGeometry();
}

double TaskChooserView::rowHeight(int i) const
{
    const double full = fullRowHeight(i);
    return isUndated(i) && m_fold.isRunning() ? full * m_fold.value() : full;
}

double TaskChooserView::fullRowHeight(int i) const
{
    if (i < 0 || i >= m_rows.size())
        return 0;
    const TaskChooserList::Row &row = m_rows.at(i);
    double h = 0;
    switch (row.kind) {
    case TaskChooserList::Row::Kind::header:
        h = 6 + Kiv::lineHeight(headerFont()) + (m_look == Look::picker ? 2 : 0);
        break;
    case TaskChooserList::Row::Kind::fold:
        h = 2 * UndatedFold::kPadding + UndatedFold::labelSizeOf(row.fold).height();
        break;
    case TaskChooserList::Row::Kind::task: {
        double text = Kiv::lineHeight(titleFont());
        if (m_notes.value(i))
            text += kLineGap + Kiv::lineHeight(noteFont());
        h = 2 * kRowPad + std::max(markSide(m_look), text);
        break;
    }
    }
    return h + (i + 1 < m_rows.size() ? kGap : 0);
}

double TaskChooserView::contentHeight() const
{
    double sum = 0;
    for (int i = 0; i < m_rows.size(); ++i)
        sum += std::ceil(rowHeight(i));
    return sum;
}

QSize TaskChooserView::sizeHint() const
{
    const QMargins pad = padding();
    const double content = contentHeight() + pad.top() + pad.bottom();
    return QSize(200, int(std::ceil(std::min(content, m_maxHeight))));
}

QSize TaskChooserView::minimumSizeHint() const
{
    return QSize(0, sizeHint().height());
}

std::optional<QString> TaskChooserView::noteOf(int row) const
{
    return m_notes.value(row);
}

QRect TaskChooserView::rowRect(int row) const
{
    return visualRect(m_model->index(row, 0));
}

int TaskChooserView::rowOf(const QString &title) const
{
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).kind == TaskChooserList::Row::Kind::task && m_rows.at(i).item.title == title)
            return i;
    return -1;
}

int TaskChooserView::foldRow() const
{
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).kind == TaskChooserList::Row::Kind::fold)
            return i;
    return -1;
}
