#include "platform/desktop/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// [0] is read on the main thread, [1] is written by the handler.
int g_pair[2] = {-1, -1};
struct sigaction g_previous[3];

void onSignal(int signalNumber)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // Non-blocking: with the pair full, the signals already waiting say enough.
    [[maybe_unused]] const ssize_t written = ::write(g_pair[1], &byte, 1);
    errno = saved;
}

} // namespace

QList<int> TerminationSignals::caught()
{
    return {SIGTERM, SIGHUP, SIGINT};
}

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (g_pair[0] >= 0)
        return; // another instance listens
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pair) != 0) {
        g_pair[0] = g_pair[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(g_pair[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPending);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    const QList<int> kinds = caught();
    for (int i = 0; i < kinds.size(); ++i)
        ::sigaction(kinds[i], &action, &g_previous[i]);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    const QList<int> kinds = caught();
    for (int i = 0; i < kinds.size(); ++i)
        ::sigaction(kinds[i], &g_previous[i], nullptr);
    delete m_notifier;
    m_notifier = nullptr;
    ::close(g_pair[0]);
    ::close(g_pair[1]);
    g_pair[0] = g_pair[1] = -1;
}

void TerminationSignals::readPending()
{
    unsigned char bytes[16];
    for (;;) {
        const ssize_t n = ::read(g_pair[0], bytes, sizeof bytes);
        if (n <= 0)
            return; // drained (EAGAIN), or interrupted: the notifier fires again
        for (ssize_t i = 0; i < n; ++i)
            emit received(int(bytes[i]));
    }
}
