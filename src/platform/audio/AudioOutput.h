#pragma once

#include <functional>

class AudioRenderer;

// What an output plays, which sets how far ahead it renders: background
// sound (the ambience) is rendered a few hundred milliseconds ahead and asked
// for seldom; a cue (a bell) is rendered a short way ahead, so that it
// starts close to its moment.
enum class AudioUse { background, cue };

// A stereo output that pulls samples from one renderer on an audio thread of
// its own. With no audio device start() fails and everything stays silent.
class AudioOutput
{
public:
    virtual ~AudioOutput() = default;

    // The rate render() will run at, known before the first start.
    virtual double sampleRate() const = 0;
    // The renderer to pull from; set while stopped.
    virtual void setRenderer(AudioRenderer *renderer) = 0;
    // Starts pulling, opening the device if need be; false when there is no
    // device or it fails.
    virtual bool start() = 0;
    // Stops pulling and closes the device, so that it costs nothing; the
    // next start opens it afresh.
    virtual void reset() = 0;
    virtual bool isRunning() const = 0;
    // Makes change (to what the renderer plays) while the audio thread is
    // held, then drops the sound rendered before it that the device has not
    // played yet, so that the change is heard at once instead of after the
    // output's buffer.
    virtual void interrupt(const std::function<void()> &change) { change(); }
};
