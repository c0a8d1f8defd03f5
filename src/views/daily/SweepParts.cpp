#include "views/daily/SweepParts.h"

#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"

#include <QBoxLayout>
#include <QFontMetricsF>
#include <QResizeEvent>
#include <algorithm>

namespace {

// A centred text that wraps at its words (up to four lines) and, where one
// word alone is wider than the page (the large heading of a narrow window
// at a large text scale), is drawn smaller, just as far as that word needs.
class WrappedLine : public ElidedLabel
{
public:
    WrappedLine(const QString &text, const QFont &font, Tone tone, QWidget *parent)
        : ElidedLabel(text, font, tone, parent)
        , m_font(font)
    {
        setMaxLines(4);
        setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        ElidedLabel::resizeEvent(event);
        if (event->size().width() == event->oldSize().width())
            return;
        double widest = 0;
        const QFontMetricsF metrics(m_font);
        for (const QString &word : text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widest = std::max(widest, metrics.horizontalAdvance(word));
        QFont shown = m_font;
        if (widest > width() && width() > 0)
            shown.setPointSizeF(m_font.pointSizeF() * width() / widest * 0.98);
        if (shown != font())
            setFont(shown);
    }

private:
    QFont m_font;
};

} // namespace

namespace SweepParts {

void gap(QBoxLayout *column, int points)
{
    if (points > 0)
        column->addSpacing(points);
}

ElidedLabel *line(QBoxLayout *column, const QString &text, const QFont &font, Tone tone, int top)
{
    gap(column, top);
    auto *label = new WrappedLine(text, font, tone, column->parentWidget());
    column->addWidget(label);
    return label;
}

TextBlock *block(QBoxLayout *column, const QString &text, const QFont &font, Tone tone, int top)
{
    gap(column, top);
    auto *text_ = new TextBlock(text, font, tone, column->parentWidget());
    text_->setAlignment(Qt::AlignHCenter);
    text_->setContentsMargins(kSide, 0, kSide, 0);
    column->addWidget(text_);
    return text_;
}

InkButton *button(QBoxLayout *column, const QString &label, const QFont &font, Tone tone, int top)
{
    gap(column, top);
    InkLook look = InkLook::plain(font, tone, tone);
    look.opacityHover = 0.75;
    auto *b = new InkButton(label, look, column->parentWidget());
    b->setAccessibleName(label);
    column->addWidget(b, 0, Qt::AlignHCenter);
    return b;
}

InkButton *choice(const QString &label, Tone tint, QWidget *parent)
{
    Tone stroke = tint;
    stroke.opacity *= 0.5;
    Tone strokeHover = tint;
    InkLook look = InkLook::capsule(Kiv::font(14, Kiv::Design::serif), tint, tint, Tone::clear(), Tone::clear(),
                                    stroke, strokeHover);
    look.padding = QMarginsF(22, 10, 22, 10);
    auto *b = new InkButton(label, look, parent);
    b->setAccessibleName(label);
    return b;
}

} // namespace SweepParts
