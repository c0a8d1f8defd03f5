#include "views/reading/GlossaryRow.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/Motion.h"
#include "views/ink/TextBlock.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <cmath>

namespace {

// The top line: the term and its reading on one baseline, the place at the
// right end (at least 8 apart).
class TopLine : public QWidget
{
public:
    TopLine(const GlossaryEntry &entry, QWidget *parent)
        : QWidget(parent)
        , m_term(entry.term)
        , m_reading(entry.reading)
        , m_place(entry.place)
        , m_termFont(Kiv::tracked(Kiv::font(15, Kiv::Design::serif), 1.0, 0.12))
        , m_smallFont(Kiv::font(10))
    {
        setObjectName(QStringLiteral("glossary.term"));
        setFixedHeight(int(std::ceil(Kiv::lineHeight(m_termFont))));
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override { return QSize(200, height()); }
    QSize minimumSizeHint() const override { return QSize(0, height()); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const double baseline = Kiv::baselineFor(m_termFont, height() / 2.0);
        const QFontMetricsF term(m_termFont);
        const QFontMetricsF small(m_smallFont);
        // The place keeps its room first; the term, then the reading, give way.
        const QString place = small.elidedText(m_place, Qt::ElideRight, width() * 0.5);
        const double placeWidth = small.horizontalAdvance(place);
        const double room = std::max(0.0, width() - placeWidth - 8);
        const QString shownTerm = term.elidedText(m_term, Qt::ElideRight, room);
        const double termWidth = term.horizontalAdvance(shownTerm);
        const QString reading = small.elidedText(m_reading, Qt::ElideRight, std::max(0.0, room - termWidth - 8));
        painter.setFont(m_termFont);
        painter.setPen(Kiv::ink());
        painter.drawText(QPointF(0, baseline), shownTerm);
        painter.setFont(m_smallFont);
        painter.setPen(Kiv::inkFaint());
        painter.drawText(QPointF(termWidth + 8, baseline), reading);
        painter.drawText(QPointF(width() - placeWidth, baseline), place);
    }

private:
    QString m_term, m_reading, m_place;
    QFont m_termFont, m_smallFont;
};

// The detail's block: the text 10 to the right of a hairline that starts 6
// below the block's top.
class DetailBlock : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(QRectF(0, 6, 1, height() - 6), Kiv::hairline());
    }
};

} // namespace

GlossaryRow::GlossaryRow(const GlossaryEntry &entry, QWidget *parent)
    : QWidget(parent)
    , m_entry(entry)
{
    setObjectName(QStringLiteral("glossary.row"));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(entry.term);
    setAccessibleDescription(entry.meaning);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(22, 7, 22, 7);
    column->setSpacing(3);
    column->addWidget(new TopLine(entry, this));
    auto *meaning = new TextBlock(entry.meaning, Kiv::font(12), {Kiv::Colour::inkSoft}, this);
    meaning->setObjectName(QStringLiteral("glossary.meaning"));
    column->addWidget(meaning);

    m_detailBlock = new DetailBlock(this);
    m_detailBlock->setObjectName(QStringLiteral("glossary.detail"));
    auto *detailLayout = new QVBoxLayout(m_detailBlock);
    detailLayout->setContentsMargins(10, 6, 0, 0);
    m_detail = new TextBlock(entry.detail, Kiv::font(12), {Kiv::Colour::inkSoft}, m_detailBlock);
    detailLayout->addWidget(m_detail);
    m_detailBlock->hide();
    column->addWidget(m_detailBlock);

    m_hint = new ElidedLabel(L(QStringLiteral("由来を読む")), Kiv::font(10), {Kiv::Colour::indigo}, this);
    m_hint->setObjectName(QStringLiteral("glossary.hint"));
    m_hint->setContentsMargins(0, 2, 0, 0);
    column->addWidget(m_hint);
    place();
}

void GlossaryRow::toggle()
{
    m_open = !m_open;
    place();
    if (m_open)
        m_fade.start(this, [this] { m_detail->setTone({Kiv::Colour::inkSoft, m_fade.value()}); }, 0, 1, 220,
                     Motion::easeInOut());
}

void GlossaryRow::place()
{
    m_detailBlock->setVisible(m_open);
    m_hint->setVisible(!m_open && !m_entry.detail.isEmpty());
    if (!m_open)
        m_detail->setTone({Kiv::Colour::inkSoft, 1.0});
}

void GlossaryRow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        toggle();
    QWidget::mouseReleaseEvent(event);
}

void GlossaryRow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        toggle();
        return;
    }
    QWidget::keyPressEvent(event);
}

void GlossaryRow::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    update();
}

void GlossaryRow::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    m_keyboardFocus = false;
    update();
}

void GlossaryRow::paintEvent(QPaintEvent *)
{
    if (!(m_keyboardFocus && hasFocus()))
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath ring;
    ring.addRoundedRect(QRectF(rect()).adjusted(8, 1.5, -8, -1.5), 6, 6);
    painter.strokePath(ring, QPen(Kiv::indigo(0.6), 1.5));
}
