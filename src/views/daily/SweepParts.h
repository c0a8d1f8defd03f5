#pragma once

#include "views/ink/Tone.h"

#include <QFont>
#include <QString>

class ElidedLabel;
class InkButton;
class QBoxLayout;
class QWidget;
class TextBlock;

// The small pieces every page of the sweep is made of: centred texts,
// centred wrapped texts with side margins, plain text buttons and the
// outlined choices of the review.
namespace SweepParts {

// The sides of wrapped texts and of the field, times nothing (points).
constexpr int kSide = 32;

// One centred text, added to the column with `top` points above it: it
// wraps at its words, and a word wider than the page is drawn smaller.
ElidedLabel *line(QBoxLayout *column, const QString &text, const QFont &font, Tone tone, int top);
// A wrapped text with centred lines, 32 points in from both sides.
TextBlock *block(QBoxLayout *column, const QString &text, const QFont &font, Tone tone, int top);
// A plain text button, centred.
InkButton *button(QBoxLayout *column, const QString &label, const QFont &font, Tone tone, int top);
// A capsule outlined in the tint at half strength, label serif 14, padded
// 22 × 10; the whole capsule is the hit area.
InkButton *choice(const QString &label, Tone tint, QWidget *parent);
// Space above the next row.
void gap(QBoxLayout *column, int points);

} // namespace SweepParts
