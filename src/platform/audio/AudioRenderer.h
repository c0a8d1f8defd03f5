#pragma once

// Something the audio thread pulls samples from. render() runs on the audio
// thread: it must not allocate, lock, log or block.
class AudioRenderer
{
public:
    virtual ~AudioRenderer() = default;
    // Fills frames samples of both channels. left and right may be the same
    // buffer; then it ends up holding the right channel.
    virtual void render(int frames, float *left, float *right) noexcept = 0;
};
