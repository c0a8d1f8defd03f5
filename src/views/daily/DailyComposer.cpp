#include "views/daily/DailyComposer.h"

#include "core/L.h"
#include "views/daily/PracticeShelf.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/PlainLineEdit.h"
#include "views/ink/SegmentedControl.h"
#include "views/ink/TextBlock.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cmath>

DailyComposer::DailyComposer(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("daily.composer"));
    setFixedWidth(int(std::ceil(240 * Kiv::scale())));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(10);
    column->addWidget(
        new ElidedLabel(L("くり返すこと"), Kiv::tracked(Kiv::font(12), 2, 0.24), {Kiv::Colour::inkSoft}, this));
    m_field = new PlainLineEdit(this);
    m_field->setObjectName(QStringLiteral("daily.composer.title"));
    m_field->setFont(Kiv::font(13));
    m_field->setPlaceholderText(L("坐禅、日記、素振り…"));
    m_field->setAccessibleName(L("くり返すこと"));
    column->addWidget(m_field);
    m_group = new SegmentedControl({L("日々"), L("折々")}, this);
    m_group->setObjectName(QStringLiteral("daily.composer.group"));
    m_group->setAccessibleName(L("日々") + QLatin1Char('/') + L("折々"));
    column->addWidget(m_group);
    m_explanation = new TextBlock(PracticeShelf::composerExplanation(false), Kiv::font(12), {Kiv::Colour::inkFaint}, this);
    m_explanation->setObjectName(QStringLiteral("daily.composer.explanation"));
    column->addWidget(m_explanation);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    InkLook look = InkLook::plain(Kiv::font(13), {Kiv::Colour::indigo}, {Kiv::Colour::indigo});
    look.opacityHover = 0.75;
    auto *add = new InkButton(L("足す"), look, this);
    add->setObjectName(QStringLiteral("daily.composer.add"));
    add->setAccessibleName(add->text());
    row->addWidget(add);
    column->addLayout(row);

    connect(m_group, &SegmentedControl::currentChanged, this, [this](int index) { setOccasional(index == 1); });
    connect(m_field, &QLineEdit::returnPressed, this, &DailyComposer::commit);
    connect(add, &QAbstractButton::clicked, this, &DailyComposer::commit);
}

QString DailyComposer::draft() const
{
    return m_field->text();
}

void DailyComposer::setOccasional(bool occasional)
{
    m_occasional = occasional;
    m_group->setCurrentIndex(occasional ? 1 : 0);
    m_explanation->setText(PracticeShelf::composerExplanation(occasional));
}

void DailyComposer::reset()
{
    m_field->clear();
    setOccasional(false);
}
