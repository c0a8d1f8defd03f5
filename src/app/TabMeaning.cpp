#include "app/TabMeaning.h"

#include "core/Glossary.h"
#include "core/Kiv.h"
#include "core/L.h"
#include "views/ink/Crossfade.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/LayoutRole.h"
#include "views/ink/Motion.h"
#include "views/ink/Reveal.h"
#include "views/ink/SymbolPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kMeaningLines = 12;
// The fold opens and closes over 0.18 s (ease-out); a change of tab eases
// the whole column over 0.2 s (ease-in-out), closing the fold.
constexpr int kFoldMs = 180;
constexpr int kTabMs = 200;
} // namespace

// The gloss and its chevron, side by side: the text faint, the chevron a
// ghost (not named to assistive tools; the button's name says what it does).
class HintButton : public InkButton
{
public:
    explicit HintButton(QWidget *parent)
        : InkButton(parent)
    {
        InkLook look = InkLook::plain(Kiv::font(12), {Kiv::Colour::inkFaint}, {Kiv::Colour::inkSoft});
        look.padding = QMarginsF(12, 2, 12, 2);
        setLook(look);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        LayoutRole::setMayElide(this);
    }
    void setOpen(bool open)
    {
        m_open = open;
        update();
    }
    // A gloss wider than the window at a large text scale is cut short with
    // an ellipsis (the meaning it opens holds the whole of it) rather than
    // widening the window.
    QSize minimumSizeHint() const override
    {
        const QMarginsF &p = look().padding;
        const double side = SymbolPainter::size(7 * Kiv::scale()).width();
        const double least = QFontMetricsF(look().font).horizontalAdvance(QStringLiteral("一二三…"));
        return {int(std::ceil(p.left() + least + 4 + side + p.right())), sizeHint().height()};
    }

protected:
    QSizeF labelSize() const override
    {
        const QSizeF text = InkButton::labelSize();
        const double side = SymbolPainter::size(7 * Kiv::scale()).width();
        return {text.width() + 4 + side, std::max(text.height(), side)};
    }
    void paintLabel(QPainter &painter, const QRectF &rect, const QColor &colour) override
    {
        const double side = SymbolPainter::size(7 * Kiv::scale()).width();
        const double shown = std::min(labelSize().width(), rect.width());
        const double left = rect.center().x() - shown / 2;
        const double textWidth = shown - 4 - side;
        InkButton::paintLabel(painter, QRectF(left, rect.top(), textWidth, rect.height()), colour);
        SymbolPainter::paint(painter, QRectF(left + textWidth + 4, rect.center().y() - side / 2, side, side),
                             m_open ? Symbol::chevronUp : Symbol::chevronDown, Kiv::inkGhost());
    }

private:
    bool m_open = false;
};

TabMeaning::TabMeaning(RootTab tab, bool snapshot, QWidget *parent)
    : QWidget(parent)
    , m_tab(tab)
    , m_snapshot(snapshot)
{
    setObjectName(QStringLiteral("root.meaning"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);

    m_hint = new HintButton(this);
    m_hint->setObjectName(QStringLiteral("root.meaning.hint"));
    connect(m_hint, &QAbstractButton::clicked, this, [this] { setOpen(!m_open); });
    column->addWidget(m_hint, 0, Qt::AlignHCenter);

    m_fold = new QWidget(this);
    m_fold->setObjectName(QStringLiteral("root.meaning.fold"));
    auto *fold = new QVBoxLayout(m_fold);
    fold->setContentsMargins(24, 0, 24, 2);
    fold->setSpacing(6);
    m_meaning = new ElidedLabel(QString(), Kiv::font(11), {Kiv::Colour::inkSoft}, m_fold);
    m_meaning->setObjectName(QStringLiteral("root.meaning.text"));
    m_meaning->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_meaning->setMaxLines(kMeaningLines);
    fold->addWidget(m_meaning);
    InkLook link = InkLook::plain(Kiv::font(12), {Kiv::Colour::indigo}, {Kiv::Colour::indigo});
    link.opacityHover = 0.75;
    m_more = new InkButton(L("ほかの言葉も見る"), link, m_fold);
    m_more->setObjectName(QStringLiteral("root.meaning.more"));
    m_more->setAccessibleName(m_more->text());
    connect(m_more, &QAbstractButton::clicked, this, [this] {
        setOpen(false);
        emit glossaryRequested();
    });
    fold->addWidget(m_more, 0, Qt::AlignHCenter);
    m_foldBox = new Reveal(m_fold, this);
    m_foldBox->setShownNow(false);
    column->addWidget(m_foldBox);
    m_crossfade = new Crossfade(this);
    refresh();
}

void TabMeaning::setTab(RootTab tab)
{
    if (tab == m_tab)
        return;
    m_tab = tab;
    m_open = false;
    // The old gloss (and the fold, if open) dissolves into the new one.
    if (m_crossfade->capture())
        m_crossfade->play(kTabMs, Motion::easeInOut());
    m_foldBox->setMotion(kTabMs, Motion::easeInOut());
    refresh();
}

void TabMeaning::setOpen(bool open)
{
    if (open == m_open)
        return;
    m_open = open;
    m_foldBox->setMotion(kFoldMs, Motion::easeOut());
    refresh();
}

std::optional<QString> TabMeaning::meaning(RootTab tab, bool snapshot)
{
    // The glossary keeps the language of its first use for the run; still
    // pictures draw both languages in one run, so they build it afresh.
    const std::optional<GlossaryEntry> entry =
        snapshot ? Glossary::entry(Glossary::build(), titleKey(tab)) : Glossary::entry(titleKey(tab));
    if (!entry)
        return std::nullopt;
    return entry->meaning;
}

void TabMeaning::refresh()
{
    m_hint->setText(L(hintKey(m_tab)));
    m_hint->setAccessibleName(L("{0}の意味", L(titleKey(m_tab))));
    m_hint->setOpen(m_open);
    m_hint->updateGeometry();
    const std::optional<QString> text = m_open ? meaning(m_tab, m_snapshot) : std::nullopt;
    if (text)
        m_meaning->setText(*text);
    m_foldBox->setShown(text.has_value());
}
