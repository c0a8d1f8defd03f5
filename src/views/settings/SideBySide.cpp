#include "views/settings/SideBySide.h"

#include "views/ink/TextBlock.h"

#include <QBoxLayout>
#include <QFontMetricsF>
#include <QResizeEvent>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kSpacing = 12;

// The widest piece of a text that a line may not break: a word, or in
// Japanese a character with what must stay beside it.
double widestPiece(const QString &text, const QFont &font)
{
    const QFontMetricsF metrics(font);
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    double widest = 0;
    qsizetype from = 0;
    while (breaks.toNextBoundary() != -1) {
        const qsizetype to = breaks.position();
        widest = std::max(widest, metrics.horizontalAdvance(text.mid(from, to - from).trimmed()));
        from = to;
    }
    return widest;
}
} // namespace

SideBySide::SideBySide(TextBlock *label, QWidget *control, QWidget *parent)
    : QWidget(parent)
    , m_label(label)
    , m_control(control)
{
    m_layout = new QBoxLayout(QBoxLayout::LeftToRight, this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(kSpacing);
    m_layout->addWidget(m_label, 1);
    m_layout->addWidget(m_control, 0);
    place(false);
}

int SideBySide::sideBySideWidth() const
{
    return int(std::ceil(widestPiece(m_label->text(), m_label->font()))) + kSpacing + m_control->sizeHint().width();
}

QSize SideBySide::minimumSizeHint() const
{
    // Stacked, the row needs no more than the wider of the two.
    const int width = std::max(int(std::ceil(widestPiece(m_label->text(), m_label->font()))),
                               m_control->minimumSizeHint().width());
    return QSize(width, QWidget::minimumSizeHint().height());
}

void SideBySide::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const bool stacked = event->size().width() < sideBySideWidth();
    if (stacked != m_stacked)
        place(stacked);
}

void SideBySide::place(bool stacked)
{
    m_stacked = stacked;
    m_layout->setDirection(stacked ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
    m_layout->setSpacing(stacked ? kSpacing / 2 : kSpacing);
    m_layout->setAlignment(m_label, stacked ? Qt::Alignment() : Qt::AlignVCenter);
    m_layout->setAlignment(m_control, stacked ? Qt::AlignLeft : Qt::AlignVCenter);
}
