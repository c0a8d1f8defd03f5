#include "support/PrivateSoundServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <cmath>
#include <csignal>
#include <sys/prctl.h>

namespace {

constexpr int kStartTimeoutMs = 10000;
constexpr int kProbeTimeoutMs = 2000;
constexpr int kStopTimeoutMs = 3000;

// Children of the test get SIGKILL when the test process dies, so a crashed
// or killed test leaves no daemon or recorder behind.
void dieWithParent(QProcess &process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(kStopTimeoutMs)) {
        process.kill();
        process.waitForFinished(kStopTimeoutMs);
    }
}

} // namespace

PrivateSoundServer::PrivateSoundServer()
{
    start();
}

void PrivateSoundServer::start()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty())
        return fail(QStringLiteral("no pactl or parec program on the PATH (pulseaudio-utils)"));
    if (!m_dir.isValid())
        return fail(QStringLiteral("no temporary folder"));
    const QString runtime = m_dir.filePath(QStringLiteral("runtime"));
    for (const QString &sub : {QStringLiteral("home"), QStringLiteral("runtime"), QStringLiteral("state")})
        QDir().mkpath(m_dir.filePath(sub));
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile conf(clientConfig());
    if (!conf.open(QIODevice::WriteOnly) || conf.write("autospawn = no\n") < 0)
        return fail(QStringLiteral("cannot write %1").arg(clientConfig()));
    conf.close();

    const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (!pulseaudio.isEmpty())
        return startPulseAudio(pulseaudio);
    for (const char *program : {"pipewire", "wireplumber", "pipewire-pulse", "dbus-daemon"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            return fail(QStringLiteral("no pulseaudio program on the PATH, and no PipeWire to use instead "
                                       "(%1 is missing; PipeWire needs pipewire, wireplumber, pipewire-pulse "
                                       "and dbus-daemon)")
                            .arg(QString::fromLatin1(program)));
    }
    startPipeWire();
}

QProcessEnvironment PrivateSoundServer::environment() const
{
    const QString runtime = m_dir.filePath(QStringLiteral("runtime"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_STATE_HOME"), m_dir.filePath(QStringLiteral("state")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), runtime + QStringLiteral("/pulse"));
    env.insert(QStringLiteral("PULSE_STATE_PATH"), m_dir.filePath(QStringLiteral("state")));
    env.insert(QStringLiteral("PULSE_CLIENTCONFIG"), clientConfig());
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("PULSE_SERVER"));
    env.remove(QStringLiteral("PIPEWIRE_REMOTE"));
    env.remove(QStringLiteral("PIPEWIRE_RUNTIME_DIR"));
    return env;
}

void PrivateSoundServer::startPulseAudio(const QString &daemon)
{
    m_socket = m_dir.filePath(QStringLiteral("native"));
    m_daemon.setProcessEnvironment(environment());
    m_daemon.setProcessChannelMode(QProcess::MergedChannels);
    dieWithParent(m_daemon);
    // -n: no default script, so nothing but the modules named here loads;
    // that is also what lets the daemon run as root without --system.
    m_daemon.start(daemon, {
                               QStringLiteral("-n"),
                               QStringLiteral("--daemonize=no"),
                               QStringLiteral("--use-pid-file=no"),
                               QStringLiteral("--exit-idle-time=-1"),
                               QStringLiteral("--disallow-exit"),
                               QStringLiteral("--realtime=no"),
                               QStringLiteral("--high-priority=no"),
                               QStringLiteral("--disable-shm=yes"),
                               QStringLiteral("--log-target=stderr"),
                               QStringLiteral("--load=module-null-sink sink_name=%1 rate=48000").arg(sinkName),
                               QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=%1")
                                   .arg(m_socket),
                           });
    if (!m_daemon.waitForStarted(kStartTimeoutMs))
        return fail(QStringLiteral("pulseaudio did not start: %1").arg(m_daemon.errorString()));
    waitForSink(false);
}

void PrivateSoundServer::startPipeWire()
{
    // wireplumber reads its settings from the private home, after its own
    // (the 50- files turn the monitors on, 90- starts them): no device
    // monitor runs, so no sound card, camera or Bluetooth device is opened.
    const QString wireplumber = m_dir.filePath(QStringLiteral("home/wireplumber"));
    const struct
    {
        const char *folder;
        QByteArray lines;
    } settings[] = {
        {"main.lua.d",
         "alsa_monitor.enabled = false\nv4l2_monitor.enabled = false\nlibcamera_monitor.enabled = false\n"},
        {"bluetooth.lua.d", "bluez_monitor.enabled = false\n"},
    };
    for (const auto &setting : settings) {
        const QString folder = wireplumber + QLatin1Char('/') + QString::fromLatin1(setting.folder);
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("/51-private-test.lua"));
        if (!file.open(QIODevice::WriteOnly) || file.write(setting.lines) < 0)
            return fail(QStringLiteral("cannot write %1").arg(file.fileName()));
    }
    // wireplumber does not run without a session bus; this one is the test's own.
    m_bus = std::make_unique<PrivateBus>();
    if (!m_bus->isUp())
        return fail(QStringLiteral("no private session bus for PipeWire"));
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus->address());
    m_socket = m_dir.filePath(QStringLiteral("runtime/pulse/native"));

    const struct
    {
        QProcess *process;
        const char *program;
    } daemons[] = {{&m_daemon, "pipewire"}, {&m_policy, "wireplumber"}, {&m_pulse, "pipewire-pulse"}};
    for (const auto &d : daemons) {
        d.process->setProcessEnvironment(env);
        d.process->setProcessChannelMode(QProcess::MergedChannels);
        dieWithParent(*d.process);
        d.process->start(QString::fromLatin1(d.program), {});
        if (!d.process->waitForStarted(kStartTimeoutMs))
            return fail(QStringLiteral("%1 did not start: %2")
                            .arg(QString::fromLatin1(d.program), d.process->errorString()));
    }
    waitForSink(true);
}

void PrivateSoundServer::waitForSink(bool load)
{
    const QDeadlineTimer deadline(kStartTimeoutMs);
    bool loaded = !load;
    QString said;
    while (!deadline.hasExpired()) {
        if (anyExited(&said))
            return fail(QStringLiteral("the sound server exited: %1").arg(said));
        if (QFileInfo::exists(m_socket)) {
            if (!loaded && pactl({QStringLiteral("info")}))
                loaded = pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                                QStringLiteral("sink_name=") + sinkName, QStringLiteral("rate=48000")});
            if (loaded && answers()) {
                m_up = true;
                return;
            }
        }
        QThread::msleep(50);
    }
    for (QProcess *p : {&m_daemon, &m_policy, &m_pulse})
        said += QString::fromLocal8Bit(p->readAll()).trimmed();
    fail(QStringLiteral("the sound server did not answer within %1 ms: %2").arg(kStartTimeoutMs).arg(said));
}

bool PrivateSoundServer::anyExited(QString *said)
{
    for (QProcess *p : {&m_daemon, &m_policy, &m_pulse}) {
        if (p->program().isEmpty() || p->state() != QProcess::NotRunning)
            continue;
        *said = QStringLiteral("%1: %2").arg(p->program(), QString::fromLocal8Bit(p->readAll()).trimmed());
        return true;
    }
    return false;
}

PrivateSoundServer::~PrivateSoundServer()
{
    stop(m_pulse);
    stop(m_policy);
    stop(m_daemon);
}

QString PrivateSoundServer::address() const
{
    return QStringLiteral("unix:") + m_socket;
}

bool PrivateSoundServer::pactl(const QStringList &arguments, QByteArray *output) const
{
    QProcess probe;
    dieWithParent(probe);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_CLIENTCONFIG"), clientConfig());
    probe.setProcessEnvironment(env);
    probe.start(QStringLiteral("pactl"), QStringList{QStringLiteral("--server=") + address()} + arguments);
    if (!probe.waitForFinished(kProbeTimeoutMs)) {
        probe.kill();
        probe.waitForFinished(kProbeTimeoutMs);
        return false;
    }
    if (output)
        *output = probe.readAllStandardOutput();
    return probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
}

bool PrivateSoundServer::answers() const
{
    QByteArray sinks;
    return pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sinks")}, &sinks)
           && sinks.contains(sinkName.toUtf8());
}

void PrivateSoundServer::fail(const QString &why)
{
    m_whyNot = why;
    stop(m_pulse);
    stop(m_policy);
    stop(m_daemon);
}

SourceRecording::SourceRecording(const PrivateSoundServer &server, const QString &source)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_CLIENTCONFIG"), server.clientConfig());
    m_process.setProcessEnvironment(env);
    dieWithParent(m_process);
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                     [this] { m_bytes += m_process.readAllStandardOutput(); });
    m_process.start(QStringLiteral("parec"),
                    {QStringLiteral("--server=") + server.address(), QStringLiteral("--device=") + source,
                     QStringLiteral("--raw"), QStringLiteral("--format=s16le"), QStringLiteral("--rate=%1").arg(rate),
                     QStringLiteral("--channels=%1").arg(channels), QStringLiteral("--latency-msec=20")});
    if (!m_process.waitForStarted(kStartTimeoutMs))
        m_whyNot = QStringLiteral("parec did not start: %1").arg(m_process.errorString());
}

SourceRecording::~SourceRecording()
{
    stop(m_process);
}

bool SourceRecording::waitFor(int milliseconds, int timeoutMs)
{
    const qsizetype wanted = qsizetype(rate) * channels * 2 * milliseconds / 1000;
    const QDeadlineTimer deadline(timeoutMs);
    while (m_bytes.size() < wanted) {
        if (m_process.state() == QProcess::NotRunning) {
            m_whyNot = QStringLiteral("parec exited: %1").arg(QString::fromLocal8Bit(m_process.readAllStandardError()));
            return false;
        }
        if (deadline.hasExpired()) {
            m_whyNot = QStringLiteral("parec delivered %1 of %2 bytes in %3 ms")
                           .arg(m_bytes.size())
                           .arg(wanted)
                           .arg(timeoutMs);
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

QByteArray SourceRecording::take()
{
    QByteArray out;
    out.swap(m_bytes);
    return out;
}

double SourceRecording::rms(const QByteArray &samples)
{
    const qsizetype count = samples.size() / 2;
    if (count == 0)
        return 0.0;
    const auto *data = reinterpret_cast<const uchar *>(samples.constData());
    double sum = 0.0;
    for (qsizetype i = 0; i < count; ++i) {
        const auto value = qint16(quint16(data[2 * i]) | quint16(data[2 * i + 1]) << 8);
        sum += double(value) * double(value);
    }
    return std::sqrt(sum / double(count));
}
