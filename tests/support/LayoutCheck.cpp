#include "support/LayoutCheck.h"

#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/KivBackground.h"
#include "views/ink/LayoutRole.h"
#include "views/ink/SymbolPainter.h"
#include "views/ink/TextBlock.h"

#include <QAbstractItemView>
#include <QBoxLayout>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <cmath>

namespace {

// A channel that differs from the paper by more than this is drawing; the
// faint fills under a face (the ring's disc, a glow) are paper.
constexpr int kInk = 24;

QString rectText(const QRect &r)
{
    return QStringLiteral("%1,%2 %3×%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString name(const QWidget *w)
{
    QString out = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    QString text;
    if (auto *label = qobject_cast<const QLabel *>(w))
        text = label->text();
    else if (auto *elided = qobject_cast<const ElidedLabel *>(w))
        text = elided->text();
    else if (auto *block = qobject_cast<const TextBlock *>(w))
        text = block->text();
    else if (auto *button = qobject_cast<const InkButton *>(w))
        text = button->text();
    if (!text.isEmpty()) {
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        if (text.size() > 40)
            text = text.left(39) + QChar(0x2026);
        out += QStringLiteral(" '%1'").arg(text);
    }
    return out;
}

// Stock widgets whose inner children are Qt's own business.
bool isSealed(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
           qobject_cast<const QComboBox *>(w) || qobject_cast<const QMenu *>(w) ||
           qobject_cast<const QAbstractItemView *>(w) || qobject_cast<const QTextEdit *>(w) ||
           qobject_cast<const QPlainTextEdit *>(w);
}

// The children a layout places: visible, not windows of their own.
QList<QWidget *> placedChildren(const QWidget *parent)
{
    QList<QWidget *> out;
    for (QObject *o : parent->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (w && !w->isWindow() && w->isVisible())
            out.append(w);
    }
    return out;
}

// The least size a layout gives a widget before it cuts it (as Qt's own
// layouts reckon it): the explicit minimum, else the minimum size hint, or
// the size hint where the policy does not let it shrink; none where the
// policy ignores the hint.
QSize leastSize(const QWidget *w)
{
    const QSize hint = w->sizeHint();
    const QSize minHint = w->minimumSizeHint();
    const QSizePolicy policy = w->sizePolicy();
    auto least = [](int explicitMin, int h, int minH, QSizePolicy::Policy p) {
        if (explicitMin > 0)
            return explicitMin;
        if (p == QSizePolicy::Ignored)
            return 0;
        return std::max(0, (p & QSizePolicy::ShrinkFlag) ? minH : std::max(h, minH));
    };
    QSize out(least(w->minimumWidth(), hint.width(), minHint.width(), policy.horizontalPolicy()),
              least(w->minimumHeight(), hint.height(), minHint.height(), policy.verticalPolicy()));
    // A text that wraps needs the height its width gives it. (For a box of
    // several widgets the height for a width is only what it would like:
    // its children are checked one by one instead.)
    if (w->hasHeightForWidth() && !w->layout() && policy.verticalPolicy() != QSizePolicy::Ignored &&
        w->minimumHeight() == 0)
        out.setHeight(std::max(0, w->heightForWidth(w->width())));
    return out.boundedTo(w->maximumSize());
}

struct Drawing
{
    QImage mask; // one byte a pixel: 255 where the face draws
    QRect bounds;
};

Drawing drawingOf(QWidget *face)
{
    Drawing out;
    const QSize size = face->size();
    if (size.isEmpty())
        return out;
    QImage own(size, QImage::Format_ARGB32_Premultiplied);
    own.fill(Qt::transparent);
    face->render(&own, QPoint(), QRegion(), QWidget::RenderFlags());
    QPoint offset;
    KivBackground *paper = KivBackground::under(face, &offset);
    QImage behind;
    if (paper) {
        behind = paper->layer(1.0).copy(QRect(offset, size)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    out.mask = QImage(size, QImage::Format_Grayscale8);
    out.mask.fill(0);
    int left = size.width(), top = size.height(), right = -1, bottom = -1;
    for (int y = 0; y < size.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(own.constScanLine(y));
        const QRgb *under = paper ? reinterpret_cast<const QRgb *>(behind.constScanLine(y)) : nullptr;
        uchar *m = out.mask.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            const QRgb p = line[x];
            bool drawn;
            if (under) {
                const QRgb q = under[x];
                drawn = std::abs(qRed(p) - qRed(q)) > kInk || std::abs(qGreen(p) - qGreen(q)) > kInk ||
                        std::abs(qBlue(p) - qBlue(q)) > kInk;
            } else {
                drawn = qAlpha(p) > kInk;
            }
            if (drawn) {
                m[x] = 255;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right >= 0)
        out.bounds = QRect(QPoint(left, top), QPoint(right, bottom));
    return out;
}

int drawnPixelsIn(const Drawing &d, const QRect &rect)
{
    int n = 0;
    const QRect r = rect & QRect(QPoint(0, 0), d.mask.size());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const uchar *m = d.mask.constScanLine(y);
        for (int x = r.left(); x <= r.right(); ++x)
            n += m[x] ? 1 : 0;
    }
    return n;
}

class Walk
{
public:
    explicit Walk(QWidget *window)
        : m_window(window)
    {
    }

    void widget(QWidget *w, bool scrolledContent)
    {
        const QWidget *parent = w->parentWidget();
        if (w != m_window && parent) {
            const QRect inParent = w->geometry();
            if (!scrolledContent && !parent->rect().contains(inParent) && !inParent.isEmpty())
                add(QStringLiteral("outside its parent: %1 at %2 in %3 of %4")
                        .arg(LayoutCheck::path(w), rectText(inParent), LayoutCheck::path(parent),
                             rectText(parent->rect())));
        }
        texts(w);
        if (QLayout *layout = w->layout(); layout && !isSealed(w))
            spacers(w, layout);
        const QList<QWidget *> children = placedChildren(w);
        if (!isSealed(w) && !qobject_cast<QAbstractScrollArea *>(w))
            siblings(w, children);
        if (LayoutRole::isPaintedFace(w))
            onFace(w, children);
        if (auto *area = qobject_cast<QAbstractScrollArea *>(w)) {
            if (QWidget *viewport = area->viewport(); viewport && viewport->isVisible())
                for (QWidget *content : placedChildren(viewport)) {
                    // It scrolls up and down only: what is wider is cut.
                    if (area->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff &&
                        content->geometry().right() >= viewport->width())
                        add(QStringLiteral("wider than its scroll area: %1 at %2 in a viewport %3 wide")
                                .arg(LayoutCheck::path(content), rectText(content->geometry()))
                                .arg(viewport->width()));
                    widget(content, true);
                }
            return;
        }
        if (isSealed(w))
            return;
        for (QWidget *child : children)
            widget(child, false);
    }

    QStringList findings;

private:
    void add(const QString &line)
    {
        if (!findings.contains(line))
            findings.append(line);
    }

    QRect footprint(QWidget *w)
    {
        if (LayoutRole::isPaintedFace(w)) {
            const QRect drawn = drawing(w).bounds;
            return drawn.isNull() ? QRect() : drawn.translated(w->pos());
        }
        return w->geometry();
    }

    const Drawing &drawing(QWidget *face)
    {
        auto it = m_drawings.find(face);
        if (it == m_drawings.end())
            it = m_drawings.insert(face, drawingOf(face));
        return *it;
    }

    void siblings(QWidget *parent, const QList<QWidget *> &children)
    {
        QList<QPair<QWidget *, QRect>> boxes;
        for (QWidget *c : children)
            if (!LayoutRole::isOverlay(c)) {
                const QRect f = footprint(c);
                if (!f.isEmpty())
                    boxes.append({c, f});
            }
        for (int i = 0; i < boxes.size(); ++i)
            for (int j = i + 1; j < boxes.size(); ++j) {
                QWidget *a = boxes[i].first, *b = boxes[j].first;
                const QRect common = boxes[i].second & boxes[j].second;
                if (common.isEmpty())
                    continue;
                // Beside one face, what counts is whether the other covers
                // any of its drawing.
                const bool faceA = LayoutRole::isPaintedFace(a), faceB = LayoutRole::isPaintedFace(b);
                if (faceA != faceB) {
                    QWidget *face = faceA ? a : b;
                    if (drawnPixelsIn(drawing(face), common.translated(-face->pos())) == 0)
                        continue;
                }
                add(QStringLiteral("overlap: %1 at %2 and %3 at %4 in %5")
                        .arg(LayoutCheck::path(a), rectText(boxes[i].second), name(b), rectText(boxes[j].second),
                             LayoutCheck::path(parent)));
            }
    }

    void onFace(QWidget *face, const QList<QWidget *> &children)
    {
        const Drawing &d = drawing(face);
        for (QWidget *c : children) {
            const int n = drawnPixelsIn(d, c->geometry());
            if (n > 0)
                add(QStringLiteral("on the drawing: %1 at %2 covers %3 drawn pixels of %4 (drawn %5)")
                        .arg(LayoutCheck::path(c), rectText(c->geometry()))
                        .arg(n)
                        .arg(LayoutCheck::path(face), rectText(d.bounds)));
        }
    }

    void texts(QWidget *w)
    {
        const QSize size = w->size();
        if (auto *block = qobject_cast<TextBlock *>(w)) {
            const QFontMetricsF metrics(block->font());
            for (const QString &line : block->linesAt(size.width()))
                if (metrics.horizontalAdvance(line) > size.width() + 1) {
                    add(QStringLiteral("text wider than it is: %1, %2 wide, a line of %3")
                            .arg(LayoutCheck::path(w))
                            .arg(size.width())
                            .arg(std::ceil(metrics.horizontalAdvance(line))));
                    break;
                }
        } else if (auto *elided = qobject_cast<ElidedLabel *>(w)) {
            if (!LayoutRole::mayElide(w) && elided->isElidedAt(size.width()))
                add(QStringLiteral("cut with an ellipsis: %1, %2 wide, wants %3")
                        .arg(LayoutCheck::path(w))
                        .arg(size.width())
                        .arg(elided->sizeHint().width()));
        } else if (auto *button = qobject_cast<InkButton *>(w)) {
            // A painted button whose label is wider than the room its frame
            // leaves draws it cut with an ellipsis.
            // (A button whose label wraps needs its height instead, below.)
            if (!LayoutRole::mayElide(w) && !w->layout() && !w->hasHeightForWidth() && !button->text().isEmpty()) {
                const InkLook &look = button->look();
                const QFontMetricsF metrics(look.font);
                const double symbol = look.symbol ? SymbolPainter::size(look.symbolSize > 0 ? look.symbolSize
                                                                                            : Kiv::pixelSize(look.font))
                                                            .width() + look.spacing
                                                  : 0;
                const double room = size.width() - look.padding.left() - look.padding.right() - symbol;
                const double label = metrics.horizontalAdvance(button->text());
                // Cut when its label is wider than the room its frame leaves,
                // and it is narrower than it asks to be (a button that draws
                // its label its own way, smaller or in a cell, reckons that
                // itself).
                const bool askedMore = look.fixedSize.isValid() || button->sizeHint().width() > size.width();
                if (label > room + 0.5 && askedMore)
                    add(QStringLiteral("cut with an ellipsis: %1, %2 wide, wants %3")
                            .arg(LayoutCheck::path(w))
                            .arg(size.width())
                            .arg(button->sizeHint().width()));
            }
        } else if (auto *label = qobject_cast<QLabel *>(w)) {
            if (label->wordWrap() && label->heightForWidth(size.width()) > size.height())
                add(QStringLiteral("cut: %1 is %2 high, its lines need %3")
                        .arg(LayoutCheck::path(w))
                        .arg(size.height())
                        .arg(label->heightForWidth(size.width())));
            if (!label->wordWrap() && !label->text().isEmpty() && label->sizeHint().width() > size.width())
                add(QStringLiteral("text wider than it is: %1, %2 wide, wants %3")
                        .arg(LayoutCheck::path(w))
                        .arg(size.width())
                        .arg(label->sizeHint().width()));
        }
        // A scroll area's own least size is only room for its bars.
        if (w == m_window || qobject_cast<QAbstractScrollArea *>(w))
            return;
        const QSize least = leastSize(w);
        if (size.width() < least.width() || size.height() < least.height())
            add(QStringLiteral("squeezed: %1 is %2×%3, needs %4×%5")
                    .arg(LayoutCheck::path(w))
                    .arg(size.width())
                    .arg(size.height())
                    .arg(least.width())
                    .arg(least.height()));
    }

    // A gap a layout asks for (a spacer of some length that also takes the
    // free room) that the layout hands out shorter: the room ran out and the
    // widgets around it touch.
    void spacers(QWidget *owner, QLayout *layout)
    {
        auto *box = qobject_cast<QBoxLayout *>(layout);
        const bool vertical = box && (box->direction() == QBoxLayout::TopToBottom ||
                                      box->direction() == QBoxLayout::BottomToTop);
        for (int i = 0; i < layout->count(); ++i) {
            QLayoutItem *item = layout->itemAt(i);
            if (QLayout *inner = item->layout()) {
                spacers(owner, inner);
                continue;
            }
            QSpacerItem *spacer = item->spacerItem();
            if (!spacer || !box)
                continue;
            // A gap that is only as long as room allows (a preferred length
            // it may give up) is meant to shrink; one that takes the free
            // room yet may also close up is the fault: it was meant to keep
            // its length.
            const QSizePolicy::Policy policy = vertical ? spacer->sizePolicy().verticalPolicy()
                                                        : spacer->sizePolicy().horizontalPolicy();
            if (!(policy & QSizePolicy::ShrinkFlag) || !(policy & QSizePolicy::ExpandFlag))
                continue;
            const int asked = vertical ? spacer->sizeHint().height() : spacer->sizeHint().width();
            const int given = vertical ? spacer->geometry().height() : spacer->geometry().width();
            if (given < asked)
                add(QStringLiteral("gap lost: a gap of %1 is %2 in %3, item %4 of its layout")
                        .arg(asked)
                        .arg(given)
                        .arg(LayoutCheck::path(owner))
                        .arg(i));
        }
    }

    QWidget *m_window;
    QHash<QWidget *, Drawing> m_drawings;
};

} // namespace

QStringList LayoutCheck::findings(QWidget *window)
{
    Walk walk(window);
    if (window->isVisible())
        walk.widget(window, false);
    return walk.findings;
}

QRect LayoutCheck::drawnBounds(QWidget *face)
{
    return drawingOf(face).bounds;
}

QString LayoutCheck::path(const QWidget *widget)
{
    QStringList parts;
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w->objectName().isEmpty() && w != widget && !w->isWindow())
            continue; // unnamed boxes between named ones
        parts.prepend(name(w));
        if (w->isWindow())
            break;
    }
    return parts.join(QLatin1Char('/'));
}
