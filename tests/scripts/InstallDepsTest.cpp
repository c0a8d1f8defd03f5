// scripts/install-deps never replaces the user's sound server: which server
// it adds is decided from the list of installed packages alone, so each
// kind of machine is a list here and no apt is needed.
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <gtest/gtest.h>

namespace {

const QString script = QStringLiteral(QUILLMERE_SOURCE_DIR "/scripts/install-deps");

struct Decision
{
    bool finished = false;
    int status = -1;
    QString out;
    QString err;
};

Decision decide(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(QStringLiteral("bash"), QStringList{script} + arguments);
    process.write(input);
    process.closeWriteChannel();
    Decision d;
    d.finished = process.waitForFinished(10000);
    d.status = process.exitCode();
    d.out = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    d.err = QString::fromUtf8(process.readAllStandardError());
    return d;
}

TEST(InstallDepsTest, TheSoundServerAddedNeverReplacesTheOneThere)
{
    if (QStandardPaths::findExecutable(QStringLiteral("bash")).isEmpty())
        GTEST_SKIP() << "no bash";
    const struct
    {
        const char *machine;
        QStringList installed;
        QString adds; // empty: none
    } cases[] = {
        // Debian 12's GNOME desktop: PulseAudio would remove pipewire-audio
        // and pipewire-alsa, so nothing is added.
        {"PipeWire desktop",
         {"libc6", "pipewire", "pipewire-bin", "pipewire-audio", "pipewire-alsa", "pipewire-pulse", "wireplumber",
          "libpulse0"},
         ""},
        {"PulseAudio desktop", {"libc6", "pulseaudio", "pulseaudio-utils", "libpulse0"}, ""},
        {"PipeWire without its PulseAudio server", {"libc6", "pipewire", "pipewire-alsa", "wireplumber"},
         "pipewire-pulse"},
        {"only PipeWire's programs", {"pipewire-bin"}, "pipewire-pulse"},
        // Clients and tools are no server.
        {"a server with no sound", {"libc6", "bash", "libpulse0", "pulseaudio-utils"}, "pulseaudio"},
        {"nothing at all", {}, "pulseaudio"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.machine);
        const QByteArray list = c.installed.join(QLatin1Char('\n')).toUtf8() + (c.installed.isEmpty() ? "" : "\n");
        const Decision fromInput = decide({QStringLiteral("--sound-server-for"), QStringLiteral("-")}, list);
        ASSERT_TRUE(fromInput.finished);
        EXPECT_EQ(fromInput.status, 0) << fromInput.err.toStdString();
        EXPECT_EQ(fromInput.out, c.adds);

        // The same list from a file, in another order.
        QTemporaryFile file;
        ASSERT_TRUE(file.open());
        QStringList reversed(c.installed.rbegin(), c.installed.rend());
        file.write(reversed.join(QLatin1Char('\n')).toUtf8());
        file.close();
        const Decision fromFile = decide({QStringLiteral("--sound-server-for"), file.fileName()});
        EXPECT_EQ(fromFile.out, c.adds);
    }
}

TEST(InstallDepsTest, AMistakenCallChangesNothingAndExitsTwo)
{
    for (const QStringList &arguments :
         {QStringList{QStringLiteral("--bogus")}, QStringList{QStringLiteral("--sound-server-for")}}) {
        const Decision d = decide(arguments);
        ASSERT_TRUE(d.finished);
        EXPECT_EQ(d.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(d.out.isEmpty());
        EXPECT_TRUE(d.err.startsWith(QStringLiteral("usage:"))) << d.err.toStdString();
    }
}

} // namespace
