#pragma once

#include "platform/desktop/TerminationSignals.h"

#include <QObject>
#include <functional>

class QCoreApplication;

// Ends the program one way, whichever way it is asked to end: Quit and
// Ctrl+Q, the last window closed without a tray, the session manager's end of
// the session, and SIGTERM, SIGHUP or SIGINT all leave the event loop, and
// `finish` runs once before the program goes (on aboutToQuit). A caught
// signal asks the application to quit on its next turn, so one that comes
// before the event loop runs is not lost.
//
// When Qt ends the process from inside the loop instead (exit() after the
// display's connection broke, as when the session's display server goes),
// aboutToQuit never comes: `finish` then runs from an exit handler, told so
// (atExit true), while Qt's own statics may already be gone; it must then
// leave the screens alone. Make this object last, just before the event
// loop, so that what the start-up made is torn down after that handler.
class ProgramEnd : public QObject
{
    Q_OBJECT
public:
    using Finish = std::function<void(bool atExit)>;
    ProgramEnd(QCoreApplication &app, Finish finish, QObject *parent = nullptr);
    ~ProgramEnd() override;

    bool hasFinished() const { return m_finished; }
    // Runs `finish`, once.
    void finish(bool atExit = false);

private:
    static void finishAtExit();

    Finish m_finish;
    bool m_finished = false;
    TerminationSignals m_signals;
};
