#pragma once

#include "support/PrivateBus.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A private sound server that speaks the PulseAudio protocol, with one null
// sink, which only this test talks to: the server the machine has, never
// one the test installs. Where PulseAudio is installed it is a pulseaudio
// daemon with no configuration of its own (under root, as in CI, the daemon
// accepts only an explicit module list); else, where PipeWire is, it is
// pipewire with wireplumber and pipewire-pulse on a session bus of their
// own, with every device monitor off, so the user's sound cards and their
// own PipeWire are never touched. Runtime folder, home, state and socket
// lie in a temporary folder, anonymous clients are allowed and nothing exits
// on idle. The daemons die with the test process even when the test
// crashes, and every wait has a time limit.
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
    void startPulseAudio(const QString &daemon);
    void startPipeWire();
    // Waits until the server lists the sink (after load, when it is PipeWire).
    void waitForSink(bool load);
    QProcessEnvironment environment() const;
    bool pactl(const QStringList &arguments, QByteArray *output = nullptr) const;
    bool answers() const;
    bool anyExited(QString *said);
    void fail(const QString &why);

    QTemporaryDir m_dir;
    QString m_socket;
    QProcess m_daemon;                  // pulseaudio, or pipewire
    QProcess m_policy;                  // wireplumber, with PipeWire
    QProcess m_pulse;                   // pipewire-pulse, with PipeWire
    std::unique_ptr<PrivateBus> m_bus; // with PipeWire
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
