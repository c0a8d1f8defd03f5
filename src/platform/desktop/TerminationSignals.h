#pragma once

#include <QList>
#include <QObject>

class QSocketNotifier;

// Turns the signals that ask a process to end (SIGTERM, SIGHUP, SIGINT) into
// a Qt signal on the main thread, so the program can end the way it ends on
// Quit. The handler only writes the signal's number to a socket pair (all a
// signal handler may safely do); a QSocketNotifier on the other end reads it
// in the event loop. Every further signal is delivered the same way: a
// session that ends sends SIGTERM and SIGHUP together, and neither may cut
// short the ending the first one began. SIGKILL cannot be caught.
//
// One instance at a time; the signals' earlier dispositions come back when
// it goes.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // The handlers are in place.
    bool isListening() const { return m_notifier != nullptr; }
    static QList<int> caught();

signals:
    // One of the caught signals arrived.
    void received(int signalNumber);

private:
    void readPending();

    QSocketNotifier *m_notifier = nullptr;
};
