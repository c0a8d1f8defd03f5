#include "views/settings/SettingsStyle.h"

#include "core/Kiv.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace SettingsStyle {

QFont labelFont()
{
    return Kiv::font(13);
}

QFont captionFont(double size)
{
    return Kiv::font(size);
}

namespace {

TextBlock *text(const QString &content, Kiv::Colour colour, double opacity, QWidget *parent)
{
    return new TextBlock(content, captionFont(), Tone{colour, opacity}, parent);
}

} // namespace

TextBlock *caption(const QString &content, QWidget *parent)
{
    return text(content, Kiv::Colour::inkFaint, 1.0, parent);
}

TextBlock *description(const QString &content, QWidget *parent)
{
    return text(content, Kiv::Colour::inkSoft, 1.0, parent);
}

TextBlock *plainText(const QString &content, QWidget *parent)
{
    return text(content, Kiv::Colour::ink, 1.0, parent);
}

TextBlock *errorText(QWidget *parent)
{
    return text(QString(), Kiv::Colour::vermilion, 0.9, parent);
}

namespace {

// A form button whose label wraps onto further lines where the form is too
// narrow for it on one (a long label at a large text scale in the fixed
// settings window), rather than pushing the form wider than its window.
class WrappingButton : public InkButton
{
public:
    WrappingButton(const QString &label, const InkLook &look, QWidget *parent)
        : InkButton(label, look, parent)
    {
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    QSize minimumSizeHint() const override
    {
        // As narrow as its widest piece that no line may break.
        const QFontMetricsF metrics(look().font);
        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text());
        double widest = 0;
        qsizetype from = 0;
        for (qsizetype at = breaks.toNextBoundary(); at >= 0; at = breaks.toNextBoundary()) {
            widest = std::max(widest, metrics.horizontalAdvance(text().mid(from, at - from).trimmed()));
            from = at;
        }
        const QMarginsF &p = look().padding;
        return {int(std::ceil(widest + p.left() + p.right())), sizeHint().height()};
    }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override
    {
        const QMarginsF &p = look().padding;
        const double lines = double(linesAt(width - p.left() - p.right()).size());
        return int(std::ceil(std::max(1.0, lines) * Kiv::lineHeight(look().font) + p.top() + p.bottom()));
    }

protected:
    void paintLabel(QPainter &painter, const QRectF &rect, const QColor &colour) override
    {
        const QStringList lines = linesAt(rect.width());
        if (lines.size() <= 1) {
            InkButton::paintLabel(painter, rect, colour);
            return;
        }
        const QFontMetricsF metrics(look().font);
        const double line = Kiv::lineHeight(look().font);
        double top = rect.center().y() - line * double(lines.size()) / 2;
        painter.setFont(look().font);
        painter.setPen(colour);
        for (const QString &text : lines) {
            const double x = rect.center().x() - metrics.horizontalAdvance(text) / 2;
            painter.drawText(QPointF(x, Kiv::baselineFor(look().font, top + line / 2)), text);
            top += line;
        }
    }

private:
    QStringList linesAt(double width) const
    {
        // One line where it fits (the layout below breaks a line that only
        // just fits).
        if (QFontMetricsF(look().font).horizontalAdvance(text()) <= width + 1)
            return {text()};
        QTextLayout layout(text(), look().font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        QStringList lines;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(std::max(1.0, width));
            lines << text().mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
        return lines;
    }
};

} // namespace

InkButton *button(const QString &label, const QString &objectName, QWidget *parent)
{
    InkLook look = InkLook::capsule(Kiv::font(12.5), Tone{Kiv::Colour::ink}, Tone{Kiv::Colour::ink},
                                    Tone{Kiv::Colour::paperRaised}, Tone{Kiv::Colour::indigo, 0.06},
                                    Tone{Kiv::Colour::hairline}, Tone{Kiv::Colour::indigo, 0.45});
    look.shape = InkLook::Shape::rounded;
    look.cornerRadius = 6;
    look.padding = QMarginsF(12, 4, 12, 4);
    auto *b = new WrappingButton(label, look, parent);
    b->setObjectName(objectName);
    return b;
}

InkButton *link(const QString &label, const QString &objectName, QWidget *parent)
{
    InkLook look = InkLook::plain(Kiv::font(12), Tone{Kiv::Colour::indigo}, Tone{Kiv::Colour::indigo, 0.75});
    look.padding = QMarginsF(0, 2, 0, 2);
    auto *b = new InkButton(label, look, parent);
    b->setObjectName(objectName);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QHBoxLayout *buttonRow(const QList<QWidget *> &buttons)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    for (QWidget *b : buttons)
        row->addWidget(b, 0, Qt::AlignVCenter);
    row->addStretch(1);
    return row;
}

} // namespace SettingsStyle
