#pragma once

#include <QString>
#include <QStringList>

// The two day questions that the morning and evening prompts carry, and seven
// example answers to each that the day page shows one of. Each is looked up
// once for each interface language and kept.
namespace DayQuestion {
const QString &morning();
const QString &evening();
const QStringList &morningExamples();
const QStringList &eveningExamples();

// The example lists looked up now, in the current language.
QStringList buildMorningExamples();
QStringList buildEveningExamples();
} // namespace DayQuestion
