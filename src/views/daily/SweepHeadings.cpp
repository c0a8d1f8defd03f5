#include "views/daily/SweepHeadings.h"

#include "stores/Totonoe.h"
#include "views/daily/SweepFlow.h"
#include "views/ink/ElidedLabel.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <algorithm>
#include <cmath>

SweepHeadings::SweepHeadings(int current, QWidget *parent)
    : QWidget(parent)
    , m_current(current)
{
    setObjectName(QStringLiteral("sweep.headings"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(14);
    for (int i = 0; i < int(Totonoe::labels().size()); ++i) {
        const Tone tone{i == current ? Kiv::Colour::ink : Kiv::Colour::inkGhost};
        auto *label = new ElidedLabel(SweepFlow::heading(i), Kiv::font(10), tone, this);
        // Whole on one line where there is room; in a narrow window each
        // heading takes a second line rather than being cut.
        label->setMaxLines(2);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        double widest = 0;
        for (const QString &word : label->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widest = std::max(widest, QFontMetricsF(label->font()).horizontalAdvance(word));
        label->setMinimumWidth(int(std::ceil(widest)));
        row->addWidget(label);
        m_labels << label;
    }
}
