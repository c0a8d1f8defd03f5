#include "platform/audio/module/PulseAudioOutput.h"

#include "platform/audio/AudioRenderer.h"
#include "platform/audio/DenormalFlush.h"

#include <pulse/pulseaudio.h>

#include <algorithm>

namespace {

constexpr int channels = 2;
constexpr std::size_t bytesPerFrame = channels * sizeof(float);

// What the server is told about the program: a volume mixer shows its name
// and the icon of its desktop entry.
pa_proplist *programProperties()
{
    pa_proplist *p = pa_proplist_new();
    pa_proplist_sets(p, PA_PROP_APPLICATION_NAME, "Quillmere");
    pa_proplist_sets(p, PA_PROP_APPLICATION_ID, "quillmere");
    pa_proplist_sets(p, PA_PROP_APPLICATION_ICON_NAME, "quillmere");
    return p;
}

pa_sample_spec formatAt(double rate)
{
    return {PA_SAMPLE_FLOAT32NE, std::uint32_t(rate), std::uint8_t(channels)};
}

struct Wait
{
    pa_threaded_mainloop *loop;
    bool expired = false;
};

} // namespace

PulseAudioOutput::Timing PulseAudioOutput::timing(AudioUse use)
{
    switch (use) {
    case AudioUse::background:
        // Half a second ahead, asked for in 150 ms: the server's device runs
        // at a fifth of a second, and each side wakes a few times a second.
        return {500, 150};
    case AudioUse::cue:
        // A fifth of a second ahead, asked for in 50 ms: a new stream is mixed
        // in at once, and an audio thread held up for a tenth of a second
        // still leaves no gap in a ringing bell.
        return {200, 50};
    }
    return {200, 50};
}

PulseAudioOutput::PulseAudioOutput(AudioUse use, const QByteArray &streamName)
    : m_use(use), m_streamName(streamName)
{
    // The rate is wanted before the first start: ask the server now and keep
    // the connection for that start.
    if (connect())
        askRate();
}

PulseAudioOutput::~PulseAudioOutput()
{
    close();
}

bool PulseAudioOutput::waitFor(const std::function<bool()> &done)
{
    // The lock is held; the library's thread signals on every change.
    Wait wait{m_loop};
    pa_time_event *timer = pa_context_rttime_new(
        m_context, pa_rtclock_now() + pa_usec_t(answerTimeoutMs) * PA_USEC_PER_MSEC,
        [](pa_mainloop_api *, pa_time_event *, const struct timeval *, void *userdata) {
            auto *w = static_cast<Wait *>(userdata);
            w->expired = true;
            pa_threaded_mainloop_signal(w->loop, 0);
        },
        &wait);
    bool ok = done();
    while (!ok && !wait.expired) {
        pa_threaded_mainloop_wait(m_loop);
        ok = done();
    }
    if (timer)
        pa_threaded_mainloop_get_api(m_loop)->time_free(timer);
    return ok;
}

bool PulseAudioOutput::connect()
{
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop)
        return false;
    pa_proplist *props = programProperties();
    m_context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_loop), "Quillmere", props);
    pa_proplist_free(props);
    if (!m_context) {
        close();
        return false;
    }
    pa_context_set_state_callback(m_context, &PulseAudioOutput::onContextState, this);
    // Never start a server of the client library's own: play through the
    // one the desktop runs, or not at all.
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0
        || pa_threaded_mainloop_start(m_loop) < 0) {
        close();
        return false;
    }
    pa_threaded_mainloop_lock(m_loop);
    const bool ready = waitFor([this] {
        const pa_context_state_t state = pa_context_get_state(m_context);
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
    });
    const bool ok = ready && pa_context_get_state(m_context) == PA_CONTEXT_READY;
    pa_threaded_mainloop_unlock(m_loop);
    if (!ok)
        close();
    return ok;
}

void PulseAudioOutput::askRate()
{
    struct Answer
    {
        pa_threaded_mainloop *loop;
        QByteArray sink;
        std::uint32_t rate = 0;
        bool done = false;
    } answer{m_loop, {}, 0, false};

    auto run = [this, &answer](pa_operation *operation) {
        if (!operation)
            return false;
        waitFor([&] { return answer.done || pa_operation_get_state(operation) != PA_OPERATION_RUNNING; });
        if (pa_operation_get_state(operation) == PA_OPERATION_RUNNING)
            pa_operation_cancel(operation);
        pa_operation_unref(operation);
        return answer.done;
    };

    pa_threaded_mainloop_lock(m_loop);
    const bool server = run(pa_context_get_server_info(
        m_context,
        [](pa_context *, const pa_server_info *info, void *userdata) {
            auto *a = static_cast<Answer *>(userdata);
            if (info) {
                a->rate = info->sample_spec.rate;
                if (info->default_sink_name)
                    a->sink = info->default_sink_name;
            }
            a->done = true;
            pa_threaded_mainloop_signal(a->loop, 0);
        },
        &answer));
    if (server && !answer.sink.isEmpty()) {
        answer.done = false;
        run(pa_context_get_sink_info_by_name(
            m_context, answer.sink.constData(),
            [](pa_context *, const pa_sink_info *info, int eol, void *userdata) {
                auto *a = static_cast<Answer *>(userdata);
                if (info && eol == 0)
                    a->rate = info->sample_spec.rate;
                if (eol != 0) {
                    a->done = true;
                    pa_threaded_mainloop_signal(a->loop, 0);
                }
            },
            &answer));
    }
    pa_threaded_mainloop_unlock(m_loop);
    if (answer.rate >= 8000 && answer.rate <= 192000)
        m_rate = double(answer.rate);
}

bool PulseAudioOutput::openStream()
{
    // The lock is held.
    const auto format = formatAt(m_rate);
    pa_channel_map map;
    pa_channel_map_init_stereo(&map);
    pa_proplist *props = programProperties();
    pa_proplist_sets(props, PA_PROP_MEDIA_NAME, m_streamName.constData());
    m_stream = pa_stream_new_with_proplist(m_context, m_streamName.constData(), &format, &map, props);
    pa_proplist_free(props);
    if (!m_stream)
        return false;
    pa_stream_set_state_callback(m_stream, &PulseAudioOutput::onStreamState, this);
    pa_stream_set_write_callback(m_stream, &PulseAudioOutput::onWrite, this);

    const Timing t = timing(m_use);
    pa_buffer_attr attr;
    attr.maxlength = std::uint32_t(-1);
    attr.tlength = std::uint32_t(pa_usec_to_bytes(pa_usec_t(t.bufferMs) * PA_USEC_PER_MSEC, &format));
    attr.prebuf = std::uint32_t(-1);
    attr.minreq = std::uint32_t(pa_usec_to_bytes(pa_usec_t(t.requestMs) * PA_USEC_PER_MSEC, &format));
    attr.fragsize = std::uint32_t(-1);
    if (pa_stream_connect_playback(m_stream, nullptr, &attr, PA_STREAM_NOFLAGS, nullptr, nullptr) < 0)
        return false;
    waitFor([this] {
        const pa_stream_state_t state = pa_stream_get_state(m_stream);
        return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
    });
    return pa_stream_get_state(m_stream) == PA_STREAM_READY;
}

bool PulseAudioOutput::start()
{
    if (m_running.load())
        return true;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!m_loop && !connect())
            return false;
        pa_threaded_mainloop_lock(m_loop);
        const bool connected = pa_context_get_state(m_context) == PA_CONTEXT_READY;
        const bool ok = connected && openStream();
        pa_threaded_mainloop_unlock(m_loop);
        if (ok) {
            m_running.store(true);
            return true;
        }
        // The server went away since the connection was made (or refused the
        // stream): close everything and try once with a new connection.
        close();
        if (connected)
            return false;
    }
    return false;
}

void PulseAudioOutput::interrupt(const std::function<void()> &change)
{
    if (!m_loop || !m_stream) {
        change();
        return;
    }
    // The library's thread renders only while it holds this lock, so nothing
    // is rendered between the change and the flush.
    pa_threaded_mainloop_lock(m_loop);
    change();
    if (pa_operation *flush = pa_stream_flush(m_stream, nullptr, nullptr))
        pa_operation_unref(flush);
    pa_threaded_mainloop_unlock(m_loop);
}

void PulseAudioOutput::reset()
{
    close();
}

void PulseAudioOutput::close()
{
    m_running.store(false);
    if (!m_loop)
        return;
    pa_threaded_mainloop_lock(m_loop);
    if (m_stream) {
        pa_stream_set_write_callback(m_stream, nullptr, nullptr);
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
        m_stream = nullptr;
    }
    if (m_context) {
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
    pa_threaded_mainloop_unlock(m_loop);
    // Joins the library's thread: nothing renders after this.
    pa_threaded_mainloop_stop(m_loop);
    pa_threaded_mainloop_free(m_loop);
    m_loop = nullptr;
}

void PulseAudioOutput::onContextState(pa_context *, void *self)
{
    auto *out = static_cast<PulseAudioOutput *>(self);
    if (out->m_context && !PA_CONTEXT_IS_GOOD(pa_context_get_state(out->m_context)))
        out->m_running.store(false);
    pa_threaded_mainloop_signal(out->m_loop, 0);
}

void PulseAudioOutput::onStreamState(pa_stream *stream, void *self)
{
    auto *out = static_cast<PulseAudioOutput *>(self);
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
        out->m_running.store(false);
    pa_threaded_mainloop_signal(out->m_loop, 0);
}

void PulseAudioOutput::onWrite(pa_stream *stream, std::size_t bytes, void *self)
{
    auto *out = static_cast<PulseAudioOutput *>(self);
    ScopedDenormalFlush flush;
    while (bytes >= bytesPerFrame) {
        void *data = nullptr;
        std::size_t size = bytes;
        if (pa_stream_begin_write(stream, &data, &size) < 0 || !data)
            return;
        const std::size_t frames = size / bytesPerFrame;
        if (frames == 0) {
            pa_stream_cancel_write(stream);
            return;
        }
        fill(out->m_renderer, static_cast<float *>(data), frames, out->m_left.data(), out->m_right.data());
        if (pa_stream_write(stream, data, frames * bytesPerFrame, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            return;
        bytes -= std::min(bytes, frames * bytesPerFrame);
    }
}

void PulseAudioOutput::fill(AudioRenderer *renderer, float *out, std::size_t frames, float *left,
                            float *right) noexcept
{
    std::size_t done = 0;
    while (done < frames) {
        const int n = int(std::min<std::size_t>(blockFrames, frames - done));
        if (renderer) {
            renderer->render(n, left, right);
        } else {
            std::fill_n(left, n, 0.0f);
            std::fill_n(right, n, 0.0f);
        }
        float *to = out + done * channels;
        for (int i = 0; i < n; ++i) {
            // The server takes any float, but a device given more than full
            // scale wraps or distorts: clip here.
            to[2 * i] = std::clamp(left[i], -1.0f, 1.0f);
            to[2 * i + 1] = std::clamp(right[i], -1.0f, 1.0f);
        }
        done += std::size_t(n);
    }
}
