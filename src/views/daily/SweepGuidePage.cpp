#include "views/daily/SweepGuidePage.h"

#include "core/L.h"
#include "views/daily/SweepFlow.h"
#include "views/daily/SweepParts.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/GrowingTextField.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"

#include <QPainter>
#include <QVBoxLayout>

using namespace SweepParts;

namespace {
// The rule under the field: a hairline across the page within its sides.
class Rule : public QWidget
{
public:
    explicit Rule(QWidget *parent)
        : QWidget(parent)
    {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Kiv::hairline());
    }
};
} // namespace

SweepGuidePage::SweepGuidePage(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("sweep.standing"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    line(column, L(QStringLiteral("しるべ")), Kiv::tracked(Kiv::font(44, Kiv::Design::serif), 6, 0.72),
         {Kiv::Colour::ink}, 0);
    line(column, L(QStringLiteral("標 ・ 次の四九日（しくにち）までの、向かう先")), Kiv::tracked(Kiv::font(12), 1, 0.12),
         {Kiv::Colour::inkFaint}, 8);
    line(column, L(QStringLiteral("次の四九日まで、何にあてますか")), Kiv::font(14, Kiv::Design::serif),
         {Kiv::Colour::inkSoft}, 24);

    gap(column, 16);
    const QFont guideFont = Kiv::font(16, Kiv::Design::serif);
    if (context.snapshot) {
        m_still = new TextBlock(SweepFlow::guideShown(QString()), guideFont, {Kiv::Colour::ink}, this);
        m_still->setObjectName(QStringLiteral("sweep.guideText"));
        m_still->setAlignment(Qt::AlignHCenter);
        m_still->setContentsMargins(kSide, 0, kSide, 0);
        column->addWidget(m_still);
    } else {
        m_field = new GrowingTextField(1, 3, this);
        m_field->setObjectName(QStringLiteral("sweep.guide"));
        m_field->setFont(guideFont);
        m_field->setTone({Kiv::Colour::ink});
        m_field->setAlignment(Qt::AlignHCenter);
        m_field->setAccessibleName(L(QStringLiteral("次の四九日まで、何にあてますか")));
        auto *sides = new QHBoxLayout;
        sides->setContentsMargins(kSide, 0, kSide, 0);
        sides->addWidget(m_field);
        column->addLayout(sides);
        connect(m_field, &GrowingTextField::textEdited, this, &SweepGuidePage::edited);
        connect(m_field, &GrowingTextField::submitted, this, &SweepGuidePage::finish);
    }
    gap(column, 6);
    auto *ruleRow = new QHBoxLayout;
    ruleRow->setContentsMargins(kSide, 0, kSide, 0);
    ruleRow->addWidget(new Rule(this));
    column->addLayout(ruleRow);

    block(column, L(QStringLiteral("空のままでも構いません。掲げたものは、次の四九日まで一日の頭に居ます。")),
          Kiv::font(10), {Kiv::Colour::inkFaint}, 12);
    InkButton *ok = button(column, L(QStringLiteral("これでよい")), Kiv::font(14, Kiv::Design::serif),
                           {Kiv::Colour::indigo}, 22);
    ok->setObjectName(QStringLiteral("sweep.ok"));
    connect(ok, &QAbstractButton::clicked, this, &SweepGuidePage::finish);
}

void SweepGuidePage::setGuide(const QString &guide)
{
    if (m_field && m_field->text() != guide)
        m_field->setText(guide);
    if (m_still)
        m_still->setText(SweepFlow::guideShown(guide));
}

void SweepGuidePage::stopWriting()
{
    if (m_field)
        m_field->clearFocus();
}
