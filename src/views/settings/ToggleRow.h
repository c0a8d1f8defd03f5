#pragma once

#include <QFont>
#include <QWidget>

class TextBlock;
class ToggleSwitch;

// A settings row of a label and, at its trailing end, the switch it
// names. toggled() tells only the user's flips; setOn() from a refresh is
// silent.
class ToggleRow : public QWidget
{
    Q_OBJECT
public:
    ToggleRow(const QString &label, const QFont &font, QWidget *parent = nullptr);

    void setLabel(const QString &label);
    QString label() const;
    bool isOn() const;
    void setOn(bool on);
    ToggleSwitch *toggle() const { return m_switch; }

signals:
    void toggled(bool on);

private:
    TextBlock *m_label;
    ToggleSwitch *m_switch;
};
