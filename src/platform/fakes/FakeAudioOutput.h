#pragma once

#include "platform/audio/AudioOutput.h"

#include <vector>

// An output for tests and offline rendering: nothing plays on its own; pull()
// renders on the calling thread exactly as the audio thread would.
class FakeAudioOutput : public AudioOutput
{
public:
    explicit FakeAudioOutput(double sampleRate = 48000.0, bool hasDevice = true)
        : m_sampleRate(sampleRate), m_hasDevice(hasDevice)
    {
    }

    double sampleRate() const override { return m_sampleRate; }
    void setRenderer(AudioRenderer *renderer) override { m_renderer = renderer; }
    bool start() override;
    void reset() override;
    bool isRunning() const override { return m_running; }
    void interrupt(const std::function<void()> &change) override;

    void setHasDevice(bool hasDevice) { m_hasDevice = hasDevice; }
    int startCount() const { return m_starts; }
    int resetCount() const { return m_resets; }
    int interruptCount() const { return m_interrupts; }

    struct Block
    {
        std::vector<float> left;
        std::vector<float> right;
        float peak() const;
    };
    // Renders frames while running; silence while closed or without a renderer.
    Block pull(int frames);

private:
    double m_sampleRate;
    bool m_hasDevice;
    bool m_running = false;
    AudioRenderer *m_renderer = nullptr;
    int m_starts = 0;
    int m_resets = 0;
    int m_interrupts = 0;
};
