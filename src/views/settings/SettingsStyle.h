#pragma once

#include <QFont>
#include <QList>
#include <QString>

class InkButton;
class QHBoxLayout;
class QWidget;
class TextBlock;

// The type and the small widgets every settings section is built from, so
// that all sections read alike: the form's label font, captions (faint,
// never cut short), descriptions, error lines, bordered buttons and links.
namespace SettingsStyle {

// Labels of switches, pickers and buttons.
QFont labelFont();
// Captions, descriptions and notes: 12 at scale 1, regular.
QFont captionFont(double size = 12);

TextBlock *caption(const QString &text, QWidget *parent = nullptr);     // ink faint
TextBlock *description(const QString &text, QWidget *parent = nullptr); // ink soft
TextBlock *plainText(const QString &text, QWidget *parent = nullptr);   // ink
TextBlock *errorText(QWidget *parent = nullptr);                        // vermilion

// A bordered push button and a link-styled one, with their object names.
InkButton *button(const QString &text, const QString &objectName, QWidget *parent = nullptr);
InkButton *link(const QString &text, const QString &objectName, QWidget *parent = nullptr);

// Buttons side by side, 10 apart, leading-aligned.
QHBoxLayout *buttonRow(const QList<QWidget *> &buttons);

} // namespace SettingsStyle
