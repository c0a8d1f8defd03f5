#include "views/day/DayCard.h"

#include "core/Kiv.h"
#include "views/ink/ElidedLabel.h"

#include <QHBoxLayout>
#include <QMimeData>
#include <QPainter>
#include <QVBoxLayout>

void CardField::insertFromMimeData(const QMimeData *source)
{
    if (source->hasText())
        textCursor().insertText(source->text());
}

DayCard::DayCard(const QString &name, const QString &mark, const QString &question, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(8);
    auto *header = new QHBoxLayout;
    header->setSpacing(10);
    m_mark = new ElidedLabel(mark, Kiv::font(20, Kiv::Design::serif), Tone{Kiv::Colour::ink}, this);
    m_mark->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    header->addWidget(m_mark, 0, Qt::AlignBottom);
    auto *q = new ElidedLabel(question, Kiv::font(12), Tone{Kiv::Colour::inkSoft}, this);
    q->setMaxLines(3); // the question wraps beside a wide mark ("Morning" at a large text scale)
    header->addWidget(q, 1, Qt::AlignBottom);
    column->addLayout(header);

    m_field = new CardField(1, 4, this);
    m_field->setObjectName(name + QStringLiteral(".field"));
    m_field->setFont(Kiv::font(15, Kiv::Design::serif));
    m_field->setAccessibleName(question);
    column->addWidget(m_field);
    auto *rule = new QWidget(this);
    rule->setFixedHeight(1);
    rule->setObjectName(QStringLiteral("rule"));
    column->addWidget(rule);

    connect(m_field, &GrowingTextField::textEdited, this, [this](const QString &typed) {
        if (DayPageRules::hasLineBreak(typed)) {
            const QString line = DayPageRules::oneLine(typed);
            m_field->setText(line);
            emit edited(line);
            m_field->clearFocus();
            emit left();
            return;
        }
        emit edited(typed);
    });
    connect(m_field, &GrowingTextField::submitted, this, &DayCard::submitted);
}

void DayCard::setLook(const DayPageRules::CardLook &look)
{
    m_look = look;
    m_mark->setTone(Tone{look.dimmed ? Kiv::Colour::inkFaint : Kiv::Colour::ink});
    update();
}

void DayCard::setExample(const QString &example)
{
    m_field->setPlaceholderText(example);
}

void DayCard::setText(const QString &text)
{
    if (isWriting())
        return;
    m_field->setText(text);
}

QString DayCard::text() const
{
    return m_field->text();
}

bool DayCard::isWriting() const
{
    return m_field->hasFocus();
}

void DayCard::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(Kiv::hairline(m_look.outline), 1));
    p.setBrush(Kiv::paperRaised(m_look.fill));
    p.drawRoundedRect(r, 10, 10);
    // The rule under the field.
    if (QWidget *rule = findChild<QWidget *>(QStringLiteral("rule")))
        p.fillRect(rule->geometry(), Kiv::hairline());
}
