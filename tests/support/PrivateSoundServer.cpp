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
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (daemon.isEmpty())
        return fail(QStringLiteral("no pulseaudio program on the PATH"));
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

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), runtime + QStringLiteral("/pulse"));
    env.insert(QStringLiteral("PULSE_STATE_PATH"), m_dir.filePath(QStringLiteral("state")));
    env.insert(QStringLiteral("PULSE_CLIENTCONFIG"), clientConfig());
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("PULSE_SERVER"));
    m_daemon.setProcessEnvironment(env);
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
                                   .arg(m_dir.filePath(QStringLiteral("native"))),
                           });
    if (!m_daemon.waitForStarted(kStartTimeoutMs))
        return fail(QStringLiteral("pulseaudio did not start: %1").arg(m_daemon.errorString()));

    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!deadline.hasExpired()) {
        if (m_daemon.state() == QProcess::NotRunning)
            return fail(QStringLiteral("pulseaudio exited: %1")
                            .arg(QString::fromLocal8Bit(m_daemon.readAll()).trimmed()));
        if (QFileInfo::exists(m_dir.filePath(QStringLiteral("native"))) && answers()) {
            m_up = true;
            return;
        }
        QThread::msleep(50);
    }
    fail(QStringLiteral("pulseaudio did not answer within %1 ms: %2")
             .arg(kStartTimeoutMs)
             .arg(QString::fromLocal8Bit(m_daemon.readAll()).trimmed()));
}

PrivateSoundServer::~PrivateSoundServer()
{
    stop(m_daemon);
}

QString PrivateSoundServer::address() const
{
    return QStringLiteral("unix:") + m_dir.filePath(QStringLiteral("native"));
}

bool PrivateSoundServer::answers() const
{
    QProcess probe;
    dieWithParent(probe);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_CLIENTCONFIG"), clientConfig());
    probe.setProcessEnvironment(env);
    probe.start(QStringLiteral("pactl"), {QStringLiteral("--server=") + address(), QStringLiteral("list"),
                                          QStringLiteral("short"), QStringLiteral("sinks")});
    if (!probe.waitForFinished(kProbeTimeoutMs)) {
        probe.kill();
        probe.waitForFinished(kProbeTimeoutMs);
        return false;
    }
    return probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0
           && probe.readAllStandardOutput().contains(sinkName.toUtf8());
}

void PrivateSoundServer::fail(const QString &why)
{
    m_whyNot = why;
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
