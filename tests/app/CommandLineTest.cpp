// The command line: what each argument list answers before and after Qt takes
// its own options, and the program itself answering --version while another
// copy runs, --help with no display, and a mistake with status 2.
#include "app/CommandLine.h"
#include "platform/desktop/SingleInstance.h"
#include "platform/files/AppPaths.h"

#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

const QString version = QStringLiteral("Quillmere " QUILLMERE_VERSION "\n");

struct EarlyCase
{
    QStringList arguments;
    bool answers;
    bool help; // else the version
};

TEST(CommandLineTest, HelpAndVersionAnswerEarlyWhateverQtIsGiven)
{
    const EarlyCase cases[] = {
        {{"quillmere"}, false, false},
        {{"quillmere", "--help"}, true, true},
        {{"quillmere", "-h"}, true, true},
        {{"quillmere", "-help"}, true, true},
        {{"quillmere", "--version"}, true, false},
        {{"quillmere", "-v"}, true, false},
        {{"quillmere", "-platform", "offscreen", "--version"}, true, false},
        // Qt's own single-dash options are not read as bundles of letters:
        // -reverse holds a v, -stylesheet an h.
        {{"quillmere", "-reverse"}, false, false},
        {{"quillmere", "-stylesheet", "a.qss"}, false, false},
        // Qt's own options wait for the application object to take them.
        {{"quillmere", "-platform", "offscreen"}, false, false},
        {{"quillmere", "-style=fusion", "-qwindowtitle", "Q"}, false, false},
    };
    for (const EarlyCase &c : cases) {
        const auto answer = CommandLine::early(c.arguments);
        ASSERT_EQ(answer.has_value(), c.answers) << c.arguments.join(' ').toStdString();
        if (!answer)
            continue;
        EXPECT_EQ(answer->status, 0);
        EXPECT_TRUE(answer->err.isEmpty());
        if (c.help) {
            EXPECT_TRUE(answer->out.startsWith(QStringLiteral("Usage: quillmere [options]\n")))
                << answer->out.toStdString();
            EXPECT_TRUE(answer->out.contains(QStringLiteral("-h, --help")));
            EXPECT_TRUE(answer->out.contains(QStringLiteral("-v, --version")));
        } else {
            EXPECT_EQ(answer->out, version);
        }
    }
}

// An option that is neither ours nor Qt's needs no application object to be
// told as a mistake.
TEST(CommandLineTest, AnOptionNoneKnowsIsAMistakeAtOnce)
{
    for (const QStringList &arguments : {QStringList{"quillmere", "--bogus"},
                                         QStringList{"quillmere", "-platform", "offscreen", "-x"}}) {
        const auto answer = CommandLine::early(arguments);
        ASSERT_TRUE(answer.has_value()) << arguments.join(' ').toStdString();
        EXPECT_EQ(answer->status, 2);
        EXPECT_TRUE(answer->out.isEmpty());
        EXPECT_TRUE(answer->err.startsWith(QStringLiteral("quillmere: Unknown option '%1'.\n\nUsage: quillmere [options]\n")
                                               .arg(QString(arguments.last()).remove(QLatin1Char('-')))))
            << answer->err.toStdString();
    }
}

TEST(CommandLineTest, WhatQtLeavesIsEitherNothingOrAMistake)
{
    EXPECT_FALSE(CommandLine::check({"/usr/bin/quillmere"}).has_value());
    const struct
    {
        QStringList arguments;
        QString says;
    } mistakes[] = {
        {{"/usr/bin/quillmere", "--bogus"}, "quillmere: Unknown option 'bogus'."},
        {{"/usr/bin/quillmere", "-x"}, "quillmere: Unknown option 'x'."},
        {{"/usr/bin/quillmere", "notes.txt"}, "quillmere: Unexpected argument 'notes.txt'."},
        {{"/usr/bin/quillmere", "--", "--help"}, "quillmere: Unexpected argument '--help'."},
    };
    for (const auto &m : mistakes) {
        const auto answer = CommandLine::check(m.arguments);
        ASSERT_TRUE(answer.has_value()) << m.arguments.join(' ').toStdString();
        EXPECT_EQ(answer->status, 2);
        EXPECT_TRUE(answer->out.isEmpty());
        EXPECT_TRUE(answer->err.startsWith(m.says + QStringLiteral("\n\nUsage: quillmere [options]\n")))
            << answer->err.toStdString();
    }
    // Help still wins when asked for beside a mistake.
    EXPECT_EQ(CommandLine::check({"quillmere", "--bogus", "--version"})->status, 0);
}

// The program as built, run in this test's throw-away home.
class ProgramCommandLineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFileInfo(program).isExecutable())
            GTEST_SKIP() << "no program at " << program.toStdString();
    }

    struct Run
    {
        bool finished;
        int status;
        QString out;
        QString err;
    };

    Run run(const QStringList &arguments, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
    {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        const bool finished = process.waitForFinished(15000);
        if (!finished) {
            process.kill();
            process.waitForFinished();
        }
        return {finished, process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    const QString program = QStringLiteral(QUILLMERE_BUILD_DIR "/quillmere");
};

TEST_F(ProgramCommandLineTest, VersionAnswersWhileAnotherCopyRuns)
{
    SingleInstance running(AppPaths::dataDir());
    ASSERT_TRUE(running.start());
    QSignalSpy asked(&running, &SingleInstance::activationRequested);
    const Run r = run({QStringLiteral("--version")});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, version);
    // The running copy was never asked to show its window.
    QCoreApplication::processEvents();
    EXPECT_EQ(asked.count(), 0);
}

TEST_F(ProgramCommandLineTest, HelpNeedsNoDisplay)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    const Run r = run({QStringLiteral("--help")}, env);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Usage: quillmere [options]\n"))) << r.out.toStdString();
}

TEST_F(ProgramCommandLineTest, AnUnknownOptionPrintsTheHelpAndExitsTwo)
{
    // With Qt's own option before it (taken by Qt, not reported), and with
    // no display to open at all.
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    noDisplay.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    noDisplay.remove(QStringLiteral("DISPLAY"));
    noDisplay.remove(QStringLiteral("WAYLAND_DISPLAY"));
    for (const Run &r : {run({QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--bogus")}),
                         run({QStringLiteral("--bogus")}, noDisplay)}) {
        ASSERT_TRUE(r.finished) << "the window opened instead";
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(
            r.err.contains(QStringLiteral("quillmere: Unknown option 'bogus'.\n\nUsage: quillmere [options]\n")))
            << r.err.toStdString();
    }
}

} // namespace
