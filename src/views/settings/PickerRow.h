#pragma once

#include <QList>
#include <QPair>
#include <QWidget>
#include <optional>

class QComboBox;
class TextBlock;

// A settings row of a label and a pop-up list of options, each standing for
// a tag. The options and the selection are set from a refresh without a
// signal; chosen() tells the tag the user picked. A selection that matches
// no option shows none chosen.
class PickerRow : public QWidget
{
    Q_OBJECT
public:
    using Options = QList<QPair<QString, QString>>; // (tag, text)

    // Above this text scale the label stands above the list.
    static constexpr double kStackedFromScale = 1.25;

    explicit PickerRow(const QString &label, QWidget *parent = nullptr);

    void setOptions(const Options &options);
    const Options &options() const { return m_options; }
    void setSelection(const QString &tag);
    // The tag shown as chosen; nothing when none is.
    std::optional<QString> selection() const;
    QComboBox *combo() const { return m_combo; }

signals:
    void chosen(const QString &tag);

private:
    TextBlock *m_label;
    QComboBox *m_combo;
    Options m_options;
};
