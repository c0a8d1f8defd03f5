#include "views/day/TimeAndLength.h"

#include "core/L.h"
#include "views/day/DayStyle.h"
#include "views/day/MinuteField.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QMarginsF kPadding(8, 4, 8, 4);

InkLook nudgeLook(bool enabled)
{
    return DayStyle::outlined(11, enabled ? Kiv::Colour::inkSoft : Kiv::Colour::inkGhost, Kiv::Colour::hairline, 1.0,
                              kPadding);
}

InkLook chipLook(bool chosen, bool enabled)
{
    if (chosen)
        return DayStyle::filled(11, Kiv::Colour::paper, Kiv::Colour::indigo, kPadding);
    return DayStyle::outlined(11, enabled ? Kiv::Colour::ink : Kiv::Colour::inkGhost, Kiv::Colour::hairline, 1.0,
                              kPadding);
}

QWidget *label(const QString &text, QWidget *parent)
{
    auto *l = new ElidedLabel(text, Kiv::font(12), Tone{Kiv::Colour::inkSoft}, parent);
    l->setFixedWidth(int(40 * Kiv::scale()));
    return l;
}

} // namespace

TimeAndLength::TimeAndLength(const QString &name, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name + QStringLiteral(".chooser"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);

    const QString back = L(QStringLiteral("−15分"));
    const QString forward = L(QStringLiteral("＋15分"));
    auto timeRow = [&](const QString &title, const QString &key, MinuteField *&field, InkButton *&b, InkButton *&f) {
        auto *row = new QHBoxLayout;
        row->setSpacing(8);
        row->addWidget(label(title, this));
        field = new MinuteField(this);
        field->setObjectName(name + QLatin1Char('.') + key);
        field->setAccessibleName(title);
        row->addWidget(field);
        b = DayStyle::button(back, nudgeLook(true), name + QLatin1Char('.') + key + QStringLiteral("Back"), this);
        b->setAccessibleName(title + QLatin1Char(' ') + back);
        f = DayStyle::button(forward, nudgeLook(true), name + QLatin1Char('.') + key + QStringLiteral("Forward"),
                             this);
        f->setAccessibleName(title + QLatin1Char(' ') + forward);
        row->addWidget(b);
        row->addWidget(f);
        row->addStretch(1);
        column->addLayout(row);
    };
    timeRow(L(QStringLiteral("始まり")), QStringLiteral("start"), m_startField, m_startBack, m_startForward);
    timeRow(L(QStringLiteral("終わり")), QStringLiteral("end"), m_endField, m_endBack, m_endForward);

    auto *lengthRow = new QHBoxLayout;
    lengthRow->setSpacing(8);
    lengthRow->addWidget(new ElidedLabel(L(QStringLiteral("長さ")), Kiv::font(12), Tone{Kiv::Colour::inkSoft}, this));
    auto *chips = new QHBoxLayout;
    chips->setSpacing(5);
    for (int n : TimeAndLengthRules::chips()) {
        InkButton *chip = DayStyle::button(TimeAndLengthRules::chipText(n), chipLook(false, true),
                                           name + QStringLiteral(".chip") + QString::number(n), this);
        chip->setCheckable(true); // read as checked while chosen
        connect(chip, &InkButton::clicked, this, [this, n] { apply([n](TimeAndLengthRules &r) { r.chooseChip(n); }); });
        m_chips << chip;
        chips->addWidget(chip);
    }
    lengthRow->addLayout(chips);
    lengthRow->addStretch(1);
    column->addLayout(lengthRow);

    m_summary = new ElidedLabel(QString(), Kiv::font(12), Tone{Kiv::Colour::inkSoft}, this);
    m_summary->setObjectName(name + QStringLiteral(".summary"));
    column->addWidget(m_summary);

    connect(m_startField, &MinuteField::picked, this,
            [this](int m) { apply([m](TimeAndLengthRules &r) { r.pickStart(m); }); });
    connect(m_endField, &MinuteField::picked, this,
            [this](int m) { apply([m](TimeAndLengthRules &r) { r.pickEnd(m); }); });
    connect(m_startBack, &InkButton::clicked, this, [this] { apply([](TimeAndLengthRules &r) { r.startBack(); }); });
    connect(m_startForward, &InkButton::clicked, this,
            [this] { apply([](TimeAndLengthRules &r) { r.startForward(); }); });
    connect(m_endBack, &InkButton::clicked, this, [this] { apply([](TimeAndLengthRules &r) { r.shiftEnd(-15); }); });
    connect(m_endForward, &InkButton::clicked, this, [this] { apply([](TimeAndLengthRules &r) { r.shiftEnd(15); }); });
    refresh();
}

void TimeAndLength::set(int start, int minutes, int limit)
{
    m_rules = {start, minutes, limit};
    refresh();
}

void TimeAndLength::apply(const std::function<void(TimeAndLengthRules &)> &step)
{
    step(m_rules);
    refresh();
    emit changed();
}

void TimeAndLength::refresh()
{
    m_startField->setMinute(m_rules.start);
    m_endField->setMinute(m_rules.end());
    auto nudge = [](InkButton *b, bool enabled) {
        b->setEnabled(enabled);
        b->setLook(nudgeLook(enabled));
    };
    nudge(m_startBack, m_rules.canStartBack());
    nudge(m_startForward, m_rules.canStartForward());
    nudge(m_endBack, m_rules.canEndBack());
    nudge(m_endForward, m_rules.canEndForward());
    const QList<int> lengths = TimeAndLengthRules::chips();
    for (int i = 0; i < m_chips.size(); ++i) {
        const int n = lengths[i];
        const bool chosen = m_rules.chipChosen(n), enabled = m_rules.chipEnabled(n);
        m_chips[i]->setEnabled(enabled);
        m_chips[i]->setLook(chipLook(chosen, enabled));
        m_chips[i]->setChecked(chosen);
    }
    m_summary->setText(m_rules.summary());
}
