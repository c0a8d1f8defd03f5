#pragma once

#include <QString>

// The request handed to an AI chat assistant together with an exported
// file: it asks for a quiet reading of how the time was spent. Japanese in
// every interface language; it names the export file's keys as they are
// spelled there.
namespace AdvicePrompt {
const QString &text();
}
