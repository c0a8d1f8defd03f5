#include "platform/audio/module/QtAudioOutput.h"

#include "platform/audio/module/AudioPullDevice.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
#include <QMetaObject>

QAudioFormat QtAudioOutput::chooseFormat(const QAudioDevice &device)
{
    if (device.isNull())
        return {};
    QAudioFormat format;
    format.setSampleRate(48000);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Float);
    if (device.isFormatSupported(format))
        return format;
    return device.preferredFormat();
}

QtAudioOutput::QtAudioOutput()
    : m_outputDevice(QMediaDevices::defaultAudioOutput()), m_format(chooseFormat(m_outputDevice))
{
    m_thread.setObjectName(QStringLiteral("audio-output"));
    m_context = new QObject;
    m_context->moveToThread(&m_thread);
    m_thread.start(QThread::TimeCriticalPriority);
}

QtAudioOutput::~QtAudioOutput()
{
    reset();
    QMetaObject::invokeMethod(m_context, [this] { delete m_context; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

double QtAudioOutput::sampleRate() const
{
    return m_format.isValid() && m_format.sampleRate() > 0 ? double(m_format.sampleRate()) : 48000.0;
}

bool QtAudioOutput::start()
{
    if (!m_format.isValid())
        return false;
    bool ok = false;
    // The sink is made and driven on the audio thread; the caller waits only
    // for it to open, never for audio.
    QMetaObject::invokeMethod(
        m_context,
        [this, &ok] {
            if (!m_sink) {
                m_sink = new QAudioSink(m_outputDevice, m_format);
                // About 100 ms of buffer: low enough for bells, roomy enough to
                // idle cheaply. Not less: Qt's PulseAudio sink pulls in 20 ms
                // chunks and only once the server has room for a whole one;
                // with a smaller buffer the server's requests can stay under
                // that after the first underrun, and the sound stops for good.
                m_sink->setBufferSize(m_format.bytesForDuration(kBufferUs));
                m_device = new AudioPullDevice(m_format, m_renderer);
                m_device->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
                m_sink->start(m_device);
            } else if (m_sink->state() == QAudio::SuspendedState) {
                m_sink->resume();
            } else if (m_sink->state() == QAudio::StoppedState) {
                m_sink->start(m_device);
            }
            ok = m_sink->error() == QAudio::NoError && m_sink->state() != QAudio::StoppedState;
            if (!ok)
                closeOnAudioThread();
        },
        Qt::BlockingQueuedConnection);
    m_running.store(ok);
    return ok;
}

void QtAudioOutput::pause()
{
    m_running.store(false);
    QMetaObject::invokeMethod(
        m_context,
        [this] {
            if (m_sink && m_sink->state() == QAudio::ActiveState)
                m_sink->suspend();
        },
        Qt::BlockingQueuedConnection);
}

void QtAudioOutput::reset()
{
    m_running.store(false);
    QMetaObject::invokeMethod(m_context, [this] { closeOnAudioThread(); }, Qt::BlockingQueuedConnection);
}

void QtAudioOutput::closeOnAudioThread()
{
    if (m_sink) {
        m_sink->stop();
        delete m_sink;
        m_sink = nullptr;
    }
    delete m_device;
    m_device = nullptr;
}
