#pragma once

#include <vector>

// Decoded or synthesized stereo audio at the output's sample rate, held in
// memory. A mono clip leaves right empty and plays left on both channels.
struct AudioClip
{
    std::vector<float> left;
    std::vector<float> right;
    double sampleRate = 48000.0;

    int frames() const { return int(left.size()); }
    const float *rightChannel() const { return right.empty() ? left.data() : right.data(); }
};
