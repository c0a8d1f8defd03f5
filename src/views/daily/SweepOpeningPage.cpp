#include "views/daily/SweepOpeningPage.h"

#include "core/L.h"
#include "stores/Shikunichi.h"
#include "views/daily/SweepParts.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"

#include <QVBoxLayout>

using namespace SweepParts;

SweepOpeningPage::SweepOpeningPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("sweep.opening"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    line(column, Shikunichi::word(), Kiv::tracked(Kiv::font(64, Kiv::Design::serif), 10, 1.2), {Kiv::Colour::ink}, 0)
        ->setObjectName(QStringLiteral("sweep.word"));
    line(column, Shikunichi::reading(), Kiv::tracked(Kiv::font(12), 3, 0.36), {Kiv::Colour::inkFaint}, 6);
    m_text = block(column, QString(), Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::inkSoft}, 26);
    m_text->setObjectName(QStringLiteral("sweep.explanation"));
    m_text->setLineSpacing(5);
    m_count = line(column, QString(), Kiv::font(10), {Kiv::Colour::inkFaint}, 20);
    m_count->setObjectName(QStringLiteral("sweep.countLine"));
    m_begin = button(column, L(QStringLiteral("はじめる")), Kiv::font(14, Kiv::Design::serif), {Kiv::Colour::indigo}, 18);
    m_begin->setObjectName(QStringLiteral("sweep.begin"));
    connect(m_begin, &QAbstractButton::clicked, this, &SweepOpeningPage::advance);
}

void SweepOpeningPage::refresh(const SweepFlow::Sweeping &sweeping, const QDateTime &now)
{
    m_text->setText(Shikunichi::explanation() + QLatin1Char('\n') + Shikunichi::closing(now));
    m_count->setText(SweepFlow::countLine(sweeping));
}
