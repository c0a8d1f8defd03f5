#include "app/ProgramEnd.h"

#include <QCoreApplication>
#include <cstdlib>

namespace {

ProgramEnd *g_current = nullptr;

} // namespace

ProgramEnd::ProgramEnd(QCoreApplication &app, Finish finish, QObject *parent)
    : QObject(parent)
    , m_finish(std::move(finish))
{
    connect(&app, &QCoreApplication::aboutToQuit, this, [this] { this->finish(false); });
    connect(&m_signals, &TerminationSignals::received, this, [] {
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    });
    static const bool registered = std::atexit(&ProgramEnd::finishAtExit) == 0;
    Q_UNUSED(registered);
    g_current = this;
}

ProgramEnd::~ProgramEnd()
{
    if (g_current == this)
        g_current = nullptr;
}

void ProgramEnd::finish(bool atExit)
{
    if (m_finished)
        return;
    m_finished = true;
    if (m_finish)
        m_finish(atExit);
}

void ProgramEnd::finishAtExit()
{
    if (g_current)
        g_current->finish(true);
}
