#pragma once

#include <QString>

// The offering alert of the settings window: a text of thanks; nothing is
// paid. Each text is looked up once on first use and kept for the run.
namespace Fuse {
// 布施 / Fuse (a gift): the row's label.
const QString &word();
// The alert's message: eight lines in four blocks.
const QString &message();
// The alert's only button.
const QString &closing();
// The alert's title: the word with its kana reading in Japanese ("布施（ふせ）"),
// the word alone in English.
QString alertTitle();
// The row's button.
QString offerButton();
} // namespace Fuse
