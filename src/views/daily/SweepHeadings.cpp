#include "views/daily/SweepHeadings.h"

#include "stores/Totonoe.h"
#include "views/daily/SweepFlow.h"
#include "views/ink/ElidedLabel.h"

#include <QHBoxLayout>

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
        label->setMinimumWidth(label->sizeHint().width());
        row->addWidget(label);
        m_labels << label;
    }
}
