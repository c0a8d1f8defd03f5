#pragma once

#include <QAudioFormat>
#include <QIODevice>
#include <array>

class AudioRenderer;

// The read-only device a pull-mode QAudioSink reads from: each read renders
// as many frames as asked for and converts them to the device's format. Its
// buffers are made up front, so a read never allocates or locks, and it
// flushes denormals while it renders.
class AudioPullDevice : public QIODevice
{
public:
    static constexpr int blockFrames = 1024;

    AudioPullDevice(const QAudioFormat &format, AudioRenderer *renderer, QObject *parent = nullptr);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

    // Renders frames of audio into data in the device's format.
    void fill(char *data, qint64 frames);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QAudioFormat m_format;
    AudioRenderer *m_renderer;
    std::array<float, blockFrames> m_left{};
    std::array<float, blockFrames> m_right{};
};
