#pragma once

#include "platform/audio/AudioFileDecoder.h"

#include <QObject>
#include <memory>

class QAudioDecoder;

// Decodes with QAudioDecoder (the media backend works on its own threads and
// reports on the calling thread), converts every buffer to float stereo and
// resamples the whole to the output's rate once decoding ends.
class QtAudioFileDecoder : public QObject, public AudioFileDecoder
{
    Q_OBJECT
public:
    explicit QtAudioFileDecoder(QObject *parent = nullptr);
    ~QtAudioFileDecoder() override;

    void decode(const QString &path, double sampleRate, Done done) override;
    void cancel() override;

    // Linear resampling of a clip to another rate (nothing to do when equal).
    static void resample(AudioClip &clip, double toRate);

private:
    void readBuffers();
    void finish(bool ok);

    std::unique_ptr<QAudioDecoder> m_decoder;
    std::shared_ptr<AudioClip> m_clip;
    double m_sourceRate = 0.0;
    double m_targetRate = 48000.0;
    Done m_done;
};
