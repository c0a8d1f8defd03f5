#pragma once

#include "core/Mode.h"

#include <QString>
#include <optional>

// What the preparation screen shows for one step: the large word, the small
// line under it, the instruction, and the step's length (the same the model
// waits, so a mark's fill ends with its step). In Japanese the word is the
// Japanese term and the line its kana reading; in English the word is the
// romanized term and the line the Japanese word itself.
struct PreparationText
{
    QString word;
    QString reading;
    QString instruction;
    double seconds = 4;

    static PreparationText of(Preparation step);
    // The length of a step: 6 s for the breath, 4 s for the others.
    static double secondsOf(Preparation step);
    // The title line: "“{title}”", nothing for an empty (or blank) title.
    static std::optional<QString> titleLine(const QString &title);
};
