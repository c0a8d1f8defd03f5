#include "views/settings/PickerRow.h"

#include "views/ink/TextBlock.h"
#include "views/settings/SettingsStyle.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QSignalBlocker>

PickerRow::PickerRow(const QString &label, QWidget *parent)
    : QWidget(parent)
    , m_label(new TextBlock(label, SettingsStyle::captionFont(), Tone{Kiv::Colour::ink}, this))
    , m_combo(new QComboBox(this))
{
    // Side by side; with large text the label stands above the list, so
    // that neither is squeezed.
    if (Kiv::scale() > kStackedFromScale) {
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(4);
        layout->addWidget(m_label);
        layout->addWidget(m_combo);
    } else {
        auto *layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(12);
        layout->addWidget(m_label, 2, Qt::AlignVCenter);
        layout->addWidget(m_combo, 3, Qt::AlignVCenter);
    }
    m_combo->setFont(SettingsStyle::captionFont());
    m_combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_combo->setMinimumContentsLength(6);
    m_combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_combo->setAccessibleName(label);
    connect(m_combo, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < m_options.size())
            emit chosen(m_options.at(index).first);
    });
}

void PickerRow::setOptions(const Options &options)
{
    if (options == m_options)
        return;
    const std::optional<QString> kept = selection();
    const QSignalBlocker quiet(m_combo);
    m_options = options;
    m_combo->clear();
    for (const auto &[tag, text] : options)
        m_combo->addItem(text, tag);
    setSelection(kept.value_or(QString()));
    if (!kept)
        m_combo->setCurrentIndex(-1);
}

void PickerRow::setSelection(const QString &tag)
{
    const QSignalBlocker quiet(m_combo);
    int index = -1;
    for (int i = 0; i < m_options.size(); ++i)
        if (m_options.at(i).first == tag) {
            index = i;
            break;
        }
    m_combo->setCurrentIndex(index);
}

std::optional<QString> PickerRow::selection() const
{
    const int index = m_combo->currentIndex();
    if (index < 0 || index >= m_options.size())
        return std::nullopt;
    return m_options.at(index).first;
}
