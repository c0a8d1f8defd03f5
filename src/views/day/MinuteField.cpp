#include "views/day/MinuteField.h"

#include "core/Kiv.h"
#include "model/DayClock.h"

#include <QRegularExpression>

namespace {

// "9:05", "9：05", "905" or "9" as minutes of the day; -1 when unreadable.
int parse(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,2})(?:\\s*[:：.]\\s*(\\d{0,2}))?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return -1;
    const int h = m.captured(1).toInt();
    const int min = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    if (h > 24 || min > 59 || (h == 24 && min > 0))
        return -1;
    return h * 60 + min;
}

} // namespace

MinuteField::MinuteField(QWidget *parent)
    : QSpinBox(parent)
{
    setRange(0, 1440);
    setSingleStep(5);
    setFont(Kiv::font(12));
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setKeyboardTracking(false);
    connect(this, &QSpinBox::valueChanged, this, [this](int v) {
        if (!m_setting)
            emit picked(v);
    });
}

void MinuteField::setMinute(int minute)
{
    m_setting = true;
    setValue(minute);
    m_setting = false;
}

QString MinuteField::textFromValue(int value) const
{
    return DayClock::text(value);
}

int MinuteField::valueFromText(const QString &text) const
{
    const int m = parse(text);
    return m < 0 ? value() : m;
}

QValidator::State MinuteField::validate(QString &input, int &) const
{
    if (parse(input) >= 0)
        return QValidator::Acceptable;
    static const QRegularExpression partial(QStringLiteral("^\\s*\\d{0,2}(\\s*[:：.]\\s*\\d{0,2})?\\s*$"));
    return partial.match(input).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
}
