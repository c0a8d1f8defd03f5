#pragma once

#include "platform/audio/AudioOutput.h"

#include <QByteArray>
#include <array>
#include <atomic>
#include <cstddef>
#include <functional>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

// The real output: one playback stream on the desktop's sound server
// (PulseAudio, or PipeWire's PulseAudio service), spoken to through the
// client library on its own thread. The server asks for sound when its buffer
// has room for a request's worth, and the library's thread renders exactly
// that into the server's memory: no timer, no copy in between.
//
// How far ahead the stream is filled depends on what it plays (timing()).
// Nothing asks for timing updates or a latency adjusted to the device, which
// would make the server run its device at a few milliseconds and wake both
// sides hundreds of times a second.
//
// The stream and the program carry their names and icon, so a volume mixer
// shows "Quillmere" with the program's icon. Nothing sets a media role: the
// server would then keep the stream's volume under the role, shared with
// every other program of that role, instead of under the program.
//
// reset() closes the stream, the connection and the library's thread, so a
// closed output costs nothing. Without a server start() fails and nothing
// sounds; a server that went away is connected to afresh on the next start().
class PulseAudioOutput : public AudioOutput
{
public:
    struct Timing
    {
        int bufferMs;  // how much sound the server holds ahead of the device
        int requestMs; // how much it asks for at a time
    };
    static Timing timing(AudioUse use);

    // Waits for the server's answers at most this long.
    static constexpr int answerTimeoutMs = 3000;

    PulseAudioOutput(AudioUse use, const QByteArray &streamName);
    ~PulseAudioOutput() override;

    // The default device's own rate when the server could be asked, so that
    // the server need not resample; else 48 kHz.
    double sampleRate() const override { return m_rate; }
    void setRenderer(AudioRenderer *renderer) override { m_renderer = renderer; }
    bool start() override;
    void reset() override;
    bool isRunning() const override { return m_running.load(); }
    void interrupt(const std::function<void()> &change) override;

    // Renders frames of interleaved stereo from renderer into out, through
    // left and right (blockFrames each); silence without a renderer.
    static constexpr int blockFrames = 1024;
    static void fill(AudioRenderer *renderer, float *out, std::size_t frames, float *left, float *right) noexcept;

private:
    bool connect();
    bool openStream();
    void close();
    bool waitFor(const std::function<bool()> &done);
    void askRate();

    static void onContextState(pa_context *context, void *self);
    static void onStreamState(pa_stream *stream, void *self);
    static void onWrite(pa_stream *stream, std::size_t bytes, void *self);

    const AudioUse m_use;
    const QByteArray m_streamName;
    double m_rate = 48000.0;
    AudioRenderer *m_renderer = nullptr;
    std::atomic<bool> m_running{false};

    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;

    // Audio thread only.
    std::array<float, blockFrames> m_left{};
    std::array<float, blockFrames> m_right{};
};
