#include "views/reading/GlossaryRow.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "core/LineBreaker.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/FocusRing.h"
#include "views/ink/Motion.h"
#include "views/ink/TextBlock.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <cmath>

namespace {

// The top line: the term, its reading after it on the same baseline and
// the place at the right end, at least 8 apart. Nothing is cut: the term
// wraps to the width, and the reading or the place that no longer fits
// beside what stands before it goes on to a line of its own (the place
// still at the right end).
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
        QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }
    QSize sizeHint() const override { return QSize(200, heightForWidth(200)); }
    QSize minimumSizeHint() const override { return QSize(0, int(std::ceil(Kiv::lineHeight(m_termFont)))); }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return int(std::ceil(pieces(width).height)); }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        // Layouts without height for width learn it through the least height.
        const int needed = heightForWidth(width());
        if (needed != minimumHeight())
            setMinimumHeight(needed);
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::TextAntialiasing);
        for (const Piece &piece : pieces(width()).list) {
            painter.setFont(piece.small ? m_smallFont : m_termFont);
            painter.setPen(piece.small ? Kiv::inkFaint() : Kiv::ink());
            painter.drawText(piece.at, piece.text);
        }
    }

private:
    struct Piece
    {
        QString text;
        bool small;
        QPointF at; // the start of its baseline
    };
    struct Pieces
    {
        QList<Piece> list;
        double height = 0;
    };

    // A text broken into lines no wider than `width`, as every wrapped text is.
    static QStringList wrapped(const QString &text, const QFont &font, double width)
    {
        return LineBreaker::lines(text, font, width);
    }

    Pieces pieces(int width) const
    {
        Pieces out;
        const double w = std::max(1, width);
        const QFontMetricsF termMetrics(m_termFont), smallMetrics(m_smallFont);
        const double termLine = Kiv::lineHeight(m_termFont), smallLine = Kiv::lineHeight(m_smallFont);
        double top = 0;      // the top of the line being filled
        double lineHeight = termLine;
        double x = 0;        // where the line being filled ends
        const QStringList termLines = wrapped(m_term, m_termFont, w);
        for (qsizetype i = 0; i < termLines.size(); ++i) {
            if (i > 0)
                top += termLine;
            out.list.append({termLines[i], false, QPointF(0, Kiv::baselineFor(m_termFont, top + termLine / 2))});
            x = termMetrics.horizontalAdvance(termLines[i]);
        }
        // The small texts sit on the term's baseline while they share its line.
        auto baselineOn = [&](double lineTop, double height) {
            return height == termLine ? Kiv::baselineFor(m_termFont, lineTop + termLine / 2)
                                      : Kiv::baselineFor(m_smallFont, lineTop + smallLine / 2);
        };
        auto newLine = [&] {
            top += lineHeight;
            lineHeight = smallLine;
            x = 0;
        };
        if (!m_reading.isEmpty()) {
            const double readingWidth = smallMetrics.horizontalAdvance(m_reading);
            if (x > 0 && x + 8 + readingWidth > w)
                newLine();
            const double start = x > 0 ? x + 8 : 0;
            const QStringList lines = wrapped(m_reading, m_smallFont, w - start);
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (i > 0)
                    newLine();
                const double left = i == 0 ? start : 0;
                out.list.append({lines[i], true, QPointF(left, baselineOn(top, lineHeight))});
                x = left + smallMetrics.horizontalAdvance(lines[i]);
            }
        }
        if (!m_place.isEmpty()) {
            const double placeWidth = smallMetrics.horizontalAdvance(m_place);
            if (x > 0 && x + 8 + placeWidth > w)
                newLine();
            const QStringList lines = wrapped(m_place, m_smallFont, w);
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (i > 0)
                    newLine();
                const double right = w - smallMetrics.horizontalAdvance(lines[i]);
                out.list.append({lines[i], true, QPointF(std::max(0.0, right), baselineOn(top, lineHeight))});
            }
        }
        out.height = top + lineHeight;
        return out;
    }

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
    m_keyboardFocus = FocusRing::shows(event, m_keyboardFocus);
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
