#pragma once

#include "platform/audio/AudioOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QThread>
#include <atomic>

class QAudioSink;
class AudioPullDevice;

// The real output: a QAudioSink in pull mode on a thread of its own, asking
// for 32-bit float stereo at 48 kHz and falling back to the default device's
// preferred format. With no output device every call is a silent no-op and
// start() reports false.
class QtAudioOutput : public AudioOutput
{
public:
    QtAudioOutput();
    ~QtAudioOutput() override;

    double sampleRate() const override;
    void setRenderer(AudioRenderer *renderer) override { m_renderer = renderer; }
    bool start() override;
    void pause() override;
    void reset() override;
    bool isRunning() const override { return m_running.load(); }

    // The length of the output's buffer, in microseconds.
    static constexpr qint64 kBufferUs = 100000;

    // The format the output asks for on a device; invalid for no device.
    static QAudioFormat chooseFormat(const QAudioDevice &device);

private:
    void closeOnAudioThread();

    QAudioDevice m_outputDevice; // the default output when the output was made
    QAudioFormat m_format;
    QThread m_thread;
    QObject *m_context = nullptr; // lives on m_thread
    QAudioSink *m_sink = nullptr; // touched on m_thread only
    AudioPullDevice *m_device = nullptr;
    AudioRenderer *m_renderer = nullptr;
    std::atomic<bool> m_running{false};
};
