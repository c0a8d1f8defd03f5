#pragma once

#include "platform/audio/AudioClip.h"

#include <QString>
#include <functional>
#include <memory>

// Decodes a whole sound file into memory, away from the audio thread, and
// hands the result back on the thread that asked.
class AudioFileDecoder
{
public:
    // The clip, or null when the file could not be decoded.
    using Done = std::function<void(std::shared_ptr<AudioClip>)>;

    virtual ~AudioFileDecoder() = default;
    // Starts decoding path into stereo at sampleRate; a decode still running
    // is abandoned (its done is never called).
    virtual void decode(const QString &path, double sampleRate, Done done) = 0;
    virtual void cancel() = 0;
};
