#pragma once

class AudioRenderer;

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
    // Starts or resumes pulling; false when there is no device or it fails.
    virtual bool start() = 0;
    // Stops pulling but keeps the device open for a quick resume.
    virtual void pause() = 0;
    // Closes the device; the next start opens it afresh.
    virtual void reset() = 0;
    virtual bool isRunning() const = 0;
};
