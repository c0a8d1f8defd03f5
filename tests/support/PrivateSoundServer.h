#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A private PulseAudio server with one null sink, which only this test
// talks to: a daemon with no configuration of its own, its runtime folder,
// home and socket in a temporary folder, anonymous clients allowed, and no
// exit on idle. It also runs under root (as in CI), where the daemon accepts
// only an explicit module list. The daemon dies with the test process even
// when the test crashes, and every wait has a time limit.
class PrivateSoundServer
{
public:
    static inline const QString sinkName = QStringLiteral("quillmere_test");

    PrivateSoundServer();
    ~PrivateSoundServer();

    bool isUp() const { return m_up; }
    // Why the server is not up: a missing program, or the daemon's own words.
    QString whyNot() const { return m_whyNot; }
    // The address for PULSE_SERVER and --server.
    QString address() const;
    // The source that hears everything played into the sink.
    static QString monitorSource() { return sinkName + QStringLiteral(".monitor"); }
    // A client configuration that never starts a server of its own, for PULSE_CLIENTCONFIG.
    QString clientConfig() const { return m_dir.filePath(QStringLiteral("client.conf")); }

private:
    void start();
    bool answers() const;
    void fail(const QString &why);

    QTemporaryDir m_dir;
    QProcess m_daemon;
    bool m_up = false;
    QString m_whyNot;
};

// A recording of a source through parec (raw signed 16-bit stereo at 48 kHz),
// gathered while the event loop runs.
class SourceRecording
{
public:
    static constexpr int rate = 48000, channels = 2;

    SourceRecording(const PrivateSoundServer &server, const QString &source);
    ~SourceRecording();

    // Waits (at most timeoutMs) until the recording has delivered at least
    // the given length of sound; false when it did not.
    bool waitFor(int milliseconds, int timeoutMs);
    // Takes what was recorded so far, leaving the recording running.
    QByteArray take();
    QString whyNot() const { return m_whyNot; }

    // The root mean square of interleaved signed 16-bit samples, on the
    // scale of full scale = 32768.
    static double rms(const QByteArray &samples);

private:
    QProcess m_process;
    QByteArray m_bytes;
    QString m_whyNot;
};
