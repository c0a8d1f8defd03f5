#include "views/settings/ToggleRow.h"

#include "views/ink/TextBlock.h"
#include "views/ink/ToggleSwitch.h"

#include <QHBoxLayout>

ToggleRow::ToggleRow(const QString &label, const QFont &font, QWidget *parent)
    : QWidget(parent)
    , m_label(new TextBlock(label, font, Tone{Kiv::Colour::ink}, this))
    , m_switch(new ToggleSwitch(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(m_label, 1, Qt::AlignVCenter);
    layout->addWidget(m_switch, 0, Qt::AlignVCenter);
    m_switch->setAccessibleName(label);
    connect(m_switch, &ToggleSwitch::clicked, this, &ToggleRow::toggled);
}

void ToggleRow::setLabel(const QString &label)
{
    m_label->setText(label);
    m_switch->setAccessibleName(label);
}

QString ToggleRow::label() const
{
    return m_label->text();
}

bool ToggleRow::isOn() const
{
    return m_switch->isChecked();
}

void ToggleRow::setOn(bool on)
{
    if (m_switch->isChecked() != on)
        m_switch->setChecked(on);
}
