#pragma once

#include "platform/audio/AudioFileDecoder.h"

#include <functional>
#include <memory>

// A decoder that makes the real one when a file is first to be decoded and
// passes everything on to it. When none can be made, every file reads as
// undecodable.
class LazyAudioFileDecoder : public AudioFileDecoder
{
public:
    using Make = std::function<std::unique_ptr<AudioFileDecoder>()>;

    explicit LazyAudioFileDecoder(Make make);
    ~LazyAudioFileDecoder() override;

    void decode(const QString &path, double sampleRate, Done done) override;
    void cancel() override;

private:
    Make m_make;
    std::unique_ptr<AudioFileDecoder> m_real;
    bool m_made = false;
};
