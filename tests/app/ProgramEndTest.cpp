// The program ending while a round runs, by every route a user or the
// desktop takes: the round so far is in sessions.json afterwards, as letting
// it go records it. In the program's own process (the quit command by its
// key, the tray menu's Quit, the last window closed without a tray) and in
// the built program run from outside (the signals that end a process, and
// the display server going away at the end of a session).
#include "app/AppDelegate.h"
#include "app/PaperWindow.h"
#include "app/ProgramEnd.h"
#include "app/QuillmereApp.h"
#include "app/TrayController.h"
#include "core/PomodoroEngine.h"
#include "model/ModelRig.h"
#include "platform/fakes/FakeDesktop.h"
#include "stores/SessionStore.h"
#include "support/RealProgram.h"
#include "views/ViewTest.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QMenu>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>
#include <memory>

namespace {

using ModelRigs::Rig;

struct ProgramEndTest : ViewTest
{
    Rig rig;
    FakeDesktop desk;
    AppModel *model = nullptr;
    std::unique_ptr<QuillmereApp> shell;
    bool quitOnLastWindowBefore = QApplication::quitOnLastWindowClosed();

    void build(bool tray)
    {
        model = &rig.build();
        ViewContext context;
        context.model = model;
        context.desktop = &desk;
        shell = std::make_unique<QuillmereApp>(context);
        QApplication::setQuitOnLastWindowClosed(AppDelegate::quitsAfterLastWindow(tray));
        shell->showTray();
        shell->openWindow(QStringLiteral("timer"));
    }
    void TearDown() override
    {
        shell.reset();
        QApplication::setQuitOnLastWindowClosed(quitOnLastWindowBefore);
        ViewTest::TearDown();
    }
    QList<SessionRecord> saved() const { return SessionStore(rig.dirs.dataDir()).records(); }
};

TEST_F(ProgramEndTest, QuittingInTheProgramRecordsTheRoundSoFar)
{
    struct Case
    {
        const char *name;
        bool tray;
        std::function<void(ProgramEndTest &)> quit;
    };
    const Case cases[] = {
        {"Ctrl+Q", true,
         [](ProgramEndTest &t) {
             PaperWindow *window = t.shell->mainWindow();
             QApplication::setActiveWindow(window);
             QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
         }},
        {"the tray menu's Quit", true,
         [](ProgramEndTest &t) {
             QMenu *menu = t.shell->trayController()->menu();
             menu->popup(QPoint(40, 40));
             QAction *quit = menu->findChild<QAction *>(QStringLiteral("tray.quit"));
             ASSERT_NE(quit, nullptr);
             QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(quit).center());
         }},
        {"the last window closed, no tray", false,
         [](ProgramEndTest &t) { t.shell->mainWindow()->close(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Rig &r = rig;
        build(c.tray);
        ProgramEnd end(*QCoreApplication::instance(), [this](bool) { model->endForQuit(); });
        model->engine().begin(Mode::chore, false, {});
        const QDateTime began = r.clock.now();
        r.clock.advance(4 * 60 * 1000);

        QTimer::singleShot(0, shell.get(), [&] { c.quit(*this); });
        // Should the route not quit, the loop still ends, and the test says so.
        QTimer guard;
        guard.setSingleShot(true);
        bool timedOut = false;
        QObject::connect(&guard, &QTimer::timeout, [&] {
            timedOut = true;
            QCoreApplication::exit(1);
        });
        guard.start(5000);
        QCoreApplication::exec();
        guard.stop();
        EXPECT_FALSE(timedOut) << "the program did not quit";

        EXPECT_TRUE(end.hasFinished());
        const QList<SessionRecord> records = saved();
        ASSERT_EQ(records.size(), 1);
        EXPECT_EQ(records[0].phase, Phase::focus);
        EXPECT_FALSE(records[0].completed);
        EXPECT_EQ(records[0].start, began);
        EXPECT_EQ(records[0].end, began.addSecs(4 * 60));

        // The next case starts from an empty history.
        shell.reset();
        r.store.setAllRecords({});
        r.store.save();
        rig.model.reset();
    }
}

// One copy of the built program, begun in the chore mode at launch (a stored
// start mode), silent.
QJsonObject sittingAtLaunch()
{
    return QJsonObject{{QStringLiteral("startMode"), QStringLiteral("chore")},
                       {QStringLiteral("ambienceScene"), QStringLiteral("silent")},
                       {QStringLiteral("soundEnabled"), false},
                       {QStringLiteral("hasSeenIntro"), true}};
}

// The one record a program left, checked against the time it ran.
void expectTheRoundSoFar(const RealProgram &program, qint64 ranMs)
{
    const QList<QJsonObject> records = program.sessionRecords();
    ASSERT_EQ(records.size(), 1) << "one record of the round so far";
    const QJsonObject r = records[0];
    EXPECT_EQ(r.value(QStringLiteral("phase")).toString(), QStringLiteral("focus"));
    EXPECT_FALSE(r.value(QStringLiteral("completed")).toBool(true));
    EXPECT_EQ(r.value(QStringLiteral("title")).toString(), QStringLiteral("味わう"));
    const QDateTime start = QDateTime::fromString(r.value(QStringLiteral("start")).toString(), Qt::ISODateWithMs);
    const QDateTime end = QDateTime::fromString(r.value(QStringLiteral("end")).toString(), Qt::ISODateWithMs);
    const qint64 worked = start.msecsTo(end);
    EXPECT_GE(worked, 1000);
    EXPECT_LE(worked, ranMs);
}

TEST(ProgramEndRealProgram, EachSignalThatEndsAProcessRecordsTheRoundAndFreesTheLock)
{
    struct Case
    {
        const char *name;
        QList<int> signalsSent;
    };
    const Case cases[] = {
        {"SIGTERM", {SIGTERM}},
        {"SIGHUP", {SIGHUP}},
        {"SIGINT", {SIGINT}},
        // A session scope that ends sends both at once.
        {"SIGTERM and SIGHUP together", {SIGTERM, SIGHUP}},
    };
    constexpr int kCases = int(std::size(cases));
    // The copies run side by side, each in its own home.
    std::unique_ptr<RealProgram> programs[kCases];
    QProcess processes[kCases];
    QElapsedTimer ran[kCases];
    for (int i = 0; i < kCases; ++i) {
        programs[i] = std::make_unique<RealProgram>(sittingAtLaunch());
        ASSERT_TRUE(programs[i]->isReady());
        ran[i].start();
        programs[i]->launch(processes[i]);
    }
    for (int i = 0; i < kCases; ++i)
        ASSERT_TRUE(programs[i]->waitUntilAnswering()) << cases[i].name << ": the program did not come up";
    QTest::qWait(1500); // more than the second a record needs
    for (int i = 0; i < kCases; ++i)
        for (int s : cases[i].signalsSent)
            ::kill(pid_t(processes[i].processId()), s);
    for (int i = 0; i < kCases; ++i) {
        SCOPED_TRACE(cases[i].name);
        ASSERT_TRUE(processes[i].waitForFinished(15000)) << "still running";
        const qint64 ranMs = ran[i].elapsed();
        EXPECT_EQ(processes[i].exitStatus(), QProcess::NormalExit) << "ended by the signal, not by its own exit";
        EXPECT_EQ(processes[i].exitCode(), 0);
        expectTheRoundSoFar(*programs[i], ranMs);
        EXPECT_FALSE(QFile::exists(programs[i]->dataDir() + QStringLiteral("/quillmere.lock")));
    }
}

// The session ends by taking the display away: Qt then leaves the program
// with exit(1) from inside its event loop, past aboutToQuit.
TEST(ProgramEndRealProgram, TheDisplayGoingAwayRecordsTheRound)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        GTEST_SKIP() << "Xvfb is not installed";
    QProcess server;
    server.setProcessChannelMode(QProcess::SeparateChannels);
    // -displayfd 1: the server picks a free display and writes its number out.
    server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("800x900x24")});
    ASSERT_TRUE(server.waitForStarted());
    QDeadlineTimer deadline(10000);
    while (!server.canReadLine() && !deadline.hasExpired())
        server.waitForReadyRead(100);
    const QString display = QLatin1Char(':') + QString::fromLatin1(server.readLine()).trimmed();
    ASSERT_GT(display.size(), 1) << "Xvfb gave no display";

    RealProgram program(sittingAtLaunch());
    QProcess process;
    QElapsedTimer ran;
    ran.start();
    program.launch(process, display);
    ASSERT_TRUE(program.waitUntilAnswering()) << "the program did not come up";
    QTest::qWait(1500);
    server.terminate();
    ASSERT_TRUE(server.waitForFinished(10000));
    ASSERT_TRUE(process.waitForFinished(15000)) << "still running without its display";
    expectTheRoundSoFar(program, ran.elapsed());
}

} // namespace
