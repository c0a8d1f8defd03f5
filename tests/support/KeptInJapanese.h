#pragma once

#include <QSet>
#include <QString>

// The texts that read in Japanese whatever the interface language: the
// again button and the closing words of a run, the practice shelf's two
// groups, its composer and its tally line, and the caption under the
// copy-the-prompt button (the prompt it copies is Japanese too). They have no
// English text, and the English screens show them as they are.
namespace KeptInJapanese {

const QSet<QString> &keys();

} // namespace KeptInJapanese
