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
// aboutToQuit never comes: `finish` then runs from an exit handler.
class ProgramEnd : public QObject
{
    Q_OBJECT
public:
    ProgramEnd(QCoreApplication &app, std::function<void()> finish, QObject *parent = nullptr);
    ~ProgramEnd() override;

    bool hasFinished() const { return m_finished; }
    // Runs `finish`, once.
    void finish();

private:
    static void finishAtExit();

    std::function<void()> m_finish;
    bool m_finished = false;
    TerminationSignals m_signals;
};
