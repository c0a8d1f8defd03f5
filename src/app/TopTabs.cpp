#include "app/TopTabs.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "views/ink/InkButton.h"
#include "views/ink/Motion.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kSelectMs = 220;
constexpr double kUnderline = 1.5;
constexpr double kMark = 4;
// Room around the text for the mark, which sits beyond the text's corner.
constexpr double kMarkRoom = 8;
constexpr double kBelow = 6;
// In a row too narrow for its titles (a narrow window at a large text
// scale) the titles are drawn smaller, all alike, down to this share of
// their size.
constexpr double kLeastFit = 0.55;
} // namespace

// One tab: its title, the underline under it and the sweep-day mark at its
// top-trailing corner. Choosing fades the title to ink and the underline to
// indigo over 0.22 s.
class TabLabel : public InkButton
{
public:
    TabLabel(RootTab tab, QWidget *parent)
        : InkButton(parent)
        , m_tab(tab)
    {
        const QFont font = Kiv::tracked(Kiv::font(13, Kiv::Design::serif), 2, 0.24);
        InkLook look = InkLook::plain(font, {Kiv::Colour::inkFaint}, {Kiv::Colour::inkSoft});
        look.padding = QMarginsF(kMarkRoom, kMarkRoom / 2, kMarkRoom, kBelow);
        setLook(look);
        setText(L(titleKey(tab)));
        setAccessibleName(text());
        setObjectName(TopTabs::labelName(tab));
    }

    RootTab tab() const { return m_tab; }
    double chosenLevel() const { return m_chosen.value(); }

    // The title's width at its own size.
    double naturalWidth() const { return QFontMetricsF(look().font).horizontalAdvance(text()); }
    // The share of its size the title is drawn at (1: its own size).
    void setFit(double fit)
    {
        if (fit == m_fit)
            return;
        m_fit = fit;
        updateGeometry();
        update();
    }

    void setState(bool selected, bool marked, bool animated)
    {
        setToolTip(TopTabs::helpFor(m_tab, marked));
        setAccessibleDescription(toolTip());
        if (m_marked != marked) {
            m_marked = marked;
            update();
        }
        const double target = selected ? 1.0 : 0.0;
        if (m_chosen.target() == target && !m_chosen.isRunning() && m_chosen.value() == target)
            return;
        if (animated)
            m_chosen.startTo(this, [this] { update(); }, target, kSelectMs, Motion::easeOut());
        else {
            m_chosen.setValue(target);
            update();
        }
    }

protected:
    QSizeF labelSize() const override
    {
        const QSizeF natural = InkButton::labelSize();
        return {natural.width() * m_fit, natural.height()};
    }

    void paintLabel(QPainter &painter, const QRectF &rect, const QColor &colour) override
    {
        const double t = m_chosen.value();
        const double natural = naturalWidth();
        painter.save();
        const QPointF centre = rect.center();
        painter.translate(centre);
        painter.scale(m_fit, m_fit);
        painter.translate(-centre);
        painter.setFont(look().font);
        painter.setPen(Motion::mix(colour, Kiv::ink(), t));
        painter.drawText(QPointF(centre.x() - natural / 2, Kiv::baselineFor(look().font, centre.y())), text());
        painter.restore();
        const double textWidth = natural * m_fit;
        const double left = rect.center().x() - textWidth / 2;
        // The underline spans the text and its padding below, on the bottom edge.
        if (t > 0) {
            QPainterPath line;
            line.addRoundedRect(QRectF(left, height() - kUnderline, textWidth, kUnderline), kUnderline / 2,
                                kUnderline / 2);
            painter.fillPath(line, Kiv::indigo(t));
        }
        if (m_marked) {
            const QPointF corner(left + textWidth, rect.top());
            painter.setBrush(Kiv::vermilion());
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(QRectF(corner.x() + 6 - kMark / 2, corner.y() - 2 - kMark / 2, kMark, kMark));
        }
    }

private:
    RootTab m_tab;
    bool m_marked = false;
    double m_fit = 1;
    Animation m_chosen;
};

TopTabs::TopTabs(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("root.tabs"));
    auto *row = new QHBoxLayout(this);
    // The labels carry room for the mark at both sides; the gap between
    // their titles is 18.
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(std::max(0, 18 - 2 * int(kMarkRoom)));
    row->addStretch();
    for (RootTab tab : allRootTabs()) {
        auto *label = new TabLabel(tab, this);
        connect(label, &QAbstractButton::clicked, this, [this, tab] { emit chosen(tab); });
        row->addWidget(label, 0, Qt::AlignVCenter);
        m_labels << label;
    }
    row->addStretch();
    refresh(false);
}

double TopTabs::fitFor(int width) const
{
    const QMargins margins = contentsMargins();
    double titles = 0;
    for (TabLabel *label : m_labels)
        titles += label->naturalWidth();
    const double room = width - margins.left() - margins.right() -
                        layout()->spacing() * (m_labels.size() - 1) - (2 * kMarkRoom + 1) * m_labels.size();
    return titles > 0 ? std::clamp(room / titles, kLeastFit, 1.0) : 1.0;
}

QSize TopTabs::minimumSizeHint() const
{
    const QMargins margins = contentsMargins();
    double width = margins.left() + margins.right() + layout()->spacing() * (m_labels.size() - 1);
    for (TabLabel *label : m_labels)
        width += 2 * kMarkRoom + label->naturalWidth() * kLeastFit;
    return {int(std::ceil(width)), sizeHint().height()};
}

void TopTabs::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const double fit = fitFor(width());
    for (TabLabel *label : m_labels)
        label->setFit(fit);
}

void TopTabs::setSelection(RootTab tab)
{
    if (tab == m_selection)
        return;
    m_selection = tab;
    refresh(true);
}

void TopTabs::setMarked(std::optional<RootTab> marked)
{
    if (marked == m_marked)
        return;
    m_marked = marked;
    refresh(false);
}

QString TopTabs::helpFor(RootTab tab, bool marked)
{
    return marked ? L("今日は四九日（しくにち）。作務を払う日です。") : L(hintKey(tab));
}

QString TopTabs::labelName(RootTab tab)
{
    return QStringLiteral("root.tab.") + rawValue(tab);
}

void TopTabs::refresh(bool animated)
{
    for (TabLabel *label : m_labels)
        label->setState(label->tab() == m_selection, m_marked == label->tab(), animated);
}
