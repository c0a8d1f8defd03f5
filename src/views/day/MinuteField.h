#pragma once

#include <QSpinBox>

// A time of the day page's day as "H:MM", 0:00 to 24:00: the arrows and the
// wheel step five minutes, typed times are read as hours and minutes. Only
// the user's changes are told (picked()).
class MinuteField : public QSpinBox
{
    Q_OBJECT
public:
    explicit MinuteField(QWidget *parent = nullptr);

    // Sets the shown minute without telling.
    void setMinute(int minute);

signals:
    void picked(int minute);

protected:
    QString textFromValue(int value) const override;
    int valueFromText(const QString &text) const override;
    QValidator::State validate(QString &input, int &pos) const override;

private:
    bool m_setting = false;
};
