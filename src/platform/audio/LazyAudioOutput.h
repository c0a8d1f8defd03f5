#pragma once

#include "platform/audio/AudioOutput.h"

#include <functional>
#include <memory>

// An output that makes the real one on first use (a sound wanted, or its
// rate asked for) and passes everything on to it. When none can be made it
// is silent: its rate is 48 kHz and it never starts.
class LazyAudioOutput : public AudioOutput
{
public:
    using Make = std::function<std::unique_ptr<AudioOutput>()>;

    explicit LazyAudioOutput(Make make);
    ~LazyAudioOutput() override;

    double sampleRate() const override;
    void setRenderer(AudioRenderer *renderer) override;
    bool start() override;
    void reset() override;
    bool isRunning() const override;
    void interrupt(const std::function<void()> &change) override;

    // Whether the real output was made.
    bool isMade() const { return m_made; }

private:
    AudioOutput *real() const;

    Make m_make;
    mutable std::unique_ptr<AudioOutput> m_real;
    mutable bool m_made = false;
    AudioRenderer *m_renderer = nullptr;
};
