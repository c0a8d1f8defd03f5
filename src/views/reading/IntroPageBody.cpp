#include "views/reading/IntroPageBody.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "core/LineBreaker.h"
#include "views/ink/EnsoMark.h"
#include "views/ink/FocusFrame.h"
#include "views/ink/Motion.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {
constexpr int kFadeMs = 220;
constexpr double kSide = 32;       // the column's padding on each side
constexpr double kColumnMax = 460; // × text scale, padding included
constexpr double kEnso = 64;       // × text scale
constexpr double kBelowEnso = 30;
constexpr double kHeadingSpacing = 8;
constexpr double kAboveBody = 24;
constexpr double kBodySide = 8;
constexpr double kBodySpacing = 6;
constexpr double kAboveTerms = 26;
constexpr double kTermsMax = 300; // × text scale
constexpr double kTermSpacing = 12;
constexpr double kTermGap = 14;

QFont headingFont()
{
    return Kiv::tracked(Kiv::font(24, Kiv::Design::serif), 2, 0.24);
}
QFont bodyFont()
{
    return Kiv::font(14, Kiv::Design::serif);
}
QFont wordFont()
{
    return Kiv::tracked(Kiv::font(17, Kiv::Design::serif), 4, 0.48);
}
QFont readingFont()
{
    return Kiv::tracked(Kiv::font(9), 1, 0.12);
}
QFont noteFont()
{
    return Kiv::font(12);
}
double wordColumn()
{
    return (Lang::isJapanese() ? 66 : 100) * Kiv::scale();
}

// Sets `text` in lines no wider than `width` from `left`, its top at `top`
// (wrapped by LineBreaker's rules), every line break kept and
// an empty line kept as an empty line; lines are `spacing` apart and
// centred or at the left edge. Appends the lines to `out` (when given) and
// returns the height they take.
double setText(const QString &text, const QFont &font, Tone tone, double left, double top, double width,
               double spacing, bool centred, QList<IntroPageBody::Run> *out)
{
    const double lineHeight = Kiv::lineHeight(font);
    double y = top;
    bool first = true;
    auto place = [&](const QString &line, double advance) {
        if (!first)
            y += spacing;
        first = false;
        if (out && !line.isEmpty()) {
            const double x = centred ? left + (width - advance) / 2 : left;
            out->append({line, font, tone, QPointF(x, Kiv::baselineFor(font, y + lineHeight / 2)),
                         QRectF(x, y, advance, lineHeight)});
        }
        y += lineHeight;
    };
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        const QList<LineBreaker::Line> lines = LineBreaker::wrap(paragraph, font, width);
        if (lines.isEmpty()) {
            place(QString(), 0);
            continue;
        }
        for (const LineBreaker::Line &line : lines)
            place(paragraph.mid(line.start, line.length), line.width);
    }
    return y - top;
}

// The column's parts, placed from `top` in a column `width` wide at `left`;
// returns its height. Only measures when `out` is null.
double setColumn(const Intro::Page &page, double left, double top, double width, QRectF *enso,
                 QList<IntroPageBody::Run> *out)
{
    const double s = Kiv::scale();
    double y = top;
    if (enso)
        *enso = QRectF(left + (width - kEnso * s) / 2, y, kEnso * s, kEnso * s);
    y += kEnso * s + kBelowEnso;
    y += setText(page.heading, headingFont(), {Kiv::Colour::ink}, left, y, width, kHeadingSpacing, true, out);
    y += kAboveBody;
    y += setText(page.body, bodyFont(), {Kiv::Colour::inkSoft}, left + kBodySide, y, width - 2 * kBodySide,
                 kBodySpacing, true, out);
    if (page.terms.isEmpty())
        return y - top;

    // The terms: a table at most 300 wide, centred; each row the word over
    // its reading in a fixed column, then the note, the word and the note
    // sharing their first baseline.
    y += kAboveTerms;
    const double tableWidth = std::min(width, kTermsMax * s);
    const double x = left + (width - tableWidth) / 2;
    const double column = wordColumn();
    const double noteX = x + column + kTermGap;
    const double noteWidth = std::max(1.0, tableWidth - column - kTermGap);
    const QFont word = wordFont(), note = noteFont();
    const double wordBaseline = Kiv::baselineFor(word, Kiv::lineHeight(word) / 2);
    const double noteBaseline = Kiv::baselineFor(note, Kiv::lineHeight(note) / 2);
    const double baseline = std::max(wordBaseline, noteBaseline);
    bool firstRow = true;
    for (const Intro::Term &term : page.terms) {
        if (!firstRow)
            y += kTermSpacing;
        firstRow = false;
        const double wordTop = y + baseline - wordBaseline;
        double wordBottom = wordTop + setText(term.word, word, {Kiv::Colour::ink}, x, wordTop, column, 0, false, out);
        wordBottom += setText(term.reading, readingFont(), {Kiv::Colour::inkFaint}, x, wordBottom, column, 0, false,
                              out);
        const double noteTop = y + baseline - noteBaseline;
        const double noteBottom = noteTop
                                  + setText(term.note, note, {Kiv::Colour::inkSoft}, noteX, noteTop, noteWidth, 0,
                                            false, out);
        y = std::max(wordBottom, noteBottom);
    }
    return y - top;
}

// The column's width and left edge in an area `width` wide.
std::pair<double, double> columnIn(double width)
{
    const double padded = std::min(width, kColumnMax * Kiv::scale());
    return {(width - padded) / 2 + kSide, std::max(1.0, padded - 2 * kSide)};
}
} // namespace

IntroPageBody::IntroPageBody(QWidget *parent)
    : QWidget(parent)
{
    // Reached by a click or Tab so that the arrow keys turn the pages; a
    // keyboard focus shows as a frame round the page.
    setFocusPolicy(Qt::StrongFocus);
    FocusFrame::attach(this);
    setObjectName(QStringLiteral("intro.page"));
    m_fade.setValue(1);
}

void IntroPageBody::setPage(const Intro::Page &page, bool animated)
{
    if (page == m_page && !m_fade.isRunning())
        return;
    m_previous = m_page;
    m_page = page;
    m_previousLayout = m_layout;
    m_layout = layout(size(), m_page);
    describe();
    if (animated)
        m_fade.start(this, [this] { update(); }, 0, 1, kFadeMs, Motion::easeOut());
    else
        m_fade.setValue(1);
    update();
}

void IntroPageBody::describe()
{
    auto joined = [](const QString &text) { return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(' '); };
    setAccessibleName(joined(m_page.heading));
    QStringList parts{joined(m_page.body)};
    for (const Intro::Term &t : m_page.terms)
        parts << QStringList{t.word, t.reading, t.note}.join(QLatin1Char(' '));
    setAccessibleDescription(parts.join(QLatin1Char(' ')));
}

IntroPageBody::Layout IntroPageBody::layout(QSizeF size, const Intro::Page &page)
{
    const auto [left, width] = columnIn(size.width());
    Layout out;
    out.height = setColumn(page, left, 0, width, nullptr, nullptr);
    const double top = std::max(0.0, (size.height() - out.height) / 2);
    setColumn(page, left, top, width, &out.enso, &out.runs);
    return out;
}

double IntroPageBody::contentHeight(double width, const Intro::Page &page)
{
    const auto [left, column] = columnIn(width);
    return setColumn(page, left, 0, column, nullptr, nullptr);
}

void IntroPageBody::draw(QPainter &painter, const Layout &layout)
{
    painter.save();
    painter.translate(layout.enso.topLeft());
    EnsoMark::draw(painter, layout.enso.width(), 0.5, std::nullopt);
    painter.restore();
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const Run &run : layout.runs) {
        painter.setFont(run.font);
        painter.setPen(run.tone.resolve());
        painter.drawText(run.baseline, run.text);
    }
}

void IntroPageBody::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const double t = m_fade.value();
    if (t < 1) {
        painter.setOpacity(1 - t);
        draw(painter, m_previousLayout);
    }
    painter.setOpacity(t);
    draw(painter, m_layout);
}

void IntroPageBody::resizeEvent(QResizeEvent *)
{
    m_layout = layout(size(), m_page);
    m_previousLayout = layout(size(), m_previous);
}

void IntroPageBody::keyPressEvent(QKeyEvent *event)
{
    // Only the two arrows belong to the pages; both are taken whether or
    // not the page can move.
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
        event->accept();
        emit arrowKey(event->key() == Qt::Key_Left ? -1 : +1);
        return;
    }
    event->ignore();
}

void IntroPageBody::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressedAt = event->position();
    QWidget::mousePressEvent(event);
}

void IntroPageBody::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressedAt)
        return QWidget::mouseReleaseEvent(event);
    // Only the sideways travel between press and release counts, however
    // the pointer wandered on the way.
    const double dx = event->position().x() - m_pressedAt->x();
    m_pressedAt.reset();
    event->accept();
    emit swiped(dx);
}
