#include "views/daily/SweepSuggestionPage.h"

#include "core/L.h"
#include "views/daily/FadingText.h"
#include "views/daily/SweepHeadings.h"
#include "views/daily/SweepParts.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"

#include <QVBoxLayout>

using namespace SweepParts;

SweepSuggestionPage::SweepSuggestionPage(const SweepFlow::Suggestions &suggestions, const QString &name,
                                         QWidget *parent)
    : QWidget(parent)
    , m_suggestions(suggestions)
{
    setObjectName(QStringLiteral("sweep.") + name);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(new SweepHeadings(suggestions.current, this), 0, Qt::AlignHCenter);
    gap(column, 26);
    line(column, suggestions.title, Kiv::tracked(Kiv::font(30, Kiv::Design::serif), 4, 0.48), {Kiv::Colour::ink}, 0)
        ->setObjectName(QStringLiteral("sweep.%1.title").arg(name));
    line(column, suggestions.lead, Kiv::font(14, Kiv::Design::serif), {Kiv::Colour::inkSoft}, 20);

    gap(column, 18);
    m_line = new FadingText(Kiv::font(18, Kiv::Design::serif), {Kiv::Colour::ink}, this);
    m_line->setObjectName(QStringLiteral("sweep.%1.suggestion").arg(name));
    m_line->setContentsMargins(kSide, 0, kSide, 0);
    column->addWidget(m_line);

    InkButton *another = button(column, L(QStringLiteral("ほかのすすめを見る")), Kiv::font(10),
                                {Kiv::Colour::inkFaint}, 10);
    another->setObjectName(QStringLiteral("sweep.%1.another").arg(name));
    connect(another, &QAbstractButton::clicked, this, &SweepSuggestionPage::another);
    block(column, suggestions.note, Kiv::font(10), {Kiv::Colour::inkGhost}, 22);
    InkButton *next = button(column, suggestions.next, Kiv::font(14, Kiv::Design::serif), {Kiv::Colour::indigo}, 22);
    next->setObjectName(QStringLiteral("sweep.%1.next").arg(name));
    connect(next, &QAbstractButton::clicked, this, &SweepSuggestionPage::next);
}

void SweepSuggestionPage::refresh(const QDateTime &now, int offset, bool fade)
{
    m_line->setText(SweepFlow::suggestionLine(m_suggestions, now, offset), fade);
}

QString SweepSuggestionPage::shown() const
{
    return m_line->text();
}
